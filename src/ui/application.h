// The application object: its windows, message boxes, modal loops fed by an
// input source, deferred frees and the virtual clock of the timers.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class Form;
class Timer;
class CommonDialog;

// An action that the input source itself cannot take (no such control,
// nothing to answer): the source's failure, not the program's. The
// application hands it back to the source instead of showing it.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };
using MsgDlgButtons = std::uint16_t;
constexpr MsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                        mbIgnore = 64, mbAll = 128;
constexpr MsgDlgButtons mbYesNo = mbYes | mbNo, mbOKCancel = mbOK | mbCancel,
                        mbYesNoCancel = mbYes | mbNo | mbCancel,
                        mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// Windows MessageBox flags and results.
constexpr unsigned MB_OK = 0, MB_OKCANCEL = 1, MB_ABORTRETRYIGNORE = 2, MB_YESNOCANCEL = 3,
                   MB_YESNO = 4, MB_RETRYCANCEL = 5, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
                   MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30,
                   MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

struct MessageBoxInfo {
  MsgDlgType Type = MsgDlgType::Information;
  std::string Caption, Text;
  MsgDlgButtons Buttons = mbOK;
  int Result = 0;  // a ModalResult once answered
};
// "[Confirmation] Text [Yes/No]"
std::string DescribeMessageBox(const MessageBoxInfo& box);
std::string ButtonName(MsgDlgButtons one);  // "OK", "Yes", ...

// One pending modal thing: a form, a message box or a common dialog.
struct ModalEntry {
  Form* form = nullptr;
  MessageBoxInfo* box = nullptr;
  CommonDialog* dialog = nullptr;
};

class Application : public Component {
 public:
  Application();
  ~Application() override;
  std::string ClassName() const override { return "TApplication"; }

  std::string Title = "Velmaro";
  Form* MainForm = nullptr;
  ui::Cursor ScreenCursor = ui::Cursor::Default;
  static constexpr int ScreenWidth = 1280, ScreenHeight = 1024;

  // Modal message boxes; each waits for the operator's answer from the input source.
  ModalResult MessageDlg(const std::string& text, MsgDlgType type, MsgDlgButtons buttons);
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
  void ShowMessage(const std::string& text);
  // The standard display of an exception nobody caught: an error box with
  // its text; nothing for the silent plat::AbortError.
  void ShowException(const std::exception& e);
  // Runs one action of the operator as the message loop runs an event:
  // forms released meanwhile are freed only after it, and an error that no
  // handler caught goes to ShowException, whatever the input source was (a
  // script, a test, a timer, a modal loop). An InputError passes through.
  void Dispatch(const std::function<void()>& action);
  // Every box shown, with its answer; the host prints them as they come.
  const std::vector<MessageBoxInfo>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  std::function<void(const MessageBoxInfo&)> OnMessageShown;

  const std::vector<Form*>& Forms() const { return forms_; }
  // Visible forms, topmost first.
  std::vector<Form*> Windows() const;
  Form* ActiveForm() const { return active_; }
  Form* FindWindow(std::uint32_t handle) const;
  const std::vector<ModalEntry>& ModalStack() const { return modal_; }

  // The operator's next action: returns false when none is left.
  using InputSource = std::function<bool()>;
  InputSource SetInputSource(InputSource source);
  // Runs the input source until `done` holds; false when the input ran out
  // (recorded as an error "nothing to answer: ...") or the program terminated.
  bool RunUntil(const std::function<bool()>& done);
  void ReportError(std::string message) { errors_.push_back(std::move(message)); }
  std::vector<std::string> TakeErrors();

  // Frees released forms once no handler is running.
  void ProcessMessages();
  // Runs one action of the input source; false when there was none.
  bool HandleMessage();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  void ResetTerminated() { terminated_ = false; }
  void ReleaseLater(Form* f);

  // While one lives, released forms are kept: a handler may still be on the stack.
  class BusyScope {
   public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
  };

  // Virtual time in milliseconds; timers fire only as tests or scripts advance it.
  std::int64_t Now() const { return now_; }
  // Fires every due timer in time order (ties in creation order).
  void AdvanceClock(std::int64_t ms);

  // Bookkeeping of forms, timers and modal entries (used by those classes).
  void RegisterForm(Form* f);
  void UnregisterForm(Form* f);
  void FormShown(Form* f);
  void FormHidden(Form* f);
  void Activate(Form* f);
  std::uint32_t NewHandle() { return nextHandle_ += 4; }
  void RegisterTimer(Timer* t) { timers_.push_back(t); }
  void UnregisterTimer(Timer* t);
  void PushModal(ModalEntry e) {
    if (modal_.empty()) ++modalSession_;
    modal_.push_back(e);
  }
  // Counts the times the modal stack started from empty.
  std::uint64_t ModalSession() const { return modalSession_; }
  void PopModal();
  std::string DescribeModal(const ModalEntry& e) const;

 private:
  // Runs the input source once, as Dispatch runs an action; false when it
  // had nothing left.
  bool NextInput();

  std::vector<Form*> forms_;
  std::vector<Form*> zorder_;  // visible, topmost first
  Form* active_ = nullptr;
  std::vector<ModalEntry> modal_;
  std::vector<MessageBoxInfo> messages_;
  std::vector<ComponentRef> released_;
  std::vector<Timer*> timers_;
  std::vector<std::string> errors_;
  InputSource input_;
  int busy_ = 0;
  bool terminated_ = false;
  std::int64_t now_ = 0;
  std::uint32_t nextHandle_ = 0x00010000;
  std::uint64_t modalSession_ = 0;
};

// The one application of the process (created on first use, never freed:
// it outlives every window and the host's own code).
Application& App();

inline ModalResult MessageDlg(const std::string& text, MsgDlgType type, MsgDlgButtons buttons) {
  return App().MessageDlg(text, type, buttons);
}
inline void ShowMessage(const std::string& text) { App().ShowMessage(text); }

}  // namespace ui
