#include "ui/pages.h"

#include <algorithm>

#include "ui/strings.h"

namespace ui {

TabSheet::~TabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TabSheet::SetParent(Control* parent) {
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = nullptr;
  Control::SetParent(parent);
  if (auto* pc = dynamic_cast<ui::PageControl*>(parent)) {
    pageControl_ = pc;
    pc->AddPage(this);
  }
}

void TabSheet::SetPageControl(ui::PageControl* pc) { SetParent(pc); }

int TabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& p = pageControl_->pages_;
  return int(std::find(p.begin(), p.end(), this) - p.begin());
}

void TabSheet::OperatorClick() {
  if (!pageControl_) throw Error("Tab sheet \"" + Name() + "\" is on no page control");
  pageControl_->SelectTab(this);
}

// The sheets outlive this part of the control (the base frees them), so
// they must forget us first.
PageControl::~PageControl() {
  for (TabSheet* p : pages_) p->pageControl_ = nullptr;
  pages_.clear();
  active_ = nullptr;
}

TabSheet* PageControl::Pages(int i) const {
  if (i < 0 || i >= PageCount())
    throw Error("Page index out of bounds (" + std::to_string(i) + ")");
  return pages_[size_t(i)];
}

void PageControl::AddPage(TabSheet* p) {
  pages_.push_back(p);
  if (!active_) active_ = p;
}

void PageControl::RemovePage(TabSheet* p) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), p), pages_.end());
  if (active_ == p) active_ = pages_.empty() ? nullptr : pages_.front();
}

void PageControl::SetActivePage(TabSheet* page) {
  if (page && page->PageControl() != this) throw Error("Page is not on this page control");
  active_ = page;
}

void PageControl::SelectTab(TabSheet* page) {
  if (!page || page->PageControl() != this) throw Error("Page is not on this page control");
  if (!page->TabVisible) throw Error("The tab \"" + page->Caption() + "\" is not visible");
  if (page == active_) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  active_ = page;
  Change();
}

bool PageControl::ChildShowing(const Control* child) const {
  return child == active_ && active_->Visible();
}

NotebookPage* Notebook::AddPage(const std::string& name) {
  auto* p = new NotebookPage(this);
  p->SetCaption(name);
  p->SetParent(this);
  p->SetAlign(ui::Align::Client);
  FreeNotification(p);
  pages_.push_back(p);
  if (pageIndex_ < 0) pageIndex_ = 0;
  return p;
}

NotebookPage* Notebook::Pages(int i) const {
  if (i < 0 || i >= PageCount())
    throw Error("Page index out of bounds (" + std::to_string(i) + ")");
  return pages_[size_t(i)];
}

void Notebook::SetPageIndex(int i) {
  (void)Pages(i);
  if (i == pageIndex_) return;
  pageIndex_ = i;
  if (OnPageChanged) OnPageChanged(this);
}

std::string Notebook::ActivePage() const {
  return pageIndex_ >= 0 ? pages_[size_t(pageIndex_)]->Caption() : std::string();
}

void Notebook::SetActivePage(const std::string& name) {
  for (int i = 0; i < PageCount(); ++i)
    if (SameText(pages_[size_t(i)]->Caption(), name)) return SetPageIndex(i);
  throw Error("Notebook has no page \"" + name + "\"");
}

bool Notebook::ChildShowing(const Control* child) const {
  return pageIndex_ >= 0 && child == pages_[size_t(pageIndex_)];
}

void Notebook::Notification(Component* gone) {
  Control::Notification(gone);
  auto it = std::find(pages_.begin(), pages_.end(), gone);
  if (it == pages_.end()) return;
  pages_.erase(it);
  if (pageIndex_ >= PageCount()) pageIndex_ = PageCount() - 1;
}

}  // namespace ui
