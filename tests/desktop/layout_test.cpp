// The bank screen as a person sees it: every caption whole and clear of its neighbours on
// every tab, for each arrangement of the bank-specific panels, a window that grows showing
// more of the lists, and command pictures from the icon theme with the symbols behind.
#include <gmock/gmock.h>

#include <QAction>
#include <QHeaderView>
#include <QIcon>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QTableWidget>
#include <QToolButton>

#include "data/record_set.h"
#include "desktop/command_pictures.h"
#include "desktop/event_boundary.h"
#include "desktop_fixture.h"
#include "forms/buttons.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "layout_check.h"

namespace qbk::desktop::testing {
namespace {

using ::testing::IsEmpty;

class LayoutTest : public DesktopTest {
 protected:
  FormRenderer& renderer() { return bankWindow()->view().renderer(); }

  void goToBank(const std::string& code) {
    auto& grid = bankScreen().form().find<forms::Grid>("dbgPadrao");
    dispatch([&] { grid.dataSet()->locate({"CDBANCO"}, {data::Value(code)}); });
    QApplication::processEvents();
    ASSERT_EQ(grid.dataSet()->fieldByName("CDBANCO").asString(), code);
  }

  // Every page of the page control in turn, and within each the page controls it holds;
  // `check` runs with each innermost page in front.
  void everyPage(const std::string& pages, const std::function<void(const std::string&)>& check) {
    auto& control = bankScreen().form().find<forms::PageControl>(pages);
    for (forms::TabSheet* sheet : control.pages()) {
      if (!sheet->tabVisible() || !sheet->enabled()) continue;
      clickTab(sheet->name());
      ASSERT_EQ(control.activePage(), sheet);
      bool inner = false;
      for (const char* name : {"pgcCNAB", "pgcEmpresa"}) {
        auto* nested = bankScreen().form().tryFind<forms::PageControl>(name);
        if (nested && nested->parent() == sheet) {
          everyPage(name, check);
          inner = true;
        }
      }
      if (!inner) check(sheet->name());
    }
  }
};

TEST_F(LayoutTest, everyCaptionFitsClearOfItsNeighboursOnEveryTabOfEveryBankArrangement) {
  openBankScreen();
  // One bank of each arrangement of the CNAB panels. The screen leaves in place what a bank
  // does not set, so the order matters: 237 comes after 422, which hides the layout page
  // that the 237 payment layout moves onto, and before 104, which moves the bank data up
  // onto the 237 scheduling pattern.
  for (const char* bank : {"999", "001", "341", "399", "422", "237", "104"}) {
    SCOPED_TRACE(bank);
    goToBank(bank);
    everyPage("pgcPadrao", [&](const std::string& page) {
      EXPECT_THAT(layoutFaults(renderer()), IsEmpty()) << "bank " << bank << ", page " << page;
    });
    clickTab("tshFolhaDados");
  }
}

TEST_F(LayoutTest, theMainWindowHoldsTheScreenAndALargerWindowShowsMoreOfTheLists) {
  ScreenWindow& w = openBankScreen();
  // The screen opens whole, unless the main window already fills the display.
  const QRect room = window->area()->viewport()->rect();
  const QSize display = window->screen()->availableGeometry().size();
  if (w.geometry().right() > room.right()) {
    EXPECT_GE(window->width(), display.width());
  }
  if (w.geometry().bottom() > room.bottom()) {
    EXPECT_GE(window->height(), display.height());
  }

  auto* banks = widget<QTableWidget>("dbgPadrao");
  auto rowsShown = [](QTableWidget* t) {
    return t->viewport()->height() / t->verticalHeader()->defaultSectionSize();
  };
  const int before = rowsShown(banks);
  clickTab("tshCNAB");
  clickTab("tshInstruCobr");
  auto* instructions = widget<QTableWidget>("dbgInstruCobr");
  const int instructionsBefore = rowsShown(instructions);
  const int commandBarWidth = widget("panMenu")->width();
  auto toTheRight = [&] {
    return widget("panMenu")->width() - widget("lblCodTela")->geometry().right();
  };
  const int codeToTheRight = toTheRight();

  window->resize(window->size() + QSize(400, 300));
  w.showMaximized();
  QApplication::processEvents();
  EXPECT_GT(rowsShown(instructions), instructionsBefore);
  EXPECT_GT(widget("panMenu")->width(), commandBarWidth);
  EXPECT_EQ(toTheRight(), codeToTheRight) << "the screen code keeps to the right edge";
  clickTab("tshFolhaDados");
  EXPECT_GT(rowsShown(banks), before);
  EXPECT_THAT(layoutFaults(renderer()), IsEmpty());
}

TEST_F(LayoutTest, theMainWindowComesBackAtTheSizeAndPlaceItWasLeftAt) {
  QSettings settings(QString::fromStdString(dir.file("qbk-host.ini")), QSettings::IniFormat);
  window->resize(600, 400);
  window->move(40, 30);
  QApplication::processEvents();
  window->saveGeometryTo(settings);

  MainWindow again(*app, *modules);
  again.restoreGeometryFrom(settings);
  EXPECT_EQ(again.size(), QSize(600, 400));
  // Give or take the frame a window system draws around it.
  EXPECT_LE((again.pos() - window->pos()).manhattanLength(), 8);
}

TEST_F(LayoutTest, commandsShowTheThemesIconOrTheirSymbolAndKeepTheirHints) {
  auto check = [&](bool themed) {
    openBankScreen();
    int buttons = 0;
    for (forms::Control* c : bankScreen().form().controls()) {
      auto* command = dynamic_cast<forms::CommandButton*>(c);
      if (!command || command->glyph().empty()) continue;
      ++buttons;
      auto* b = widget<QToolButton>(c->name());
      const bool hasIcon = themed && !themeIconFor(command->glyph()).isNull();
      EXPECT_EQ(b->icon().isNull(), !hasIcon) << c->name();
      if (hasIcon) {
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonIconOnly) << c->name();
      } else {
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextOnly) << c->name();
        EXPECT_EQ(b->text(), symbolFor(command->glyph())) << c->name();
      }
      EXPECT_EQ(b->toolTip().toStdString(), c->hint()) << c->name();
      // The menu entry the button follows shows the same picture.
      if (forms::MenuItem* item = command->menuItem()) {
        EXPECT_FALSE(renderer().actionFor(*item)->icon().isNull()) << item->name();
      }
    }
    EXPECT_GT(buttons, 10);
    bankWindow()->close();
    QApplication::processEvents();
  };

  // Without any theme every command shows its symbol.
  const QStringList paths = QIcon::themeSearchPaths();
  const QString fallback = QIcon::fallbackThemeName();
  QIcon::setThemeSearchPaths({});
  check(false);
  QIcon::setThemeSearchPaths(paths);
  useInstalledIconThemes();
  check(true);
  QIcon::setFallbackThemeName(fallback);
}

}  // namespace
}  // namespace qbk::desktop::testing
