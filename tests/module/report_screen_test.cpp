// The bank report screen opened from the bank screen's print command, against a real
// server and database: the choice between all banks and a list, the check of that choice,
// the parameters the definition receives and the pages it prints.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "host/config.h"
#include "host/errors_ui.h"
#include "host/progress.h"
#include "host/report/report_output.h"
#include "module/report/tfrm_rel_banco.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using host::report::ReportAction;
using ::testing::ElementsAre;

class ReportScreenTest : public BankScreenTest {
 protected:
  void SetUp() override {
    BankScreenTest::SetUp();
    previous_ = host::report::setReportPresenter(
        [this](ReportAction action, const host::report::ReportRun&, const host::Screen* owner) {
          presented.push_back(action);
          EXPECT_EQ(owner, frmRelBanco);
        });
  }
  void TearDown() override {
    host::report::setReportPresenter(previous_);
    BankScreenTest::TearDown();
  }

  // The print command of the bank screen, as a person presses it.
  TfrmRelBanco& openReport() {
    if (!frmBanco) openScreen();
    EXPECT_TRUE(press("sbtImprimir"));
    EXPECT_NE(frmRelBanco, nullptr);
    EXPECT_EQ(host::Application::instance().modalScreen(), frmRelBanco);
    return report();
  }
  TfrmRelBanco& report() const { return dynamic_cast<TfrmRelBanco&>(*frmRelBanco); }
  void closeReport() {
    ASSERT_TRUE(host::runGuarded([&] { report().close(); }));
    host::Application::instance().processEvents();
    EXPECT_EQ(frmRelBanco, nullptr) << "the reference goes with the screen";
  }
  template <class T = forms::Control>
  T& on(std::string_view name) const {
    return report().form().find<T>(name);
  }
  bool click(std::string_view button) {
    bool clicked = false;
    const bool done =
        host::runGuarded([&] { clicked = on<forms::CommandButton>(button).userClick(); });
    return done && clicked;
  }
  bool tick(std::string_view radio) {
    return host::runGuarded([&] { on<forms::RadioButton>(radio).userClick(); });
  }
  // The banks the last run printed.
  std::vector<std::string> printed() const {
    std::vector<std::string> out;
    for (const data::Row& row : report().lastRun().value().data.rows)
      out.push_back(std::get<std::string>(row.at(0)));
    return out;
  }
  std::vector<std::string> banksInDatabase(const std::string& where = "1 = 1") {
    std::vector<std::string> out;
    for (const data::Row& row :
         query("SELECT CDBANCO FROM BANCO WHERE " + where + " ORDER BY CDBANCO").rows)
      out.push_back(std::get<std::string>(row.at(0)));
    return out;
  }
  // A report directory of the test's own, holding one QBK512 with the given query and
  // parameters.
  void useDefinition(const std::string& sql, const std::string& params) {
    const std::filesystem::path reports = dir.path() / "reports";
    std::filesystem::create_directories(reports);
    std::ofstream(reports / "QBK512.qr2")
        << R"({"title": "Banco", "query": {"sql": ")" << sql << R"(", "params": [)" << params
        << R"(]}, "columns": [{"field": "CDBANCO"}, {"field": "NMBANCO"}]})";
    host::HostConfig config = host::hostConfig();
    config.reportDir = reports.string();
    host::setHostConfig(config);
  }
  const host::report::ReportParameter& received(std::string_view name) const {
    return report().lastRun().value().params.ParamByName(name);
  }

  std::vector<ReportAction> presented;

 private:
  host::report::ReportPresenter previous_;
};

TEST_F(ReportScreenTest, printOpensTheScreenModallyWithTodosTickedAndTheSearchOff) {
  startServer();
  openScreen();
  EXPECT_TRUE(enabled("sbtImprimir"));
  TfrmRelBanco& r = openReport();
  EXPECT_EQ(r.caption(), "Banco");
  EXPECT_EQ(on("lblCodTela").caption(), "QBK51201");
  EXPECT_EQ(r.reportCode(), "QBK512");
  EXPECT_TRUE(on<forms::RadioButton>("rbtClienteTodos").checked());
  EXPECT_FALSE(on("BtpBanco").enabled());
  ASSERT_TRUE(tick("rbtBancoLista"));
  EXPECT_TRUE(on("BtpBanco").enabled());
  ASSERT_TRUE(tick("rbtClienteTodos"));
  EXPECT_FALSE(on("BtpBanco").enabled());

  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_EQ(printed(), banksInDatabase());
  EXPECT_EQ(received("TCDBANCO").value(), data::Value(std::string("T")));
  EXPECT_EQ(received("CDBANCO").value(), data::Value(std::string()));
  ASSERT_TRUE(click("sbtPreview"));
  EXPECT_THAT(presented, ElementsAre(ReportAction::Print, ReportAction::Preview));
  EXPECT_THAT(progressKinds(), ::testing::Contains(host::kAviFetch));
  closeReport();
}

