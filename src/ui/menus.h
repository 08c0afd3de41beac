// Menus: items with captions, shortcuts and click handlers; popup and main menus.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class MenuItem : public Component {
 public:
  explicit MenuItem(Component* owner = nullptr) : Component(owner) {}
  ~MenuItem() override;
  std::string ClassName() const override { return "TMenuItem"; }

  std::string Caption;  // "-" is a separator
  ui::ShortCut ShortCut = 0;
  bool Enabled = true, Visible = true, Checked = false, RadioItem = false;
  int GroupIndex = 0;
  std::string Hint;
  NotifyEvent OnClick;

  // Sub-items. Every position counts, hidden items included; an item freed
  // elsewhere leaves the list.
  int Count() const { return int(items_.size()); }
  MenuItem* Items(int i) const;
  void Add(MenuItem* item);
  void Insert(int index, MenuItem* item);
  void Remove(MenuItem* item);
  int IndexOf(const MenuItem* item) const;
  MenuItem* ParentItem() const { return parent_; }
  // The item (this or below) with that shortcut, enabled and visible; null when none.
  MenuItem* FindShortCut(ui::ShortCut sc);
  MenuItem* Find(const std::string& caption) const;  // ignores "&"

  // Runs OnClick when the item is enabled.
  virtual void Click();

 private:
  std::vector<MenuItem*> items_;
  MenuItem* parent_ = nullptr;
};

// Adds an item to `parent` (owned by `owner`) and returns it.
MenuItem* NewItem(MenuItem* parent, Component* owner, const std::string& caption,
                  ui::ShortCut sc = 0, NotifyEvent onClick = {});

class Menu : public Component {
 public:
  explicit Menu(Component* owner = nullptr);
  MenuItem* Items() const { return items_; }
  // Clicks the enabled, visible item bound to the key; false when none.
  bool IsShortCut(Word key, ShiftState shift);

 private:
  MenuItem* items_;
};

class PopupMenu : public Menu {
 public:
  explicit PopupMenu(Component* owner = nullptr) : Menu(owner) {}
  std::string ClassName() const override { return "TPopupMenu"; }
  bool AutoHotkeys = true;
  Component* PopupComponent = nullptr;
  NotifyEvent OnPopup;
  // Opens the menu over `from` (the control whose menu it is): OnPopup runs.
  virtual void Popup(Component* from = nullptr);
};

class MainMenu : public Menu {
 public:
  explicit MainMenu(Component* owner = nullptr) : Menu(owner) {}
  std::string ClassName() const override { return "TMainMenu"; }
};

std::string StripHotkey(const std::string& caption);

}  // namespace ui
