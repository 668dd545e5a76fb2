#include "pages.h"

#include <algorithm>

#include "form.h"

namespace qbk::forms {

namespace {

template <class T>
std::vector<T*> childrenOf(const Control& c) {
  std::vector<T*> out;
  for (Control* child : c.children()) {
    if (auto* t = dynamic_cast<T*>(child)) out.push_back(t);
  }
  return out;
}

}  // namespace

// ---- TabSheet --------------------------------------------------------------------------

TabSheet::TabSheet(const Init& init) : Control(init) {
  auto* owner = dynamic_cast<PageControl*>(parent());
  if (!owner) throw FormError("A página '" + name() + "' precisa de um controle de páginas.");
  // The first page comes to the front, so a page control never shows nothing by accident.
  if (!owner->active_) owner->active_ = this;
}

PageControl& TabSheet::pageControl() const {
  return static_cast<PageControl&>(*parent());
}

int TabSheet::clientWidth() const {
  return pageControl().width() - kFrameWidth;
}
int TabSheet::clientHeight() const {
  return pageControl().height() - kFrameHeight;
}

int TabSheet::pageIndex() const {
  const auto pages = pageControl().pages();
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TabSheet::setTabVisible(bool value) {
  assign(tabVisible_, value, Property::TabVisible);
}

// ---- PageControl -----------------------------------------------------------------------

std::vector<TabSheet*> PageControl::pages() const {
  return childrenOf<TabSheet>(*this);
}

int PageControl::activePageIndex() const {
  return active_ ? active_->pageIndex() : -1;
}

void PageControl::setActivePage(TabSheet* page) {
  if (page && &page->pageControl() != this) {
    throw FormError("A página '" + page->name() + "' não pertence a '" + name() + "'.");
  }
  if (!assign(active_, page, Property::ActivePage)) return;
  visibilityChanged();
}

bool PageControl::userSelect(TabSheet& page) {
  if (&page.pageControl() != this || !page.enabled() || !page.tabVisible()) return false;
  if (!takeFocusForInput()) return false;
  if (&page == active_) return true;
  bool allow = true;
  if (onChanging) onChanging(*this, allow);
  if (!allow) return false;
  setActivePage(&page);
  if (onChange) onChange(*this);
  return true;
}

// ---- Notebook --------------------------------------------------------------------------

int Page::clientWidth() const {
  return parent() ? parent()->width() : 0;
}
int Page::clientHeight() const {
  return parent() ? parent()->height() : 0;
}

Page::Page(const Init& init) : Control(init) {
  auto* book = dynamic_cast<Notebook*>(parent());
  if (!book) throw FormError("A página '" + name() + "' precisa de um caderno.");
  if (book->pageIndex_ < 0) book->pageIndex_ = 0;
}

std::vector<Page*> Notebook::pages() const {
  return childrenOf<Page>(*this);
}

Page* Notebook::activePage() const {
  const auto all = pages();
  return pageIndex_ >= 0 && pageIndex_ < static_cast<int>(all.size()) ? all[pageIndex_] : nullptr;
}

void Notebook::setPageIndex(int index) {
  if (index < 0 || index >= static_cast<int>(pages().size())) {
    throw FormError("Página " + std::to_string(index) + " inexistente em '" + name() + "'.");
  }
  if (assign(pageIndex_, index, Property::PageIndex)) visibilityChanged();
}

}  // namespace qbk::forms