TEST_F(ReportScreenTest, aChosenListPrintsThoseBanksAndOutlivesTheScreenUntilUnload) {
  startServer();
  openReport();
  const std::vector<std::string> banks = banksInDatabase();
  ASSERT_GE(banks.size(), 3u);
  ASSERT_TRUE(tick("rbtBancoLista"));
  ui.answerChooseMany(std::vector<int>{0, 2});
  ASSERT_TRUE(click("BtpBanco"));
  ASSERT_EQ(ui.events(host::UiEventKind::ChooseMany).size(), 1u);
  EXPECT_EQ(ui.events(host::UiEventKind::ChooseMany)[0].text, "Banco");
  EXPECT_EQ(ListaBanco, "'" + banks[0] + "','" + banks[2] + "'");
  // The picker's window closing activates the screen again: the choice must survive it.
  report().FormActivate();
  EXPECT_TRUE(on<forms::RadioButton>("rbtBancoLista").checked());
  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_THAT(printed(), ElementsAre(banks[0], banks[2]));
  EXPECT_EQ(received("TCDBANCO").value(), data::Value(std::string()));
  EXPECT_EQ(received("CDBANCO").value(), data::Value(ListaBanco));

  // "Todos" prints every bank although a list was chosen.
  ASSERT_TRUE(tick("rbtClienteTodos"));
  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_EQ(printed(), banks);
  closeReport();

  // Opened again: "Todos" ticked, and "Lista" prints the banks chosen before.
  openReport();
  EXPECT_TRUE(on<forms::RadioButton>("rbtClienteTodos").checked());
  ASSERT_TRUE(tick("rbtBancoLista"));
  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_THAT(printed(), ElementsAre(banks[0], banks[2]));
  // The picker starts from them.
  ui.answerChooseMany(std::nullopt);
  ASSERT_TRUE(click("BtpBanco"));
  EXPECT_THAT(ui.events(host::UiEventKind::ChooseMany)[1].preselected, ElementsAre(0, 2));
  closeReport();

  QbkModuleUnload();
  EXPECT_EQ(ListaBanco, "");
  QbkModuleLoad();
}

TEST_F(ReportScreenTest, listaWithNoBankIsRefusedWithTheFocusOnLista) {
  startServer();
  openReport();
  ASSERT_TRUE(tick("rbtBancoLista"));
  ASSERT_TRUE(tick("rbtClienteTodos"));
  ASSERT_TRUE(tick("rbtBancoLista"));
  on("cbbOpcao").setFocus();
  for (const char* command : {"sbtPrint", "sbtPreview", "sbtSalvarComo", "sbtReportEdit"}) {
    EXPECT_FALSE(click(command)) << command;
    EXPECT_TRUE(on("rbtBancoLista").focused()) << command;
    on("cbbOpcao").setFocus();
  }
  EXPECT_THAT(errors(), ElementsAre("Banco deve ser informado.", "Banco deve ser informado.",
                                    "Banco deve ser informado.", "Banco deve ser informado."));
  EXPECT_FALSE(report().lastRun().has_value());
  EXPECT_TRUE(presented.empty());
  EXPECT_TRUE(report().rpddPadrao.requests().empty());
  closeReport();
}

TEST_F(ReportScreenTest, parametersAreFilledOnlyWhereTheDefinitionDeclaresThem) {
  startServer();
  // No CDBANCO: neither bank parameter is touched, and the report runs.
  useDefinition("SELECT CDBANCO, NMBANCO FROM BANCO WHERE COALESCE(:TCDBANCO, 'N') = 'N'",
                R"({"name": "TCDBANCO"})");
  openReport();
  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_FALSE(received("TCDBANCO").assigned());
  EXPECT_EQ(printed(), banksInDatabase());

  // P_TESTE only with the second option, and only when declared.
  useDefinition(
      "SELECT CDBANCO, NMBANCO FROM BANCO WHERE (:TCDBANCO = 'T' OR CDBANCO IN (:CDBANCO)) "
      "AND COALESCE(:P_TESTE, 'N') = 'N'",
      R"({"name": "TCDBANCO"}, {"name": "CDBANCO", "type": "list"}, {"name": "P_TESTE"})");
  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_FALSE(received("P_TESTE").assigned());
  EXPECT_EQ(printed(), banksInDatabase());
  ASSERT_TRUE(host::runGuarded([&] { on<forms::ComboBox>("cbbOpcao").userPick(1); }));
  ASSERT_TRUE(click("sbtPrint"));
  EXPECT_EQ(received("P_TESTE").value(), data::Value(std::string("S")));
  EXPECT_TRUE(printed().empty());

  useDefinition("SELECT CDBANCO, NMBANCO FROM BANCO WHERE :TCDBANCO = 'T'",
                R"({"name": "TCDBANCO"})");
  ASSERT_TRUE(click("sbtPrint")) << "an option the definition does not take is no error";

  // CDBANCO without its partner: a clear error, nothing printed.
  useDefinition("SELECT CDBANCO, NMBANCO FROM BANCO WHERE CDBANCO IN (:CDBANCO)",
                R"({"name": "CDBANCO", "type": "list"})");
  presented.clear();
  EXPECT_FALSE(click("sbtPrint"));
  EXPECT_THAT(errors(), ElementsAre("Parâmetro 'TCDBANCO' não encontrado no relatório."));
  EXPECT_TRUE(presented.empty());
  closeReport();
}

