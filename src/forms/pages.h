// Page controls with tabs, and notebooks (pages without tabs). Only the page in front shows
// what it holds.
#pragma once

#include <functional>
#include <vector>

#include "control.h"

namespace qbk::forms {

class PageControl;

class TabSheet : public Control {
 public:
  static constexpr const char* kClassName = "TTabSheet";
  explicit TabSheet(const Init& init);

  PageControl& pageControl() const;
  int pageIndex() const;
  // Whether the sheet's tab shows among the tabs; a page whose tab is hidden can still be
  // put in front by the program.
  bool tabVisible() const { return tabVisible_; }
  void setTabVisible(bool value);

  // The page control less its tabs and frame, as the screens were designed.
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 28;
  int clientWidth() const override;
  int clientHeight() const override;

 protected:
  bool acceptsChild(std::string_view className) const override {
    return isPlainVisualClass(className);
  }

 private:
  bool tabVisible_ = true;
};

class PageControl : public Control {
 public:
  static constexpr const char* kClassName = "TPageControl";
  explicit PageControl(const Init& init) : Control(init) {}

  bool focusable() const override { return true; }
  std::vector<TabSheet*> pages() const;
  TabSheet* activePage() const { return active_; }
  int activePageIndex() const;

  // A person clicks a tab: refused (false) for a disabled page, a page whose tab is
  // hidden, or when the page control cannot take the focus. The page control takes the
  // focus (running the exit handler of the control being left; a raise keeps the page),
  // onChanging may refuse, the page comes to the front and onChange runs.
  bool userSelect(TabSheet& page);
  // The program puts a page in front, disabled or tab-hidden alike; no change events (the
  // screens run their change handling themselves). Null shows no page.
  void setActivePage(TabSheet* page);

  std::function<void(PageControl&, bool& allow)> onChanging;
  std::function<void(PageControl&)> onChange;

 protected:
  bool showsChild(const Control& child) const override { return &child == active_; }
  bool acceptsChild(std::string_view className) const override {
    return className == TabSheet::kClassName;
  }

 private:
  friend class TabSheet;
  TabSheet* active_ = nullptr;
};

class Page : public Control {
 public:
  static constexpr const char* kClassName = "TPage";
  explicit Page(const Init& init);

  // A notebook has no tabs: its pages are as large as it is.
  int clientWidth() const override;
  int clientHeight() const override;

 protected:
  bool acceptsChild(std::string_view className) const override {
    return isPlainVisualClass(className);
  }
};

// Shows one of its pages at a time; only the program turns them.
class Notebook : public Control {
 public:
  static constexpr const char* kClassName = "TNotebook";
  explicit Notebook(const Init& init) : Control(init) {}

  std::vector<Page*> pages() const;
  int pageIndex() const { return pageIndex_; }  // -1 without pages
  void setPageIndex(int index);                 // FormError for a page that does not exist
  Page* activePage() const;

 protected:
  bool showsChild(const Control& child) const override { return &child == activePage(); }
  bool acceptsChild(std::string_view className) const override {
    return className == Page::kClassName;
  }

 private:
  friend class Page;
  int pageIndex_ = -1;
};

}  // namespace qbk::forms
