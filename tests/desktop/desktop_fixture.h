// The desktop as a person meets it: the real qbk-server on a fresh database, the host's
// main window loading the bank module from its library, and a scripted person answering
// the questions (real message boxes would wait for a click).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "db/connection.h"
#include "desktop/main_window.h"
#include "desktop/module_loader.h"
#include "desktop/screen_window.h"
#include "host/screens/application.h"
#include "host/user_interface_scripted.h"
#include "support/server_process.h"
#include "support/temp_dir.h"

namespace qbk::desktop::testing {

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The bank screen opened from the main window's menu.
  ScreenWindow& openBankScreen();
  ScreenWindow* bankWindow() const;
  host::Screen& bankScreen() const;
  template <class W = QWidget>
  W* widget(std::string_view control) const {
    QWidget* w = bankWindow()->view().renderer().widgetFor(control);
    return qobject_cast<W*>(w);
  }
  forms::Control& control(std::string_view name) const;

  // A person's hands on the real widgets.
  void click(std::string_view button);
  void typeInto(std::string_view edit, const QString& text);
  void clickTab(std::string_view sheet);
  // The widget with the keyboard focus, as Qt sees it.
  QWidget* focusWidget() const { return QApplication::focusWidget(); }

  int count(const std::string& where);

  ::qbk::testing::TempDir dir;
  std::string dbPath;
  host::ScriptedUserInterface ui;
  std::unique_ptr<host::Application> app;
  std::unique_ptr<ModuleLoader> modules;
  std::unique_ptr<MainWindow> window;

 private:
  std::unique_ptr<qbk::testing::ServerProcess> server_;
  std::optional<host::UserInterfaceScope> uiScope_;
  std::unique_ptr<db::Connection> db_;
};

}  // namespace qbk::desktop::testing
