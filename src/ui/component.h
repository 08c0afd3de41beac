// Components: ownership (an owner frees what it owns), names and trackers.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/types.h"

namespace ui {

// A weak reference that reads null once its component is gone; used by code
// that runs a handler which may free the component (a form closed with caFree).
class ComponentRef {
 public:
  ComponentRef() = default;
  Component* Get() const { return cell_ ? *cell_ : nullptr; }
  explicit operator bool() const { return Get() != nullptr; }

 private:
  friend class Component;
  explicit ComponentRef(std::shared_ptr<Component*> cell) : cell_(std::move(cell)) {}
  std::shared_ptr<Component*> cell_;
};

class Component {
 public:
  explicit Component(Component* owner = nullptr);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  virtual std::string ClassName() const { return "TComponent"; }

  Component* Owner() const { return owner_; }
  const std::vector<Component*>& Components() const { return components_; }
  int ComponentCount() const { return int(components_.size()); }
  // Direct owned component by name, case-insensitive; null when none.
  Component* FindComponent(std::string_view name) const;
  void InsertComponent(Component* c);
  void RemoveComponent(Component* c);

  const std::string& Name() const { return name_; }
  virtual void SetName(std::string name) { name_ = std::move(name); }
  int Tag = 0;

  ComponentRef Ref() const { return ComponentRef(cell_); }
  // Ask to hear (through Notification) when `other` is destroyed.
  void FreeNotification(Component* other);
  void RemoveFreeNotification(Component* other);

  // Runs while the object is still whole, before any destructor: forms fire
  // OnDestroy here. Owners, Free and deferred releases call it.
  virtual void BeforeDestruction() {}
  bool Destroying() const { return destroying_; }

 protected:
  // `gone` is being destroyed; drop any pointer to it.
  virtual void Notification(Component* gone) {}
  // Deletes every owned component; subclasses call it early in their
  // destructor when owned parts must go while the subclass is still alive.
  void DestroyComponents();

 private:
  Component* owner_ = nullptr;
  std::vector<Component*> components_;
  std::vector<Component*> notify_;  // components that want to hear of our end
  std::string name_;
  std::shared_ptr<Component*> cell_;
  bool destroying_ = false;
};

// Frees a component: BeforeDestruction first (OnDestroy runs while the
// component is still whole), then delete.
void Free(Component* c);

}  // namespace ui
