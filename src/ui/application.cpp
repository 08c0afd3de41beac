#include "ui/application.h"

#include <algorithm>

#include "db/dataset.h"
#include "platform/abort.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace ui {

Application& App() {
  static Application* app = new Application();
  return *app;
}

Application::Application() {
  // Errors of the data sets' filter events, which must not break the
  // navigation that ran them, go to the same display.
  db::DataSet::HandleException = [this](const std::exception& e) { ShowException(e); };
}

Application::~Application() = default;

std::string ButtonName(MsgDlgButtons one) {
  switch (one) {
    case mbYes:
      return "Yes";
    case mbNo:
      return "No";
    case mbOK:
      return "OK";
    case mbCancel:
      return "Cancel";
    case mbAbort:
      return "Abort";
    case mbRetry:
      return "Retry";
    case mbIgnore:
      return "Ignore";
    case mbAll:
      return "All";
    default:
      return "?";
  }
}

std::string DescribeMessageBox(const MessageBoxInfo& box) {
  static const char* kinds[] = {"Warning", "Error", "Information", "Confirmation", "Message"};
  std::string buttons;
  for (MsgDlgButtons b = 1; b <= mbAll; b = MsgDlgButtons(b << 1))
    if (box.Buttons & b) buttons += (buttons.empty() ? "" : "/") + ButtonName(b);
  return "[" + std::string(kinds[int(box.Type)]) + "] " + box.Text + " [" + buttons + "]";
}

ModalResult Application::MessageDlg(const std::string& text, MsgDlgType type,
                                    MsgDlgButtons buttons) {
  if (buttons == 0) buttons = mbOK;
  MessageBoxInfo box{type, Title, text, buttons, 0};
  size_t logged = messages_.size();
  messages_.push_back(box);
  if (OnMessageShown) OnMessageShown(box);
  PushModal(ModalEntry{nullptr, &box, nullptr});
  bool answered = RunUntil([&] { return box.Result != 0; });
  PopModal();
  // A box nobody answered counts as cancelled, whatever its buttons.
  if (!answered) box.Result = mrCancel;
  if (logged < messages_.size()) messages_[logged].Result = box.Result;
  return box.Result;
}

int Application::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  static const MsgDlgButtons sets[] = {mbOK,          mbOKCancel, mbAbortRetryIgnore,
                                       mbYesNoCancel, mbYesNo,    mbRetry | mbCancel};
  MsgDlgType type = MsgDlgType::Custom;
  switch (flags & 0xF0) {
    case MB_ICONERROR:
      type = MsgDlgType::Error;
      break;
    case MB_ICONQUESTION:
      type = MsgDlgType::Confirmation;
      break;
    case MB_ICONWARNING:
      type = MsgDlgType::Warning;
      break;
    case MB_ICONINFORMATION:
      type = MsgDlgType::Information;
      break;
  }
  unsigned set = flags & 0x0F;
  std::string saved = Title;
  if (!caption.empty()) Title = caption;
  ModalResult r = MessageDlg(text, type, set < 6 ? sets[set] : mbOK);
  Title = saved;
  return r;  // IDOK.. share the values of mrOk..
}

void Application::ShowMessage(const std::string& text) {
  MessageDlg(text, MsgDlgType::Custom, mbOK);
}

void Application::ShowException(const std::exception& e) {
  // A handler that gave up on purpose has told the operator already, or
  // means to say nothing.
  if (dynamic_cast<const plat::AbortError*>(&e)) return;
  std::string text = e.what();
  // The error box's text ends with a full stop.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageDlg(text, MsgDlgType::Error, mbOK);
}

void Application::Dispatch(const std::function<void()>& action) {
  {
    BusyScope busy;
    try {
      action();
    } catch (const InputError&) {
      throw;
    } catch (const std::exception& e) {
      ShowException(e);
    }
  }
  ProcessMessages();
}

bool Application::NextInput() {
  // An action that raised an error was taken all the same.
  bool did = true;
  Dispatch([&] { did = input_ && input_(); });
  return did;
}

std::vector<Form*> Application::Windows() const { return zorder_; }

Form* Application::FindWindow(std::uint32_t handle) const {
  if (handle == 0) return nullptr;
  for (Form* f : forms_)
    if (f->HandleAllocated() && f->Handle() == handle) return f;
  return nullptr;
}

Application::InputSource Application::SetInputSource(InputSource source) {
  std::swap(input_, source);
  return source;
}

bool Application::RunUntil(const std::function<bool()>& done) {
  BusyScope busy;
  while (!done()) {
    if (terminated_) return false;
    if (!NextInput()) {
      if (done()) return true;
      ReportError("nothing to answer: " + (modal_.empty() ? std::string("no window is waiting")
                                                          : DescribeModal(modal_.back())));
      return false;
    }
  }
  return true;
}

std::vector<std::string> Application::TakeErrors() {
  std::vector<std::string> out;
  std::swap(out, errors_);
  return out;
}

void Application::ProcessMessages() {
  if (busy_ > 0) return;
  while (!released_.empty()) {
    ComponentRef ref = released_.front();
    released_.erase(released_.begin());
    if (Component* c = ref.Get()) Free(c);
  }
}

bool Application::HandleMessage() { return NextInput(); }

void Application::ReleaseLater(Form* f) {
  for (auto& r : released_)
    if (r.Get() == f) return;
  released_.push_back(f->Ref());
}

Application::BusyScope::BusyScope() { ++App().busy_; }
Application::BusyScope::~BusyScope() { --App().busy_; }

void Application::AdvanceClock(std::int64_t ms) {
  std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
  for (;;) {
    Timer* next = nullptr;
    for (Timer* t : timers_)
      if (t->Running() && t->due_ <= target && (!next || t->due_ < next->due_)) next = t;
    if (!next) break;
    now_ = std::max(now_, next->due_);
    next->due_ = now_ + next->interval_;
    Dispatch([next] { next->Fire(); });
  }
  now_ = target;
}

void Application::RegisterForm(Form* f) { forms_.push_back(f); }

void Application::UnregisterForm(Form* f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  zorder_.erase(std::remove(zorder_.begin(), zorder_.end(), f), zorder_.end());
  if (active_ == f) active_ = zorder_.empty() ? nullptr : zorder_.front();
  if (MainForm == f) MainForm = nullptr;
  for (auto& e : modal_)
    if (e.form == f) e.form = nullptr;
}

void Application::FormShown(Form* f) {
  zorder_.erase(std::remove(zorder_.begin(), zorder_.end(), f), zorder_.end());
  zorder_.insert(zorder_.begin(), f);
  Activate(f);
}

void Application::FormHidden(Form* f) {
  zorder_.erase(std::remove(zorder_.begin(), zorder_.end(), f), zorder_.end());
  if (active_ != f) return;
  active_ = nullptr;
  f->Deactivated();
  if (!zorder_.empty()) Activate(zorder_.front());
}

void Application::Activate(Form* f) {
  if (f == active_) return;
  Form* old = active_;
  active_ = f;
  if (old) old->Deactivated();
  if (f && active_ == f) f->Activated();
}

void Application::UnregisterTimer(Timer* t) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

void Application::PopModal() {
  if (!modal_.empty()) modal_.pop_back();
}

std::string Application::DescribeModal(const ModalEntry& e) const {
  if (e.box) return DescribeMessageBox(*e.box);
  if (e.dialog) return e.dialog->Describe();
  if (e.form) return "modal window " + e.form->ClassName() + " \"" + e.form->Caption() + "\"";
  return "a closed window";
}

}  // namespace ui
