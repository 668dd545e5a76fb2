#include "scenario/bank_screen_fixture.h"

#include <cstdlib>
#include <string_view>

#include "host/config.h"
#include "host/errors_ui.h"
#include "host/local_cache.h"

namespace qbk::module::testing {

bool BankScreenTest::onPostgres() {
  const char* engine = std::getenv("QBK_SCENARIO_ENGINE");
  return engine && std::string_view(engine) == "postgresql";
}

void BankScreenTest::SetUp() {
  if (onPostgres()) {
    postgres_ = std::make_unique<::qbk::testing::PostgresScratch>();
    QBK_REQUIRE_POSTGRES(*postgres_);
    dbPath = postgres_->location();
  } else {
    dbPath = dir.file("banco.db");
  }
  uiScope_.emplace(ui);
  host::localCache().clear();
  app_ = std::make_unique<host::Application>();
  QbkModuleLoad();
}

void BankScreenTest::TearDown() {
  QbkModuleUnload();
  app_.reset();
  server_.reset();
  db_.reset();
  postgres_.reset();
  host::setHostConfig({});
  EXPECT_NO_THROW(ui.verifyDone());
  uiScope_.reset();
}

void BankScreenTest::startServer(bool demo, const std::string& moduloAtiv) {
  server_ = std::make_unique<::qbk::testing::ServerProcess>(dbPath, demo, dir.file("server.log"));
  host::HostConfig config;
  config.webUrl = "127.0.0.1";
  config.webPort = server_->port();
  config.moduloAtiv = moduloAtiv;
  config.database = dbPath;
  config.reportDir = QBK_TEST_REPORT_DIR;
  host::setHostConfig(config);
  db_ = db::open(dbPath);
}

TfrmBanco& BankScreenTest::openScreen() {
  IniProc();
  return screen();
}

TfrmBanco& BankScreenTest::screen() const {
  if (!frmBanco) throw std::logic_error("a tela do banco não está aberta");
  return *frmBanco;
}

void BankScreenTest::exec(const std::string& sql, const std::vector<data::Value>& params) {
  db_->execute(sql, params);
}

db::Result BankScreenTest::query(const std::string& sql, const std::vector<data::Value>& params) {
  return db_->query(sql, params);
}

int BankScreenTest::count(const std::string& table, const std::string& where,
                          const std::vector<data::Value>& params) {
  const db::Result r = query("SELECT COUNT(*) FROM " + table + " WHERE " + where, params);
  return static_cast<int>(std::get<double>(r.rows.at(0).at(0)));
}

void BankScreenTest::insertBank(const std::string& code, const std::string& name) {
  exec(
      "INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB) "
      "VALUES (?, ?, '9999', '9999-9', ?)",
      {code, name, code});
}

bool BankScreenTest::press(std::string_view button) {
  bool clicked = false;
  const bool done =
      host::runGuarded([&] { clicked = ctl<forms::CommandButton>(button).userClick(); });
  return done && clicked;
}

bool BankScreenTest::choose(std::string_view menuItem) {
  bool clicked = false;
  const bool done = host::runGuarded([&] { clicked = ctl<forms::MenuItem>(menuItem).userClick(); });
  return done && clicked;
}

bool BankScreenTest::selectTab(std::string_view sheet) {
  auto& page = ctl<forms::TabSheet>(sheet);
  bool selected = false;
  const bool done = host::runGuarded([&] { selected = page.pageControl().userSelect(page); });
  return done && selected;
}

bool BankScreenTest::typeInto(std::string_view edit, std::string_view text) {
  int typed = 0;
  const bool done = host::runGuarded([&] { typed = ctl<forms::Edit>(edit).typeText(text); });
  return done && typed > 0;
}

bool BankScreenTest::keyDown(std::string_view grid, int key, forms::Shift shift) {
  bool acted = false;
  const bool done = host::runGuarded([&] { acted = ctl<forms::Grid>(grid).keyDown(key, shift); });
  return done && acted;
}

bool BankScreenTest::typeIntoGrid(std::string_view grid, std::string_view text) {
  int typed = 0;
  const bool done = host::runGuarded([&] { typed = ctl<forms::Grid>(grid).typeText(text); });
  return done && typed > 0;
}

bool BankScreenTest::goToBank(std::string_view code) {
  auto& grid = ctl<forms::Grid>("dbgPadrao");
  const std::vector<std::string> codes = column("dbgPadrao");
  const auto it = std::find(codes.begin(), codes.end(), code);
  if (it == codes.end()) return false;
  const int target = static_cast<int>(it - codes.begin());
  while (grid.currentRow() != target) {
    const int before = grid.currentRow();
    if (!keyDown("dbgPadrao", before < target ? forms::vk::Down : forms::vk::Up)) return false;
    if (grid.currentRow() == before) return false;
  }
  return true;
}

std::vector<std::string> BankScreenTest::column(std::string_view grid, int col) const {
  const auto& g = ctl<forms::Grid>(grid);
  std::vector<std::string> out;
  for (int row = 0; row < g.rowCount(); ++row) out.push_back(g.cellText(row, col));
  return out;
}

std::vector<std::string> BankScreenTest::warnings() const {
  std::vector<std::string> out;
  for (const auto& e : ui.events(host::UiEventKind::Warning)) out.push_back(e.text);
  return out;
}

std::vector<int> BankScreenTest::progressKinds() const {
  std::vector<int> out;
  for (const auto& e : ui.events(host::UiEventKind::ShowProgress)) out.push_back(e.progressKind);
  return out;
}

}  // namespace qbk::module::testing
