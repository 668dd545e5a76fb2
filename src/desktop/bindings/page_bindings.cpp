// Page controls (tabs over a stack of pages) and notebooks (a stack without tabs).
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "desktop/bindings/families.h"
#include "desktop/qt_text.h"
#include "forms/pages.h"

namespace qbk::desktop::bindings {

using namespace forms;

namespace {

// The two halves of a page control: the tabs a person clicks and the pages behind them,
// kept apart so that a page whose tab is hidden can still be in front.
QTabBar* tabBarOf(QObject& pageControl) {
  return pageControl.findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
}
QStackedWidget* stackOf(QObject& pageControl) {
  return pageControl.findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

Binding pageControl() {
  TypedBinding<PageControl, QWidget> b;
  b.build = [](RenderContext& ctx, PageControl& pages, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setFocusPolicy(Qt::TabFocus);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QTabBar(box);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setDrawBase(true);
    bar->setExpanding(false);
    auto* stack = new QStackedWidget(box);
    stack->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(bar);
    layout->addWidget(stack, 1);
    for (TabSheet* sheet : pages.pages()) {
      bar->addTab(plainCaption(sheet->caption()));
      ctx.build(*sheet, stack);
    }
    QObject::connect(bar, &QTabBar::currentChanged, [&ctx, &pages](int index) {
      ctx.actForPerson(pages, [&pages, index] {
        auto all = pages.pages();
        if (index >= 0 && index < static_cast<int>(all.size())) pages.userSelect(*all[index]);
      });
    });
    return box;
  };
  b.show = [](RenderContext&, PageControl& pages, QWidget& box) {
    QTabBar* bar = tabBarOf(box);
    QStackedWidget* stack = stackOf(box);
    const auto all = pages.pages();
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
      bar->setTabText(i, plainCaption(all[i]->caption()));
      bar->setTabEnabled(i, all[i]->enabled());
      bar->setTabVisible(i, all[i]->tabVisible() && all[i]->visible());
      bar->setTabToolTip(i, qs(all[i]->hint()));
    }
    const int active = pages.activePageIndex();
    stack->setVisible(active >= 0);
    if (active >= 0) stack->setCurrentIndex(active);
    if (active >= 0 && bar->isTabVisible(active)) bar->setCurrentIndex(active);
  };
  // Every tab whole, without scroll arrows.
  b.textSize = [](PageControl&, QWidget& box) {
    return QSize(tabBarOf(box)->sizeHint().width(), 0);
  };
  return b;
}

Binding notebook() {
  TypedBinding<Notebook, QStackedWidget> b;
  b.build = [](RenderContext& ctx, Notebook& notebook, QWidget* parent) {
    auto* stack = new QStackedWidget(parent);
    for (Page* page : notebook.pages()) ctx.build(*page, stack);
    return stack;
  };
  b.show = [](RenderContext&, Notebook& notebook, QStackedWidget& stack) {
    if (notebook.pageIndex() >= 0) stack.setCurrentIndex(notebook.pageIndex());
  };
  return b;
}

namespace {

// A page of either kind lives in its owner's stack, which decides which page shows.
TypedBinding<Control, QWidget> stacked() {
  TypedBinding<Control, QWidget> b;
  b.placement = Placement::Stacked;
  b.build = [](RenderContext& ctx, Control& page, QWidget* parent) {
    auto* stack = static_cast<QStackedWidget*>(parent);
    auto* w = new QWidget(stack);
    stack->addWidget(w);
    ctx.buildChildren(page, w);
    return w;
  };
  return b;
}

}  // namespace

Binding tabSheet() {
  auto b = stacked();
  // A sheet's tab lives in its page control's bar, which shows the sheet's caption and state.
  b.show = [](RenderContext& ctx, Control& sheet, QWidget&) {
    ctx.show(static_cast<TabSheet&>(sheet).pageControl());
  };
  return b;
}

Binding notebookPage() {
  return stacked();
}

}  // namespace qbk::desktop::bindings
