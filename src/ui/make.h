// How a window builds and owns its parts.
//
// The rule, for every form, frame, data module and dialog of the module:
// - Everything a window is made of is created with an owner (normally the
//   window itself, or the frame it sits on) through Make(); the owner frees
//   it. That holds for controls and for the objects of the data layer
//   (connections, transactions, queries, data sources, in-memory tables),
//   which are no components themselves: Make() gives them a holder that the
//   owner frees like any component.
// - The window keeps plain pointers to its parts as members, and creates
//   them in dependency order: connections, transactions, data sets, data
//   sources, then controls. An owner frees its parts in the reverse order of
//   creation (a parent frees its child controls even earlier), so nothing is
//   freed while something still points at it, and a throw half-way through a
//   constructor leaks nothing.
// - Objects with no place in the toolkit's ownership (a context object of
//   a window's own, a helper class) are std::unique_ptr members declared in
//   dependency order.
// - A form or dialog made for a moment (a modal dialog, a picker) is held by
//   ui::Owned<T>, made with MakeOwned<T>(...): its deleter frees it through
//   the toolkit (OnDestroy runs while the form is still whole). Never a form
//   on the stack: its destroy handler would not run.
// - No hand-written delete lists, no destructor that only frees parts.
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "ui/control.h"

namespace ui {

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

template <class T>
concept IsComponent = std::is_base_of_v<Component, T>;

// Creates a control of class T owned by `owner`, named, placed on `parent`
// (when given) at `bounds`, with `caption` (when not empty).
template <IsComponent T>
T* Make(Component* owner, Control* parent, const std::string& name, Bounds bounds = {},
        const std::string& caption = {}) {
  auto* c = new T(owner);
  c->SetName(name);
  if (parent) c->SetParent(parent);
  if (bounds.width || bounds.height || bounds.left || bounds.top)
    c->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
  if (!caption.empty()) c->SetCaption(caption);
  return c;
}

// The common case: owned by the container it sits on.
template <IsComponent T, class P>
T* Make(P* parent, const std::string& name, Bounds bounds = {}, const std::string& caption = {}) {
  return Make<T>(parent, parent, name, bounds, caption);
}

// The holder through which a component owns an object of the data layer.
template <class T>
class Held : public Component {
 public:
  template <class... Args>
  explicit Held(Component* owner, Args&&... args)
      : Component(owner), object(std::forward<Args>(args)...) {}
  T object;
};

// Creates an object of the data layer (a connection, a transaction, a query,
// a data source, an in-memory table) owned by `owner`; `args` go to its
// constructor. The holder and the object (when it has a Name) take `name`.
template <class T, class... Args>
requires(!IsComponent<T>) T* Make(Component* owner, const std::string& name, Args&&... args) {
  auto* held = new Held<T>(owner, std::forward<Args>(args)...);
  held->SetName(name);
  if constexpr (requires(T & t) { t.Name = name; }) held->object.Name = name;
  return &held->object;
}

struct FreeDeleter {
  void operator()(Component* c) const { Free(c); }
};

// An owning pointer to a component that frees it the toolkit's way.
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

template <class T, class... Args>
Owned<T> MakeOwned(Args&&... args) {
  return Owned<T>(new T(std::forward<Args>(args)...));
}

}  // namespace ui
