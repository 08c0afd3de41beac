#include "ui/lists.h"

#include "ui/utf8.h"

namespace ui {

namespace {
void CheckIndex(int i, const Strings& items) {
  if (i < -1 || i >= items.Count())
    throw Error("List index out of bounds (" + std::to_string(i) + ")");
}
}  // namespace

RadioGroup::RadioGroup(Component* owner) : Control(owner) {
  TabStop = true;
  Items.OnChange = [this] {
    if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
  };
}

void RadioGroup::SetItemIndex(int i) {
  CheckIndex(i, Items);
  if (i == itemIndex_) return;
  itemIndex_ = i;
  if (i >= 0) Click();
}

void RadioGroup::OperatorSelect(int i) {
  if (i < 0 || i >= Items.Count()) throw Error("No such item (" + std::to_string(i) + ")");
  SetItemIndex(i);
}

ComboBox::ComboBox(Component* owner) : Control(owner) {
  TabStop = true;
  Color = clWindow;
  Items.OnChange = [this] {
    if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
  };
}

void ComboBox::SetItemIndex(int i) {
  CheckIndex(i, Items);
  itemIndex_ = i;
  text_ = i >= 0 ? Items[i] : std::string();
}

void ComboBox::SetText(std::string s) {
  int i = Items.IndexOf(s);
  if (Style == ComboBoxStyle::DropDownList) {
    SetItemIndex(i);
    return;
  }
  itemIndex_ = i;
  text_ = std::move(s);
}

void ComboBox::OperatorSelect(int i) {
  if (i < 0 || i >= Items.Count()) throw Error("No such item (" + std::to_string(i) + ")");
  SetItemIndex(i);
  Click();
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void ComboBox::OperatorType(const std::string& text) {
  if (Style == ComboBoxStyle::DropDownList) {
    int n = utf8::Length(text);
    for (int i = 0; i < Items.Count(); ++i)
      if (SameText(utf8::Sub(Items[i], 0, n), text)) return OperatorSelect(i);
    throw Error("No item starts with \"" + text + "\"");
  }
  if (text == text_) return;
  text_ = text;
  itemIndex_ = Items.IndexOf(text);
  Change();
}

ListBox::ListBox(Component* owner) : Control(owner) {
  TabStop = true;
  Color = clWindow;
  Items.OnChange = [this] {
    selected_.assign(size_t(Items.Count()), false);
    if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
  };
}

void ListBox::SetItemIndex(int i) {
  CheckIndex(i, Items);
  itemIndex_ = i;
  if (!MultiSelect) selected_.assign(size_t(Items.Count()), false);
  if (i >= 0) selected_[size_t(i)] = true;
}

bool ListBox::Selected(int i) const {
  return i >= 0 && size_t(i) < selected_.size() && selected_[size_t(i)];
}

void ListBox::SetSelected(int i, bool s) {
  CheckIndex(i, Items);
  if (i < 0) return;
  if (!MultiSelect && s) return SetItemIndex(i);
  selected_[size_t(i)] = s;
}

int ListBox::SelCount() const {
  int n = 0;
  for (bool b : selected_) n += b;
  return n;
}

void ListBox::OperatorSelect(int i) {
  if (i < 0 || i >= Items.Count()) throw Error("No such item (" + std::to_string(i) + ")");
  selected_.assign(size_t(Items.Count()), false);
  SetItemIndex(i);
  Click();
}

}  // namespace ui
