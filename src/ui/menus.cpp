#include "ui/menus.h"

#include <algorithm>

#include "ui/strings.h"

namespace ui {

MenuItem::~MenuItem() {
  // An item owns its sub-items: they go with it.
  while (!items_.empty()) {
    MenuItem* c = items_.back();
    items_.pop_back();
    c->parent_ = nullptr;
    Free(c);
  }
  if (parent_) parent_->Remove(this);
}

MenuItem* MenuItem::Items(int i) const {
  if (i < 0 || i >= Count()) throw Error("Menu index out of bounds (" + std::to_string(i) + ")");
  return items_[size_t(i)];
}

void MenuItem::Add(MenuItem* item) { Insert(Count(), item); }

void MenuItem::Insert(int index, MenuItem* item) {
  if (!item) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void MenuItem::Remove(MenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
}

int MenuItem::IndexOf(const MenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

MenuItem* MenuItem::FindShortCut(ui::ShortCut sc) {
  if (sc == 0) return nullptr;
  for (MenuItem* i : items_) {
    if (!i->Visible || !i->Enabled) continue;
    if (i->ShortCut == sc) return i;
    if (MenuItem* found = i->FindShortCut(sc)) return found;
  }
  return nullptr;
}

MenuItem* MenuItem::Find(const std::string& caption) const {
  for (MenuItem* i : items_)
    if (SameText(StripHotkey(i->Caption), StripHotkey(caption))) return i;
  return nullptr;
}

void MenuItem::Click() {
  if (Enabled && OnClick) OnClick(this);
}

MenuItem* NewItem(MenuItem* parent, Component* owner, const std::string& caption, ui::ShortCut sc,
                  NotifyEvent onClick) {
  auto* item = new MenuItem(owner);
  item->Caption = caption;
  item->ShortCut = sc;
  item->OnClick = std::move(onClick);
  parent->Add(item);
  return item;
}

Menu::Menu(Component* owner) : Component(owner), items_(new MenuItem(this)) {}

bool Menu::IsShortCut(Word key, ShiftState shift) {
  MenuItem* item = items_->FindShortCut(MakeShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

void PopupMenu::Popup(Component* from) {
  PopupComponent = from;
  if (OnPopup) OnPopup(this);
}

std::string StripHotkey(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

}  // namespace ui
