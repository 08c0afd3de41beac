// Basic types shared by every control: colours, fonts, keys, modal results.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace ui {

class Component;

using Word = std::uint16_t;

// Colours are 0x00BBGGRR; values with the top bit set name a system colour.
using Color = std::uint32_t;
constexpr Color clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr Color clBackground = 0x80000001, clWindow = 0x80000005, clWindowText = 0x80000008,
                clBtnFace = 0x8000000F, clHighlight = 0x8000000D, clHighlightText = 0x8000000E,
                clInfoBk = 0x80000018, clDefault = 0x20000000, clNone = 0x1FFFFFFF;

using FontStyles = std::uint8_t;
constexpr FontStyles fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

struct Font {
  std::string Name = "Tahoma";
  int Size = 8;
  ui::Color Color = clWindowText;
  FontStyles Style = 0;
  bool operator==(const Font&) const = default;
};

using ShiftState = std::uint8_t;
constexpr ShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4;

// Virtual key codes; letters and digits are their upper-case ASCII codes.
constexpr Word VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ENTER = VK_RETURN,
               VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B,
               VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
               VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D,
               VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73,
               VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79,
               VK_F11 = 0x7A, VK_F12 = 0x7B;
constexpr Word VK_PAGEUP = VK_PRIOR, VK_PAGEDOWN = VK_NEXT;

// A menu shortcut packs the key with its shift state in one word.
using ShortCut = Word;
constexpr Word scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
constexpr ShortCut MakeShortCut(Word key, ShiftState shift = 0) {
  return Word(key | ((shift & ssShift) ? scShift : 0) | ((shift & ssCtrl) ? scCtrl : 0) |
              ((shift & ssAlt) ? scAlt : 0));
}

using ModalResult = int;
constexpr ModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                      mrYes = 6, mrNo = 7, mrAll = 8;

enum class Align { None, Top, Bottom, Left, Right, Client };
using Anchors = std::uint8_t;
constexpr Anchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;
enum class Alignment { LeftJustify, RightJustify, Center };

enum class Cursor { Default, Arrow, HourGlass, SQLWait, Cross, IBeam, HandPoint, Custom };

using NotifyEvent = std::function<void(Component* sender)>;
using KeyEvent = std::function<void(Component* sender, Word& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Component* sender, char& key)>;

// Misuse of the toolkit (focusing a hidden control, showing a visible form modally, ...).
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace ui
