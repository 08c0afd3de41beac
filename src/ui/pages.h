// Paged containers: the page control with its tab sheets, and the notebook.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class PageControl;

class TabSheet : public Control {
 public:
  explicit TabSheet(Component* owner = nullptr) : Control(owner) {}
  ~TabSheet() override;
  std::string ClassName() const override { return "TTabSheet"; }
  bool IsWinControl() const override { return true; }
  // Placing a sheet on a page control makes it one of its pages.
  void SetParent(Control* parent) override;
  ui::PageControl* PageControl() const { return pageControl_; }
  void SetPageControl(ui::PageControl* pc);
  int PageIndex() const;
  bool TabVisible = true;
  // The operator clicks this sheet's tab.
  void OperatorClick() override;

 private:
  friend class ui::PageControl;
  ui::PageControl* pageControl_ = nullptr;
};

enum class TabPosition { Top, Bottom, Left, Right };

class PageControl : public Control {
 public:
  explicit PageControl(Component* owner = nullptr) : Control(owner) { TabStop = true; }
  ~PageControl() override;
  std::string ClassName() const override { return "TPageControl"; }
  bool IsWinControl() const override { return true; }
  int PageCount() const { return int(pages_.size()); }
  TabSheet* Pages(int i) const;
  TabSheet* ActivePage() const { return active_; }
  // The program's changes raise no event; only the operator's do.
  void SetActivePage(TabSheet* page);
  int ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }
  void SetActivePageIndex(int i) { SetActivePage(i < 0 ? nullptr : Pages(i)); }
  // The operator clicks a tab: OnChanging may refuse; OnChange follows a change.
  void SelectTab(TabSheet* page);
  bool ChildShowing(const Control* child) const override;
  ui::TabPosition TabPosition = ui::TabPosition::Top;
  std::function<void(Component* sender, bool& allowChange)> OnChanging;

 private:
  friend class TabSheet;
  void AddPage(TabSheet* p);
  void RemovePage(TabSheet* p);
  std::vector<TabSheet*> pages_;
  TabSheet* active_ = nullptr;
};

class Notebook;

// One page of a notebook; its controls show only while it is the notebook's page.
class NotebookPage : public Control {
 public:
  explicit NotebookPage(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TPage"; }
  bool IsWinControl() const override { return true; }
};

class Notebook : public Control {
 public:
  explicit Notebook(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TNotebook"; }
  bool IsWinControl() const override { return true; }
  // Adds a page (captioned `name`) parented and owned by the notebook.
  NotebookPage* AddPage(const std::string& name);
  int PageCount() const { return int(pages_.size()); }
  NotebookPage* Pages(int i) const;
  int PageIndex() const { return pageIndex_; }
  void SetPageIndex(int i);
  std::string ActivePage() const;
  void SetActivePage(const std::string& name);
  bool ChildShowing(const Control* child) const override;
  NotifyEvent OnPageChanged;

 protected:
  void Notification(Component* gone) override;

 private:
  std::vector<NotebookPage*> pages_;
  int pageIndex_ = -1;
};

}  // namespace ui
