// Controls: the visual parts of a window, placed on a parent control.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class Form;
class PopupMenu;

class Control : public Component {
 public:
  explicit Control(Component* owner = nullptr);
  ~Control() override;
  std::string ClassName() const override { return "TControl"; }

  // Parent: the control this one is placed on. A destroyed parent frees its children.
  Control* Parent() const { return parent_; }
  virtual void SetParent(Control* parent);
  const std::vector<Control*>& Controls() const { return children_; }
  // Children in tab order.
  const std::vector<Control*>& TabList() const { return tabList_; }
  Form* ParentForm() const;  // the top-level form this control sits on (itself for a form)

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  ui::Align Align() const { return align_; }
  void SetAlign(ui::Align a);
  ui::Anchors Anchors = akLeft | akTop;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  // Visible and enabled along the whole parent chain (the form's own visibility aside).
  bool Showing() const;
  bool EffectivelyEnabled() const;

  const std::string& Caption() const { return text_; }
  void SetCaption(std::string s) { SetText(std::move(s)); }
  virtual std::string Text() const { return text_; }
  virtual void SetText(std::string s);

  ui::Font Font;
  ui::Color Color = clBtnFace;
  std::string Hint;
  bool ShowHint = false;
  ui::Cursor Cursor = ui::Cursor::Default;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop = false;
  // Whether this kind of control can take the keyboard focus at all.
  virtual bool IsWinControl() const { return false; }
  bool CanFocus() const;
  bool Focused() const;
  void SetFocus();

  ui::PopupMenu* PopupMenu() const { return popup_; }
  void SetPopupMenu(ui::PopupMenu* m);

  NotifyEvent OnClick, OnDblClick, OnChange, OnEnter, OnExit, OnResize;
  KeyEvent OnKeyDown, OnKeyUp;
  KeyPressEvent OnKeyPress;

  // Dispatch methods: each fires its event; subclasses add behaviour.
  virtual void Click();
  virtual void DblClick();
  virtual void Change();
  virtual void KeyDown(Word& key, ShiftState shift);
  virtual void KeyPress(char& key);
  virtual void KeyUp(Word& key, ShiftState shift);
  virtual void DoEnter();
  virtual void DoExit();
  // Keys the control handles itself instead of the form's dialog keys (Tab, Enter, Escape).
  virtual bool WantsKey(Word key) const { return false; }
  // What an operator's click on the control does (a check box toggles, ...).
  virtual void OperatorClick();
  // What the operator's typing of a whole text does (edit boxes, combos, ...).
  virtual void OperatorType(const std::string& text);
  // Whether the operator can reach the control: shown, enabled, on a shown page.
  bool Reachable() const;
  // A container hides children that are not on screen (inactive pages).
  virtual bool ChildShowing(const Control* child) const { return true; }

 protected:
  void Notification(Component* gone) override;
  virtual void Realign();
  void ChildAdded(Control* c);
  void ChildRemoved(Control* c);
  std::string text_;

 private:
  void AnchorChildren(int oldW, int oldH);
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  std::vector<Control*> tabList_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  ui::Align align_ = ui::Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  bool realigning_ = false;
  ui::PopupMenu* popup_ = nullptr;
};

// Finds a control by name anywhere below `root`, through owners and parents.
Component* FindDescendant(const Component* root, std::string_view name);

}  // namespace ui
