// The standard controls: labels, buttons, edit boxes, memos, check and radio buttons.
#pragma once

#include <string>

#include "ui/control.h"
#include "ui/graphics.h"
#include "ui/strings.h"

namespace ui {

class Label : public Control {
 public:
  explicit Label(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TLabel"; }
  ui::Alignment Alignment = ui::Alignment::LeftJustify;
  bool AutoSize = true, WordWrap = false, Transparent = false;
  Control* FocusControl = nullptr;
};

class Button : public Control {
 public:
  explicit Button(Component* owner = nullptr) : Control(owner) { TabStop = true; }
  std::string ClassName() const override { return "TButton"; }
  bool IsWinControl() const override { return true; }
  // A button with a modal result gives it to its form when clicked.
  void Click() override;
  ui::ModalResult ModalResult = mrNone;
  bool Default = false;  // Enter on the form clicks it
  bool Cancel = false;   // Escape on the form clicks it
};

enum class BitBtnKind { Custom, OK, Cancel, Help, Yes, No, Close, Abort, Retry, Ignore, All };

class BitBtn : public Button {
 public:
  explicit BitBtn(Component* owner = nullptr) : Button(owner) {}
  std::string ClassName() const override { return "TBitBtn"; }
  BitBtnKind Kind() const { return kind_; }
  // Gives the kind's standard caption and modal result (OK: "OK", mrOk, ...).
  void SetKind(BitBtnKind k);
  void Click() override;
  // Keeps the file name; false when the picture could not be read.
  bool LoadGlyph(const std::string& path);
  const std::string& GlyphFile() const { return glyphFile_; }
  bool GlyphLoaded() const { return !Glyph.Empty(); }
  Picture Glyph;

 private:
  BitBtnKind kind_ = BitBtnKind::Custom;
  std::string glyphFile_;
};

class SpeedButton : public Control {
 public:
  explicit SpeedButton(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TSpeedButton"; }
  bool Down() const { return down_; }
  // Pressing one button of a group releases the others of that group on the same parent.
  void SetDown(bool d);
  void OperatorClick() override;
  int GroupIndex = 0;
  bool AllowAllUp = false, Flat = false;
  Picture Glyph;

 private:
  bool down_ = false;
};

enum class EditCharCase { Normal, UpperCase, LowerCase };

class Edit : public Control {
 public:
  explicit Edit(Component* owner = nullptr) : Control(owner) {
    TabStop = true;
    Color = clWindow;
  }
  std::string ClassName() const override { return "TEdit"; }
  bool IsWinControl() const override { return true; }
  // A changed text raises OnChange, whether typed or set by the program.
  void SetText(std::string s) override;
  int MaxLength = 0;  // 0: no limit; only typing is limited
  bool ReadOnly = false;
  EditCharCase CharCase = EditCharCase::Normal;
  char PasswordChar = 0;
  // Cursor and selection, counted in characters.
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelStart(int v);
  void SetSelLength(int v);
  std::string SelText() const;
  void SelectAll();
  // Replaces the selection as typing does (honours ReadOnly, the typing
  // limit, CharCase).
  virtual void InsertTyped(const std::string& utf8);
  void KeyDown(Word& key, ShiftState shift) override;
  void KeyPress(char& key) override;
  // Selects all and types the text over it.
  void OperatorType(const std::string& text) override;

 protected:
  // The characters typing may bring the text to; 0: no limit. MaxLength here.
  virtual int TypingLimit() const { return MaxLength; }
  // The editing behind the key events, after the handlers had their say.
  virtual void HandleKey(Word key);
  virtual void HandleChar(char key);
  void DeleteRange(int from, int count);
  std::string ApplyCase(const std::string& s) const;
  int Length() const;

 private:
  int selStart_ = 0, selLength_ = 0;
};

class Memo : public Control {
 public:
  explicit Memo(Component* owner = nullptr);
  std::string ClassName() const override { return "TMemo"; }
  bool IsWinControl() const override { return true; }
  // The lines joined by line breaks (no break after the last).
  std::string Text() const override;
  void SetText(std::string s) override { Lines.SetText(s); }
  void OperatorType(const std::string& text) override;
  bool WantsKey(Word key) const override { return key == VK_RETURN || (WantTabs && key == VK_TAB); }
  Strings Lines;
  bool WantTabs = false;  // every change raises OnChange
  bool ReadOnly = false, WordWrap = true;
  int MaxLength = 0;
};

enum class CheckBoxState { Unchecked, Checked, Grayed };

class CheckBox : public Control {
 public:
  explicit CheckBox(Component* owner = nullptr) : Control(owner) { TabStop = true; }
  std::string ClassName() const override { return "TCheckBox"; }
  bool IsWinControl() const override { return true; }
  bool Checked() const { return state_ == CheckBoxState::Checked; }
  void SetChecked(bool c) { SetState(c ? CheckBoxState::Checked : CheckBoxState::Unchecked); }
  CheckBoxState State() const { return state_; }
  // A changed state raises OnClick, set by the program or by the operator.
  void SetState(CheckBoxState s);
  void OperatorClick() override;
  bool AllowGrayed = false;

 private:
  CheckBoxState state_ = CheckBoxState::Unchecked;
};

class RadioButton : public Control {
 public:
  explicit RadioButton(Component* owner = nullptr) : Control(owner) { TabStop = true; }
  std::string ClassName() const override { return "TRadioButton"; }
  bool IsWinControl() const override { return true; }
  bool Checked() const { return checked_; }
  // Checking one clears the radio buttons beside it and raises OnClick.
  void SetChecked(bool c);
  void OperatorClick() override { SetChecked(true); }

 private:
  bool checked_ = false;
};

}  // namespace ui
