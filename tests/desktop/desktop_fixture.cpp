#include "desktop_fixture.h"

#include <QAction>
#include <QMdiArea>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "desktop/event_boundary.h"
#include "forms/pages.h"
#include "host/config.h"

namespace qbk::desktop::testing {

void DesktopTest::SetUp() {
  clearLastEscapedError();
  dbPath = dir.file("banco.db");
  server_ = std::make_unique<qbk::testing::ServerProcess>(dbPath, true);
  host::HostConfig config;
  config.webUrl = "127.0.0.1";
  config.webPort = server_->port();
  config.database = dbPath;
  host::setHostConfig(config);
  db_ = db::open(dbPath);
  uiScope_.emplace(ui);
  app = std::make_unique<host::Application>();
  modules = std::make_unique<ModuleLoader>(ModuleLoader::defaultDirectory());
  window = std::make_unique<MainWindow>(*app, *modules);
  window->show();
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void DesktopTest::TearDown() {
  EXPECT_EQ(lastEscapedError(), "") << "a failure got past the host's error boundary";
  window.reset();
  modules.reset();  // closes the screen while the application still exists
  app.reset();
  uiScope_.reset();
  server_.reset();
}

ScreenWindow& DesktopTest::openBankScreen() {
  auto* action = window->findChild<QAction*>("openQBK51200");
  EXPECT_NE(action, nullptr);
  action->trigger();
  ScreenWindow* w = bankWindow();
  if (!w) throw std::runtime_error("a tela do banco não abriu");
  QApplication::processEvents();
  return *w;
}

ScreenWindow* DesktopTest::bankWindow() const {
  for (host::Screen* s : app->screens()) {
    if (ScreenWindow* w = window->windowOf(*s)) return w;
  }
  return nullptr;
}

host::Screen& DesktopTest::bankScreen() const {
  return bankWindow()->view().screen();
}

forms::Control& DesktopTest::control(std::string_view name) const {
  return bankScreen().form().find(name);
}

void DesktopTest::click(std::string_view button) {
  auto* b = widget<QToolButton>(button);
  ASSERT_NE(b, nullptr) << button;
  ASSERT_TRUE(b->isVisible() && b->isEnabled()) << button << " is not clickable";
  QTest::mouseClick(b, Qt::LeftButton);
  QApplication::processEvents();
}

void DesktopTest::typeInto(std::string_view edit, const QString& text) {
  QWidget* w = widget(edit);
  ASSERT_NE(w, nullptr) << edit;
  QTest::mouseClick(w, Qt::LeftButton);
  QApplication::processEvents();
  QTest::keyClicks(w, text);
  QApplication::processEvents();
}

void DesktopTest::clickTab(std::string_view sheet) {
  auto& page = bankScreen().form().find<forms::TabSheet>(sheet);
  QWidget* pages = bankWindow()->view().renderer().widgetFor(page.pageControl());
  auto* bar = pages->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_NE(bar, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page.pageIndex()).center());
  QApplication::processEvents();
}

int DesktopTest::count(const std::string& where) {
  auto r = db_->query("SELECT COUNT(*) FROM BANCO WHERE " + where, {});
  return static_cast<int>(std::get<double>(r.rows.at(0).at(0)));
}

}  // namespace qbk::desktop::testing
