#include "ui/component.h"

#include <algorithm>

#include "ui/strings.h"

namespace ui {

Component::Component(Component* owner) : cell_(std::make_shared<Component*>(this)) {
  if (owner) owner->InsertComponent(this);
}

Component::~Component() {
  destroying_ = true;
  *cell_ = nullptr;
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
  // Copy: a notified component may unregister itself while we walk.
  auto notify = notify_;
  notify_.clear();
  for (Component* c : notify) {
    c->Notification(this);
    auto& back = c->notify_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
}

void Component::DestroyComponents() {
  while (!components_.empty()) {
    Component* c = components_.back();
    c->BeforeDestruction();
    delete c;  // removes itself from components_
  }
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (Component* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void Component::InsertComponent(Component* c) {
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
}

void Component::RemoveComponent(Component* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  components_.erase(it);
  c->owner_ = nullptr;
}

void Component::FreeNotification(Component* other) {
  if (!other || other == this) return;
  if (std::find(other->notify_.begin(), other->notify_.end(), this) == other->notify_.end())
    other->notify_.push_back(this);
  // Both directions: whichever goes first tells the other.
  if (std::find(notify_.begin(), notify_.end(), other) == notify_.end()) notify_.push_back(other);
}

void Component::RemoveFreeNotification(Component* other) {
  if (!other) return;
  other->notify_.erase(std::remove(other->notify_.begin(), other->notify_.end(), this),
                       other->notify_.end());
  notify_.erase(std::remove(notify_.begin(), notify_.end(), other), notify_.end());
}

void Free(Component* c) {
  if (!c) return;
  c->BeforeDestruction();
  delete c;
}

}  // namespace ui
