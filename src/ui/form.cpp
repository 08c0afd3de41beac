#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

namespace ui {

namespace {
constexpr int kFrameWidth = 16, kFrameHeight = 39;  // borders and caption bar
}

Form::Form(Component* owner) : Control(owner) {
  Control::SetVisible(false);
  Color = clBtnFace;
  App().RegisterForm(this);
}

Form::~Form() {
  // Children go while the form still knows it is a form: focus bookkeeping
  // must not reach a half-destroyed window.
  destroyed_ = true;
  activeControl_ = nullptr;
  App().UnregisterForm(this);
}

void Form::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void Form::BeforeDestruction() {
  if (destroyed_) return;
  destroyed_ = true;
  if (Visible()) {
    Control::SetVisible(false);
    App().FormHidden(this);
  }
  if (OnDestroy) OnDestroy(this);
}

std::uint32_t Form::Handle() {
  if (!handle_) handle_ = App().NewHandle();
  return handle_;
}

void Form::PlaceOnShow() {
  auto center = [&](int l, int t, int w, int h) {
    SetBounds(l + (w - Width()) / 2, t + (h - Height()) / 2, Width(), Height());
  };
  switch (Position) {
    case FormPosition::ScreenCenter:
    case FormPosition::DesktopCenter:
      center(0, 0, Application::ScreenWidth, Application::ScreenHeight);
      break;
    case FormPosition::MainFormCenter:
    case FormPosition::OwnerFormCenter: {
      Form* o =
          Position == FormPosition::MainFormCenter ? App().MainForm : dynamic_cast<Form*>(Owner());
      if (o && o != this)
        center(o->Left(), o->Top(), o->Width(), o->Height());
      else
        center(0, 0, Application::ScreenWidth, Application::ScreenHeight);
      break;
    }
    default:
      break;
  }
}

void Form::SetVisible(bool v) {
  if (v == Visible()) {
    if (v) BringToFront();
    return;
  }
  if (v && destroyed_) throw Error("Cannot show a window that is being destroyed");
  Control::SetVisible(v);
  if (App().Forms().empty() ||
      std::find(App().Forms().begin(), App().Forms().end(), this) == App().Forms().end())
    return;  // still in construction
  if (!v) {
    if (OnHide) OnHide(this);
    App().FormHidden(this);
    return;
  }
  Handle();
  PlaceOnShow();
  if (OnShow) OnShow(this);
  App().FormShown(this);
}

void Form::BringToFront() {
  if (Visible()) App().FormShown(this);
}

bool Form::Active() const { return App().ActiveForm() == this; }

void Form::Activated() {
  if (!activeControl_ || !activeControl_->CanFocus()) {
    activeControl_ = nullptr;
    SelectNext(nullptr, true);
  }
  if (OnActivate) OnActivate(this);
}

void Form::Deactivated() {
  if (OnDeactivate) OnDeactivate(this);
}

ui::ModalResult Form::ShowModal() {
  if (Visible() || inModal_) throw Error("Cannot make a visible window modal");
  auto self = Ref();
  Application::BusyScope busy;  // not freed while its own loop runs
  inModal_ = true;
  modalResult_ = mrNone;
  App().PushModal(ModalEntry{this, nullptr, nullptr});
  Show();
  for (;;) {
    bool ok = App().RunUntil([&] { return !self || modalResult_ != mrNone; });
    if (!self) {
      App().PopModal();
      return mrCancel;
    }
    if (!ok) {
      modalResult_ = mrCancel;  // nothing left to answer: end without asking OnCloseQuery
      break;
    }
    CloseModal();
    if (modalResult_ != mrNone) break;
  }
  App().PopModal();
  inModal_ = false;
  Hide();
  return modalResult_;
}

void Form::CloseModal() {
  if (!CloseQuery()) {
    modalResult_ = mrNone;
    return;
  }
  CloseAction action = CloseAction::Hide;
  DoClose(action);
  if (action == CloseAction::None)
    modalResult_ = mrNone;
  else if (action == CloseAction::Free)
    Release();
}

bool Form::CloseQuery() {
  bool can = true;
  if (OnCloseQuery) OnCloseQuery(this, can);
  return can;
}

void Form::DoClose(CloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void Form::Close() {
  if (inModal_) {
    modalResult_ = mrCancel;  // the modal loop asks OnCloseQuery and OnClose
    return;
  }
  if (!CloseQuery()) return;
  CloseAction action =
      FormStyle == ui::FormStyle::MDIChild ? CloseAction::Minimize : CloseAction::Hide;
  auto self = Ref();
  DoClose(action);
  if (!self) return;
  switch (action) {
    case CloseAction::None:
      break;
    case CloseAction::Hide:
      Hide();
      break;
    case CloseAction::Free:
      Release();
      break;
    case CloseAction::Minimize:
      WindowState = ui::WindowState::Minimized;
      break;
  }
}

void Form::Release() {
  if (Visible()) Hide();
  // Like a posted message: freed by the next ProcessMessages, never here,
  // since the handler that asked is still running on this form.
  App().ReleaseLater(this);
}

void Form::SetActiveControl(Control* c) {
  if (c == activeControl_) return;
  if (c && c->ParentForm() != this) throw Error("Control is not on this form");
  if (c && !c->CanFocus()) throw Error("Cannot focus a disabled or invisible window");
  Control* old = activeControl_;
  activeControl_ = c;
  auto self = Ref();
  if (old) old->DoExit();
  if (self && c && activeControl_ == c) c->DoEnter();
}

void Form::SelectNext(Control* from, bool forward) {
  std::vector<Control*> stops;
  std::function<void(Control*)> walk = [&](Control* p) {
    for (Control* c : p->TabList()) {
      if (!c->Showing()) continue;
      if (c->CanFocus() && c->TabStop) stops.push_back(c);
      walk(c);
    }
  };
  walk(this);
  if (stops.empty()) return;
  auto it = std::find(stops.begin(), stops.end(), from);
  size_t i;
  if (it == stops.end())
    i = forward ? 0 : stops.size() - 1;
  else
    i = (size_t(it - stops.begin()) + (forward ? 1 : stops.size() - 1)) % stops.size();
  SetActiveControl(stops[i]);
}

void Form::ControlGone(Control* c) {
  if (destroyed_ || !activeControl_) return;
  for (Control* p = activeControl_; p; p = p->Parent())
    if (p == c) {
      activeControl_ = nullptr;
      return;
    }
}

Button* Form::FindDialogButton(bool isDefault) const {
  std::function<Button*(const Control*)> walk = [&](const Control* p) -> Button* {
    for (Control* c : p->Controls()) {
      if (auto* b = dynamic_cast<Button*>(c);
          b && (isDefault ? b->Default : b->Cancel) && b->Reachable())
        return b;
      if (Button* b = walk(c)) return b;
    }
    return nullptr;
  };
  return walk(this);
}

bool Form::KeyDownFrom(Control* target, Word& key, ShiftState shift) {
  for (Control* c = target; c; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(key, shift)) return key = 0, true;
  if (Menu && Menu->IsShortCut(key, shift)) return key = 0, true;
  if (key == VK_TAB && !(shift & (ssCtrl | ssAlt)) && !(target && target->WantsKey(key))) {
    SelectNext(target, !(shift & ssShift));
    return key = 0, true;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && !(target && target->WantsKey(key))) {
    auto* focused = dynamic_cast<Button*>(target);
    Button* b =
        key == VK_RETURN ? (focused ? focused : FindDialogButton(true)) : FindDialogButton(false);
    if (b) {
      b->Click();
      return key = 0, true;
    }
  }
  auto self = Ref();
  auto tgt = target ? target->Ref() : ComponentRef();
  if (KeyPreview || !target || target == this) Control::KeyDown(key, shift);
  if (key == 0 || !self || !target || target == this || !tgt) return false;
  target->KeyDown(key, shift);
  return false;
}

void Form::KeyPressFrom(Control* target, char& key) {
  auto tgt = target ? target->Ref() : ComponentRef();
  if (KeyPreview || !target || target == this) Control::KeyPress(key);
  if (key == 0 || !target || target == this || !tgt) return;
  target->KeyPress(key);
}

void Form::KeyUpFrom(Control* target, Word& key, ShiftState shift) {
  auto tgt = target ? target->Ref() : ComponentRef();
  if (KeyPreview || !target || target == this) Control::KeyUp(key, shift);
  if (key == 0 || !target || target == this || !tgt) return;
  target->KeyUp(key, shift);
}

int Form::ClientWidth() const {
  return BorderStyle == FormBorderStyle::None ? Width() : std::max(0, Width() - kFrameWidth);
}

int Form::ClientHeight() const {
  return BorderStyle == FormBorderStyle::None ? Height() : std::max(0, Height() - kFrameHeight);
}

void Form::SetClientSize(int width, int height) {
  bool frame = BorderStyle != FormBorderStyle::None;
  SetBounds(Left(), Top(), width + (frame ? kFrameWidth : 0), height + (frame ? kFrameHeight : 0));
}

}  // namespace ui
