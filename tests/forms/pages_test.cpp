// Page controls: a person picks only usable tabs and the change events are theirs; the
// program can put any page in front silently. Notebooks show one page.
#include "forms/pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/edits.h"
#include "forms/form.h"
#include "forms/static_controls.h"

namespace qbk::forms {
namespace {

class PageControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pages.onChanging = [this](PageControl& p, bool&) {
      log.push_back("changing from " + p.activePage()->name());
    };
    pages.onChange = [this](PageControl& p) {
      log.push_back("change to " + p.activePage()->name());
    };
  }

  Form form;
  PageControl& pages = form.create<PageControl>("pgcPadrao");
  TabSheet& list = form.create<TabSheet>("tshFolhaDados", &pages);
  TabSheet& data = form.create<TabSheet>("tshFormulario", &pages);
  TabSheet& cnab = form.create<TabSheet>("tshCNAB", &pages);
  std::vector<std::string> log;
};

TEST_F(PageControlTest, firstPageIsInFrontAndOrderIsKept) {
  EXPECT_EQ(pages.activePage(), &list);
  EXPECT_EQ(pages.pages(), (std::vector<TabSheet*>{&list, &data, &cnab}));
  EXPECT_EQ(cnab.pageIndex(), 2);
}

TEST_F(PageControlTest, personSelectionRunsChangingThenChange) {
  EXPECT_TRUE(pages.userSelect(cnab));
  EXPECT_EQ(pages.activePage(), &cnab);
  EXPECT_EQ(log, (std::vector<std::string>{"changing from tshFolhaDados", "change to tshCNAB"}));
  log.clear();
  EXPECT_TRUE(pages.userSelect(cnab));  // the tab already in front: nothing happens
  EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, personCannotSelectDisabledOrHiddenTabs) {
  data.setEnabled(false);
  cnab.setTabVisible(false);
  EXPECT_FALSE(pages.userSelect(data));
  EXPECT_FALSE(pages.userSelect(cnab));
  pages.setEnabled(false);
  data.setEnabled(true);
  EXPECT_FALSE(pages.userSelect(data)) << "a disabled page control takes no clicks";
  EXPECT_EQ(pages.activePage(), &list);
  EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, programActivatesAnyPageWithoutChangeEvents) {
  data.setEnabled(false);
  cnab.setTabVisible(false);
  pages.setActivePage(&data);
  EXPECT_EQ(pages.activePage(), &data);
  pages.setActivePage(&cnab);
  EXPECT_EQ(pages.activePage(), &cnab);
  EXPECT_TRUE(cnab.isEffectivelyVisible());
  EXPECT_TRUE(log.empty());

  PageControl& another = form.create<PageControl>("pgcCNAB", &cnab);
  TabSheet& foreign = form.create<TabSheet>("tshDadosEmpr", &another);
  EXPECT_THROW(pages.setActivePage(&foreign), FormError);
}

TEST_F(PageControlTest, changingHandlerCanRefuseTheSelection) {
  pages.onChanging = [](PageControl&, bool& allow) { allow = false; };
  EXPECT_FALSE(pages.userSelect(data));
  EXPECT_EQ(pages.activePage(), &list);
  EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, clickingATabLeavesTheFocusedControlAndARaiseKeepsThePage) {
  Edit& code = form.create<Edit>("dbeCodigo", &list);
  ASSERT_TRUE(form.userFocus(code));
  code.onExit = [](Control&) { throw Error("Código deve ser informado."); };
  EXPECT_THROW(pages.userSelect(data), Error);
  EXPECT_EQ(pages.activePage(), &list);
  EXPECT_EQ(form.activeControl(), &code);
  EXPECT_TRUE(log.empty());

  code.onExit = nullptr;
  EXPECT_TRUE(pages.userSelect(data));
  EXPECT_EQ(form.activeControl(), &pages);
}

TEST_F(PageControlTest, controlsOfNestedPagesShowOnlyWhenEveryPageAboveIsInFront) {
  PageControl& inner = form.create<PageControl>("pgcCNAB", &cnab);
  form.create<TabSheet>("tshDadosEmpr", &inner);
  TabSheet& codes = form.create<TabSheet>("tshInstruCobr", &inner);
  Edit& edit = form.create<Edit>("dbeInst", &codes);

  inner.setActivePage(&codes);
  EXPECT_FALSE(edit.isEffectivelyVisible());
  pages.setActivePage(&cnab);
  EXPECT_TRUE(edit.isEffectivelyVisible());
  cnab.setEnabled(false);
  EXPECT_FALSE(edit.isEffectivelyEnabled());
}

TEST(Notebook, showsOnlyItsCurrentPage) {
  Form form;
  Notebook& book = form.create<Notebook>("ntbLayout");
  Page& itau = form.create<Page>("pagItau", &book);
  Page& caixa = form.create<Page>("pagCaixa", &book);
  Edit& onCaixa = form.create<Edit>("dbrIdPadrCnab", &caixa);

  EXPECT_EQ(book.pageIndex(), 0);
  EXPECT_EQ(book.activePage(), &itau);
  EXPECT_FALSE(onCaixa.isEffectivelyVisible());
  book.setPageIndex(1);
  EXPECT_TRUE(onCaixa.isEffectivelyVisible());
  EXPECT_THROW(book.setPageIndex(2), FormError);
  EXPECT_EQ(book.pageIndex(), 1);
}

TEST(Placement, pagesAndMenuItemsLiveOnlyInTheirOwners) {
  Form form;
  Panel& panel = form.create<Panel>("panMenu");
  EXPECT_THROW(form.create<TabSheet>("tshSolta"), FormError);
  EXPECT_THROW(form.create<TabSheet>("tshNoPainel", &panel), FormError);
  EXPECT_THROW(form.create<Page>("pagSolta", &panel), FormError);
  PageControl& pages = form.create<PageControl>("pgcPadrao", &panel);
  EXPECT_THROW(form.create<Edit>("dbeDireto", &pages), FormError);
  EXPECT_THROW(form.create<Edit>("dbeNoRotulo", &form.create<Label>("lblCodigo")), FormError);
  EXPECT_EQ(form.tryFindControl("tshSolta"), nullptr) << "a refused control is not kept";
}

}  // namespace
}  // namespace qbk::forms