TEST_F(ReportScreenTest, aMissingDefinitionNamesTheCodeAndTheDirectory) {
  startServer();
  const std::string empty = dir.file("vazio");
  std::filesystem::create_directories(empty);
  host::HostConfig config = host::hostConfig();
  config.reportDir = empty;
  host::setHostConfig(config);
  openReport();
  EXPECT_FALSE(click("sbtPreview"));
  EXPECT_FALSE(click("sbtReportEdit"));
  const std::string text =
      "O arquivo contendo a definição do Relatório de código 'QBK512' não "
      "foi encontrado no diretório '" +
      empty + "'.";
  EXPECT_THAT(errors(), ElementsAre(text, text));
  EXPECT_TRUE(presented.empty());
  closeReport();
}

TEST_F(ReportScreenTest, aLongListIsPrintedOnNumberedPagesAndTheDefinitionOpensForEditing) {
  startServer(/*demo=*/false);
  for (int i = 500; i < 700; ++i) insertBank(std::to_string(i), "Banco " + std::to_string(i));
  openReport();
  ASSERT_TRUE(click("sbtPrint"));
  const auto& run = report().lastRun().value();
  EXPECT_EQ(printed(), banksInDatabase());
  const int pages = static_cast<int>(run.document.pages.size());
  ASSERT_GE(pages, 3);
  for (int p = 0; p < pages; ++p) {
    bool numbered = false;
    for (const auto& box : run.document.pages[p].boxes)
      numbered = numbered || box.text == host::report::pageNumberText(p + 1, pages);
    EXPECT_TRUE(numbered) << "page " << p + 1;
  }

  ASSERT_TRUE(click("sbtReportEdit"));
  ASSERT_EQ(report().rpddPadrao.requests().size(), 1u);
  EXPECT_EQ(std::filesystem::path(report().rpddPadrao.requests()[0].path),
            std::filesystem::path(QBK_TEST_REPORT_DIR) / "QBK512.qr2");
  closeReport();
}

TEST_F(ReportScreenTest, salvarComoSavesACopyOfTheDefinitionUnderTheTitleTyped) {
  startServer();
  const std::filesystem::path reports = dir.path() / "reports";
  std::filesystem::create_directories(reports);
  std::filesystem::copy_file(std::filesystem::path(QBK_TEST_REPORT_DIR) / "QBK512.qr2",
                             reports / "QBK512.qr2");
  host::HostConfig config = host::hostConfig();
  config.reportDir = reports.string();
  host::setHostConfig(config);
  openReport();

  ui.answerAskText(std::nullopt);
  ASSERT_TRUE(click("sbtSalvarComo"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(reports), {}), 1);

  ui.answerAskText("Bancos do Sul");
  ASSERT_TRUE(click("sbtSalvarComo"));
  const auto asked = ui.events(host::UiEventKind::AskText);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].detail, "Título do Relatório");
  EXPECT_EQ(asked[1].text, "Informe o título do relatório:");
  const std::filesystem::path copy = reports / "QBK512-Bancos do Sul.qr2";
  ASSERT_EQ(report().savedCopy(), copy);
  const auto saved = host::report::loadReportDefinition(copy);
  const auto original = host::report::loadReportDefinition(reports / "QBK512.qr2");
  EXPECT_EQ(saved.title, "Bancos do Sul");
  EXPECT_EQ(original.title, "Banco");
  EXPECT_EQ(saved.sql, original.sql);
  EXPECT_EQ(saved.columns.size(), original.columns.size());

  // Saving under the same title again asks first; No keeps the copy there.
  std::filesystem::resize_file(copy, 10);
  ui.answerAskText("Bancos do Sul");
  ui.answerConfirm(false);
  ASSERT_TRUE(click("sbtSalvarComo"));
  EXPECT_EQ(std::filesystem::file_size(copy), 10u);
  closeReport();
}

}  // namespace
}  // namespace qbk::module::testing
