#include "ui/control.h"

#include <algorithm>
#include <unordered_set>

#include "ui/form.h"
#include "ui/menus.h"
#include "ui/strings.h"

namespace ui {

Control::Control(Component* owner) : Component(owner) {}

Control::~Control() {
  if (Form* f = ParentForm(); f && f != this) f->ControlGone(this);
  // A destroyed parent frees its children, as a window frees its child windows.
  while (!children_.empty()) Free(children_.back());
  if (parent_) parent_->ChildRemoved(this);
}

void Control::SetParent(Control* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Error("A control cannot be its own parent");
  if (parent_) {
    if (Form* f = ParentForm(); f && f != this) f->ControlGone(this);
    parent_->ChildRemoved(this);
  }
  parent_ = parent;
  if (parent_) parent_->ChildAdded(this);
}

void Control::ChildAdded(Control* c) {
  children_.push_back(c);
  tabList_.push_back(c);
  if (c->align_ != ui::Align::None) Realign();
}

void Control::ChildRemoved(Control* c) {
  children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
  if (c->align_ != ui::Align::None) Realign();
}

Form* Control::ParentForm() const {
  const Control* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<Form*>(const_cast<Control*>(c));
}

void Control::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  int oldW = width_, oldH = height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (oldW != width_ || oldH != height_) {
    AnchorChildren(oldW, oldH);
    Realign();
    if (OnResize) OnResize(this);
  }
  if (parent_ && align_ != ui::Align::None) parent_->Realign();
}

// A child anchored to the right or bottom keeps its distance from that edge.
void Control::AnchorChildren(int oldW, int oldH) {
  int dw = width_ - oldW, dh = height_ - oldH;
  if (oldW == 0 && oldH == 0) return;  // first sizing: nothing was laid out yet
  for (Control* c : children_) {
    if (c->align_ != ui::Align::None) continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (c->Anchors & akRight) {
      if (c->Anchors & akLeft)
        w += dw;
      else
        l += dw;
    }
    if (c->Anchors & akBottom) {
      if (c->Anchors & akTop)
        h += dh;
      else
        t += dh;
    }
    c->SetBounds(l, t, w, h);
  }
}

void Control::SetAlign(ui::Align a) {
  if (a == align_) return;
  align_ = a;
  if (parent_) parent_->Realign();
}

void Control::Realign() {
  if (realigning_) return;
  realigning_ = true;
  int l = 0, t = 0, r = ClientWidth(), b = ClientHeight();
  auto place = [&](ui::Align which) {
    for (Control* c : children_) {
      if (c->align_ != which || !c->visible_) continue;
      switch (which) {
        case ui::Align::Top:
          c->SetBounds(l, t, r - l, c->height_);
          t += c->height_;
          break;
        case ui::Align::Bottom:
          b -= c->height_;
          c->SetBounds(l, b, r - l, c->height_);
          break;
        case ui::Align::Left:
          c->SetBounds(l, t, c->width_, b - t);
          l += c->width_;
          break;
        case ui::Align::Right:
          r -= c->width_;
          c->SetBounds(r, t, c->width_, b - t);
          break;
        case ui::Align::Client:
          c->SetBounds(l, t, std::max(0, r - l), std::max(0, b - t));
          break;
        case ui::Align::None:
          break;
      }
    }
  };
  for (auto a :
       {ui::Align::Top, ui::Align::Bottom, ui::Align::Left, ui::Align::Right, ui::Align::Client})
    place(a);
  realigning_ = false;
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (!v) {
    if (Form* f = ParentForm(); f && f != this) f->ControlGone(this);
  }
  if (parent_ && align_ != ui::Align::None) parent_->Realign();
}

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (!v) {
    if (Form* f = ParentForm(); f && f != this) f->ControlGone(this);
  }
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->parent_) return true;  // the top-level window's own visibility aside
    if (!c->visible_ || !c->parent_->ChildShowing(c)) return false;
  }
  return true;
}

bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

bool Control::Reachable() const { return Showing() && EffectivelyEnabled(); }

void Control::SetText(std::string s) { text_ = std::move(s); }

int Control::TabOrder() const {
  if (!parent_) return 0;
  auto& l = parent_->tabList_;
  return int(std::find(l.begin(), l.end(), this) - l.begin());
}

void Control::SetTabOrder(int order) {
  if (!parent_) return;
  auto& l = parent_->tabList_;
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
  order = std::clamp(order, 0, int(l.size()));
  l.insert(l.begin() + order, this);
}

bool Control::CanFocus() const { return IsWinControl() && Reachable(); }

bool Control::Focused() const {
  Form* f = ParentForm();
  return f && f->ActiveControl() == this;
}

void Control::SetFocus() {
  if (!CanFocus()) throw Error("Cannot focus a disabled or invisible window");
  if (Form* f = ParentForm(); f && f != this) f->SetActiveControl(this);
}

void Control::SetPopupMenu(ui::PopupMenu* m) {
  if (popup_) RemoveFreeNotification(popup_);
  popup_ = m;
  if (m) FreeNotification(m);
}

void Control::Notification(Component* gone) {
  if (gone == popup_) popup_ = nullptr;
}

void Control::Click() {
  if (OnClick) OnClick(this);
}
void Control::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void Control::Change() {
  if (OnChange) OnChange(this);
}
void Control::KeyDown(Word& key, ShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void Control::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}
void Control::KeyUp(Word& key, ShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void Control::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void Control::DoExit() {
  if (OnExit) OnExit(this);
}
void Control::OperatorClick() { Click(); }
void Control::OperatorType(const std::string&) {
  throw Error(ClassName() + " \"" + Name() + "\" takes no typing");
}

// Breadth first, so the nearest component of that name wins; owners and
// parents both count, as frames own their parts while pages parent them.
Component* FindDescendant(const Component* root, std::string_view name) {
  std::vector<const Component*> queue{root};
  std::unordered_set<const Component*> seen{root};
  for (size_t i = 0; i < queue.size(); ++i) {
    std::vector<Component*> next(queue[i]->Components());
    if (auto* ctl = dynamic_cast<const Control*>(queue[i]))
      next.insert(next.end(), ctl->Controls().begin(), ctl->Controls().end());
    for (Component* c : next) {
      if (!seen.insert(c).second) continue;
      if (SameText(c->Name(), name)) return c;
      queue.push_back(c);
    }
  }
  return nullptr;
}

}  // namespace ui
