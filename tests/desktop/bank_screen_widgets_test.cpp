// The bank screen driven through real widgets: what a person clicks and types must reach
// the module's handlers, and what the module decides must show on the widgets.
#include <gmock/gmock.h>

#include <QLineEdit>
#include <QMdiArea>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include "desktop_fixture.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/pages.h"

namespace qbk::desktop::testing {
namespace {

using ::testing::IsEmpty;
using ::testing::Not;

forms::TabSheet* mainTab(host::Screen& s) {
  return s.form().find<forms::PageControl>("pgcPadrao").activePage();
}

TEST_F(DesktopTest, theMenuOpensOneBankScreenAndTheTitlesNameIt) {
  ScreenWindow& w = openBankScreen();
  EXPECT_EQ(w.windowTitle(), "Banco");
  EXPECT_EQ(window->windowTitle(), "Qbk - [Banco]");

  // A second opening brings the same screen back instead of a new one.
  w.showMinimized();
  ASSERT_TRUE(window->openScreen("QBK51200"));
  EXPECT_EQ(window->area()->subWindowList().size(), 1);
  EXPECT_EQ(bankWindow(), &w);
  EXPECT_FALSE(w.isMinimized());

  // The list shows the demo banks under the fields' labels, on the current bank's row.
  auto* grid = widget<QTableWidget>("dbgPadrao");
  ASSERT_NE(grid, nullptr);
  auto& g = control("dbgPadrao");
  auto& headless = dynamic_cast<forms::Grid&>(g);
  EXPECT_GT(grid->rowCount(), 1);
  EXPECT_EQ(grid->rowCount(), headless.rowCount());
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text().toStdString(), headless.columnTitle(0));
  EXPECT_EQ(grid->currentRow(), headless.currentRow());

