// Controls that pick among items: radio groups, combo boxes and list boxes.
#pragma once

#include <vector>

#include "ui/control.h"
#include "ui/strings.h"

namespace ui {

class RadioGroup : public Control {
 public:
  explicit RadioGroup(Component* owner = nullptr);
  std::string ClassName() const override { return "TRadioGroup"; }
  bool IsWinControl() const override { return true; }
  Strings Items;
  int Columns = 1;
  int ItemIndex() const { return itemIndex_; }
  // A changed index raises OnClick, whether the program or the operator
  // changed it.
  void SetItemIndex(int i);
  void OperatorSelect(int i);

 private:
  int itemIndex_ = -1;
};

enum class ComboBoxStyle { DropDown, DropDownList, Simple };

class ComboBox : public Control {
 public:
  explicit ComboBox(Component* owner = nullptr);
  std::string ClassName() const override { return "TComboBox"; }
  bool IsWinControl() const override { return true; }
  Strings Items;
  ComboBoxStyle Style = ComboBoxStyle::DropDown;
  int DropDownCount = 8;
  bool Sorted = false;
  int ItemIndex() const { return itemIndex_; }
  // The program's changes raise no event; only the operator's do.
  void SetItemIndex(int i);
  void SetText(std::string s) override;
  // The operator picks an item: OnClick, then OnSelect (OnChange when no OnSelect).
  void OperatorSelect(int i);
  // The operator types: a drop-down list picks the first item starting with
  // the text; an editable combo takes the text and raises OnChange.
  void OperatorType(const std::string& text) override;
  NotifyEvent OnSelect;

 private:
  int itemIndex_ = -1;
};

class ListBox : public Control {
 public:
  explicit ListBox(Component* owner = nullptr);
  std::string ClassName() const override { return "TListBox"; }
  bool IsWinControl() const override { return true; }
  Strings Items;
  bool MultiSelect = false, Sorted = false;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int i);
  bool Selected(int i) const;
  void SetSelected(int i, bool s);
  int SelCount() const;
  // The operator clicks an item: it becomes current (and the only one selected) and OnClick runs.
  void OperatorSelect(int i);

 private:
  int itemIndex_ = -1;
  std::vector<bool> selected_;
};

}  // namespace ui
