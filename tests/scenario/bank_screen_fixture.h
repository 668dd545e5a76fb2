// Scenario tests of the bank screen: the real qbk-server on a temporary SQLite file, the
// host configured to reach it, a scripted person answering the questions, and the screen
// opened through the module's entry and driven through its controls only.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/value.h"
#include "db/connection.h"
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/keys.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "host/screens/application.h"
#include "host/user_interface_scripted.h"
#include "module/frame/module_entry.h"
#include "module/frame/tfrm_banco.h"
#include "support/postgres_scratch.h"
#include "support/server_process.h"
#include "support/temp_dir.h"

namespace qbk::module::testing {

class BankScreenTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the server on a fresh database (with the demo rows or empty) and points the
  // host's configuration at it. `moduloAtiv` is the host's active module code. The engine
  // is SQLite, or PostgreSQL when QBK_SCENARIO_ENGINE is "postgresql" (the suite runs
  // once for each; without a PostgreSQL server to test against those runs are skipped).
  void startServer(bool demo = true, const std::string& moduloAtiv = "F");
  // Opens the screen as the host does: the module's entry.
  TfrmBanco& openScreen();
  TfrmBanco& screen() const;
  static bool onPostgres();

  // ---- the database, beside the server ----------------------------------------------------
  void exec(const std::string& sql, const std::vector<data::Value>& params = {});
  db::Result query(const std::string& sql, const std::vector<data::Value>& params = {});
  int count(const std::string& table, const std::string& where = "1 = 1",
            const std::vector<data::Value>& params = {});
  // A bank with the masks every save check accepts.
  void insertBank(const std::string& code, const std::string& name);

  // ---- a person at the screen -------------------------------------------------------------
  // Each goes through the host's error boundary as the desktop's events do; true when it
  // ran to the end. A disabled control refuses the action: false.
  bool press(std::string_view button);
  bool choose(std::string_view menuItem);
  bool selectTab(std::string_view sheet);
  bool typeInto(std::string_view edit, std::string_view text);
  bool keyDown(std::string_view grid, int key, forms::Shift shift = {});
  bool typeIntoGrid(std::string_view grid, std::string_view text);
  // Moves the bank list to the row of a bank with the arrow keys.
  bool goToBank(std::string_view code);

  template <class T = forms::Control>
  T& ctl(std::string_view name) const {
    return screen().form().find<T>(name);
  }
  bool enabled(std::string_view name) const { return ctl(name).enabled(); }
  forms::TabSheet* mainTab() const { return ctl<forms::PageControl>("pgcPadrao").activePage(); }
  // The texts of a grid's first column, top to bottom.
  std::vector<std::string> column(std::string_view grid, int col = 0) const;

  // What the person saw: error boxes, warnings and the indicator kinds, in order.
  std::vector<std::string> errors() const { return ui.errors(); }
  std::vector<std::string> warnings() const;
  std::vector<int> progressKinds() const;

  ::qbk::testing::TempDir dir;
  std::string dbPath;  // the SQLite file, or the PostgreSQL location of the test's schema
  host::ScriptedUserInterface ui;

 private:
  std::optional<host::UserInterfaceScope> uiScope_;
  std::unique_ptr<::qbk::testing::PostgresScratch> postgres_;
  std::unique_ptr<::qbk::testing::ServerProcess> server_;
  std::unique_ptr<db::Connection> db_;
  std::unique_ptr<host::Application> app_;
};

}  // namespace qbk::module::testing
