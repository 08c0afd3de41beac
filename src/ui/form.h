// Top-level windows: modeless and modal forms, closing, keys and focus.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/control.h"
#include "ui/graphics.h"

namespace ui {

class MainMenu;
class Button;

enum class CloseAction { None, Hide, Free, Minimize };
enum class FormPosition {
  Designed,
  Default,
  DefaultPosOnly,
  DefaultSizeOnly,
  ScreenCenter,
  DesktopCenter,
  MainFormCenter,
  OwnerFormCenter
};
enum class FormBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
using BorderIcons = std::uint8_t;
constexpr BorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;
enum class FormStyle { Normal, MDIChild, MDIForm, StayOnTop };
enum class WindowState { Normal, Minimized, Maximized };

// A form subclass creates its controls in its constructor (owner: the form)
// and calls DoCreate() as the constructor's last statement, so OnCreate sees
// the whole form. A form is freed through Free(), its owner, or Release();
// each runs OnDestroy while the subclass is still whole.
class Form : public Control {
 public:
  explicit Form(Component* owner = nullptr);
  ~Form() override;
  std::string ClassName() const override { return "TForm"; }
  bool IsWinControl() const override { return true; }

  void DoCreate();
  void BeforeDestruction() override;

  // The window handle: a unique non-zero number made on first request.
  std::uint32_t Handle();
  bool HandleAllocated() const { return handle_ != 0; }

  void SetVisible(bool v) override;
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void BringToFront();
  // Runs a nested loop, fed by the application's input source, until a modal
  // result is set (a button's, Close's mrCancel, the program's) and the close
  // is allowed; returns that result. With no input left it ends with mrCancel.
  ui::ModalResult ShowModal();
  ui::ModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(ui::ModalResult r) { modalResult_ = r; }
  bool InModal() const { return inModal_; }
  // OnCloseQuery may refuse; then OnClose chooses hide, free, minimize or nothing.
  void Close();
  // Frees the form once no handler is running.
  void Release();
  bool Active() const;

  Control* ActiveControl() const { return activeControl_; }
  void SetActiveControl(Control* c);
  // Moves the focus to the next (or previous) tab stop after `from`.
  void SelectNext(Control* from, bool forward = true);
  void ControlGone(Control* c);

  // The operator's keys for `target` (the focused control, or null for the
  // form): menu shortcuts, dialog keys (Tab, Enter, Escape), then the form
  // when KeyPreview is set, then the control. A handler zeroes the key to stop it.
  // Returns true when a shortcut or dialog key took it: no key press follows.
  bool KeyDownFrom(Control* target, Word& key, ShiftState shift);
  void KeyPressFrom(Control* target, char& key);
  void KeyUpFrom(Control* target, Word& key, ShiftState shift);

  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientSize(int width, int height);

  bool KeyPreview = false;
  FormPosition Position = FormPosition::Designed;
  FormBorderStyle BorderStyle = FormBorderStyle::Sizeable;
  ui::BorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize;
  ui::FormStyle FormStyle = ui::FormStyle::Normal;
  ui::WindowState WindowState = ui::WindowState::Normal;
  ui::Icon Icon;
  MainMenu* Menu = nullptr;

  NotifyEvent OnCreate, OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy;
  std::function<void(Component* sender, bool& canClose)> OnCloseQuery;
  std::function<void(Component* sender, CloseAction& action)> OnClose;

  // Called by the application when the active window changes.
  void Activated();
  void Deactivated();

 protected:
  bool CloseQuery();
  void DoClose(CloseAction& action);

 private:
  void CloseModal();
  void PlaceOnShow();
  Button* FindDialogButton(bool isDefault) const;
  std::uint32_t handle_ = 0;
  ui::ModalResult modalResult_ = mrNone;
  bool inModal_ = false;
  bool destroyed_ = false;
  Control* activeControl_ = nullptr;
};

}  // namespace ui
