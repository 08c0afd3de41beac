// How a window builds and owns its parts.
//
// The rule, for every form, frame and dialog of the module:
// - Controls and data components are created with an owner (normally the
//   form or frame) through Make(); the owner frees them. The window keeps
//   plain pointers to them as members, in the order they are created
//   (database, transaction, queries, sources, then controls).
// - Objects a window creates for itself that have no owner (a context
//   object of its own, a helper class) are std::unique_ptr members declared
//   in dependency order, so a throw half-way through a constructor leaks
//   nothing.
// - A form or dialog made for a moment (a modal dialog, a picker) is held by
//   ui::Owned<T>, made with MakeOwned<T>(...): its deleter frees it through
//   the toolkit (OnDestroy runs while the form is still whole).
// - No hand-written delete lists.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "ui/control.h"

namespace ui {

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

// Creates a control of class T owned by `owner`, named, placed on `parent`
// (when given) at `bounds`, with `caption` (when not empty).
template <class T>
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
template <class T, class P>
T* Make(P* parent, const std::string& name, Bounds bounds = {}, const std::string& caption = {}) {
  return Make<T>(parent, parent, name, bounds, caption);
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