  // Closing the window closes the screen; the next opening makes a new one.
  w.close();
  QApplication::processEvents();
  EXPECT_TRUE(app->screens().empty());
  EXPECT_EQ(window->windowTitle(), "Qbk");
  ASSERT_TRUE(window->openScreen("QBK51200"));
  EXPECT_EQ(app->screens().size(), 1u);
}

TEST_F(DesktopTest, closingTheMainWindowClosesTheScreenThroughItsOwnClosing) {
  openBankScreen();
  EXPECT_TRUE(window->close());
  QApplication::processEvents();
  EXPECT_TRUE(app->screens().empty());
  EXPECT_EQ(app->pendingReleases(), 0);
}

TEST_F(DesktopTest, aGridRowClickedBecomesTheCurrentBankAndArrowKeysMoveBoth) {
  openBankScreen();
  auto* grid = widget<QTableWidget>("dbgPadrao");
  auto& headless = dynamic_cast<forms::Grid&>(control("dbgPadrao"));
  ASSERT_GT(grid->rowCount(), 2);

  const QRect cell = grid->visualItemRect(grid->item(2, 0));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QApplication::processEvents();
  EXPECT_EQ(headless.currentRow(), 2);
  EXPECT_EQ(headless.dataSet()->recNo(), 3);

  QTest::keyClick(grid, Qt::Key_Up);
  QApplication::processEvents();
  EXPECT_EQ(headless.currentRow(), 1);
  EXPECT_EQ(grid->currentRow(), 1);
}

TEST_F(DesktopTest, aBankTypedIntoTheWidgetsIsSavedOnTheServer) {
  openBankScreen();
  click("sbtIncluir");
  EXPECT_EQ(mainTab(bankScreen())->name(), "tshFormulario");
  typeInto("dbeCodigo", "123");
  typeInto("dbeBanco", "Banco Digitado");
  typeInto("dbeMascaraCC", "9999-9");
  typeInto("dbeMascAgencia", "9999");
  typeInto("dbeBancCNAB", "123");
  EXPECT_EQ(widget<QLineEdit>("dbeBanco")->text(), "Banco Digitado");
  click("sbtConfirmar");

  EXPECT_THAT(ui.errors(), IsEmpty());
  EXPECT_EQ(count("CDBANCO = '123' AND NMBANCO = 'Banco Digitado'"), 1);
  auto* grid = widget<QTableWidget>("dbgPadrao");
  EXPECT_FALSE(grid->findItems("Banco Digitado", Qt::MatchExactly).isEmpty());
}

TEST_F(DesktopTest, aRefusedSaveShowsItsMessageAndPutsTheFocusOnTheField) {
  openBankScreen();
  click("sbtIncluir");
  typeInto("dbeCodigo", "124");
  click("sbtConfirmar");  // no name

  ASSERT_THAT(ui.errors(), Not(IsEmpty()));
  EXPECT_EQ(count("CDBANCO = '124'"), 0);
  forms::Control* active = bankScreen().form().activeControl();
  ASSERT_NE(active, nullptr);
  EXPECT_NE(active->name(), "dbeCodigo");
  QApplication::processEvents();
  EXPECT_EQ(focusWidget(), widget(active->name()));
}

TEST_F(DesktopTest, leavingAnEditWhoseExitHandlerRefusesKeepsTheFocusThere) {
  openBankScreen();
  click("sbtIncluir");
  typeInto("dbeMascAgencia", "999999");  // longer than an agency mask may be
  ui.clearEvents();
  QTest::mouseClick(widget("dbeBanco"), Qt::LeftButton);
  QApplication::processEvents();
  QApplication::processEvents();

  EXPECT_THAT(ui.errors(), Not(IsEmpty()));
  EXPECT_EQ(bankScreen().form().activeControl()->name(), "dbeMascAgencia");
  EXPECT_EQ(focusWidget(), widget("dbeMascAgencia"));
}

TEST_F(DesktopTest, aTabTheModeDisablesCannotBeClicked) {
  openBankScreen();
  click("sbtIncluir");
  auto& cnab = bankScreen().form().find<forms::TabSheet>("tshCNAB");
  ASSERT_FALSE(cnab.enabled());
  const auto* before = mainTab(bankScreen());
  clickTab("tshCNAB");
  EXPECT_EQ(mainTab(bankScreen()), before);
  EXPECT_THAT(ui.errors(), IsEmpty());

  // Back in browse mode the same click goes through.
  ui.answerConfirm(true);
  click("sbtCancelar");
  ASSERT_TRUE(cnab.enabled());
  clickTab("tshCNAB");
  EXPECT_EQ(mainTab(bankScreen())->name(), "tshCNAB");
}

TEST_F(DesktopTest, aKeyTheScreenRefusesNeverReachesTheEdit) {
  openBankScreen();
  click("sbtIncluir");
  typeInto("dbeBancCNAB", "1a2-3");
  EXPECT_EQ(widget<QLineEdit>("dbeBancCNAB")->text(), "123");
  EXPECT_EQ(dynamic_cast<forms::Edit&>(control("dbeBancCNAB")).text(), "123");
}

TEST_F(DesktopTest, menuShortcutsAndTypingReachTheScreenAndItsStateShowsAtOnce) {
  openBankScreen();
  auto& form = bankScreen().form();
  auto* tabs = widget("pgcPadrao")->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
  const int cnab = form.find<forms::TabSheet>("tshCNAB").pageIndex();
  ASSERT_TRUE(tabs->isTabEnabled(cnab));

  // Ins is the shortcut of Incluir: the screen inserts, and what it disables is disabled
  // on the widgets before the next event.
  QTest::keyClick(widget("dbgPadrao"), Qt::Key_Insert);
  QApplication::processEvents();
  EXPECT_EQ(mainTab(bankScreen())->name(), "tshFormulario");
  EXPECT_FALSE(widget("sbtIncluir")->isEnabled());
  EXPECT_FALSE(tabs->isTabEnabled(cnab));
  EXPECT_EQ(tabs->currentIndex(), form.find<forms::TabSheet>("tshFormulario").pageIndex());

  // Esc cancels (after the question), and typing into a bank's name then starts an edit.
  ui.answerConfirm(true);
  QTest::keyClick(focusWidget(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(widget("sbtIncluir")->isEnabled());
  typeInto("dbeBanco", "X");
  EXPECT_TRUE(widget("sbtConfirmar")->isEnabled());
  EXPECT_FALSE(tabs->isTabEnabled(cnab));
}

}  // namespace
}  // namespace qbk::desktop::testing
