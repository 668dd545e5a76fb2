// Opening, activating and closing the bank screen through the module's entry.
#include <gmock/gmock.h>

#include "host/config.h"
#include "host/local_cache.h"
#include "host/net_connection.h"
#include "host/progress.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;

// A second child window to switch to, as a person does in the host.
class OtherScreen : public host::Screen {
 public:
  using Screen::Screen;
  std::string resourceName() const override { return "OutraTela"; }
};

void registerOtherScreen() {
  auto& app = host::Application::instance();
  app.builder().addResource("OutraTela", R"({"class": "TForm", "name": "frmOutra"})");
  app.registerScreen("OutraTela",
                     [](host::Application& a) { return std::make_unique<OtherScreen>(a); });
}

TEST_F(BankScreenTest, firstActivationOnAnEmptyDatabaseSavesTheFixedFundBank) {
  startServer(/*demo=*/false);
  TfrmBanco& s = openScreen();

  const db::Result bank = query(
      "SELECT NMBANCO, CDPICTCONT, CDBANCCNAB, CDPICTAGEN, DSARQCHEQUE, CDBANCOCONV "
      "FROM BANCO WHERE CDBANCO = '999'");
  ASSERT_EQ(bank.rows.size(), 1u);
  EXPECT_EQ(bank.rows[0][0], data::Value("Banco Fundo Fixo"));
  EXPECT_EQ(bank.rows[0][1], data::Value("9999-9"));
  EXPECT_EQ(bank.rows[0][2], data::Value("999"));
  EXPECT_EQ(bank.rows[0][3], data::Value("9999"));
  EXPECT_TRUE(data::isNull(bank.rows[0][4])) << "blank optional fields are saved as null";
  EXPECT_TRUE(data::isNull(bank.rows[0][5]));

  // Saved and merged: the screen is back in browse on the list, nothing pending.
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
  EXPECT_EQ(s.bank().cdsBanco.changeCount(), 0);
  EXPECT_EQ(mainTab()->name(), "tshFolhaDados");
  EXPECT_THAT(column("dbgPadrao"), ElementsAre("999"));
  EXPECT_FALSE(s.primeiraAtivacao());
  EXPECT_EQ(host::localCache().invalidations("BANCO"), 1);
  // Connecting, fetching the list, sending the new bank; each indicator hidden again.
  EXPECT_THAT(progressKinds(), ElementsAre(host::kAviConnect, host::kAviFetch, host::kAviUpdate));
  EXPECT_FALSE(ui.progressVisible());
  EXPECT_EQ(ui.unmatchedHides(), 0);
  EXPECT_TRUE(errors().empty());
}

TEST_F(BankScreenTest, firstActivationAddsTheFixedFundBankBesideExistingBanks) {
  startServer();
  const int before = count("BANCO");
  openScreen();
  EXPECT_EQ(count("BANCO"), before + 1);
  EXPECT_EQ(count("BANCO", "CDBANCO = '999' AND CDPICTAGEN = '9999'"), 1);
  EXPECT_EQ(column("dbgPadrao").size(), static_cast<std::size_t>(before + 1));
}

TEST_F(BankScreenTest, firstActivationWithTheFixedFundBankPresentInsertsNothing) {
  startServer();
  exec(
      "INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB) "
      "VALUES ('999', 'Fundo Fixo da Casa', '9999-9', '99999-9', '999')");
  const int before = count("BANCO");
  TfrmBanco& s = openScreen();

  EXPECT_EQ(count("BANCO"), before);
  EXPECT_EQ(count("BANCO", "CDBANCO = '999' AND NMBANCO = 'Fundo Fixo da Casa'"), 1);
  EXPECT_EQ(host::localCache().invalidations("BANCO"), 0);
  EXPECT_EQ(s.bank().cdsBanco.recordCount(), before);
  EXPECT_THAT(progressKinds(), ElementsAre(host::kAviConnect, host::kAviFetch));
}

TEST_F(BankScreenTest, laterActivationsNeitherFetchNorCreateAgain) {
  startServer();
  registerOtherScreen();
  TfrmBanco& s = openScreen();
  const int shown = s.bank().cdsBanco.recordCount();

  // Someone else adds a bank; switching away and back only repaints.
  insertBank("555", "Banco Novo");
  auto& other = host::Application::instance().createScreen("OutraTela");
  other.show();
  const int repaints = s.form().repaintCount();
  s.show();

  EXPECT_EQ(host::Application::instance().activeScreen(), &s);
  EXPECT_EQ(s.bank().cdsBanco.recordCount(), shown);
  EXPECT_GT(s.form().repaintCount(), repaints);
  EXPECT_EQ(host::localCache().invalidations("BANCO"), 1);
  EXPECT_THAT(progressKinds(), ElementsAre(host::kAviConnect, host::kAviFetch, host::kAviUpdate));
}

TEST_F(BankScreenTest, theEntryOpensOneScreenAndAClosedScreenIsCreatedAnew) {
  startServer();
  TfrmBanco& first = openScreen();
  EXPECT_TRUE(BancoCriado);

  // A minimised screen is brought back by the entry, without a second one.
  host::Application::instance().setWindowState(first, host::WindowState::Minimized);
  IniProc();
  EXPECT_EQ(frmBanco, &first);
  EXPECT_EQ(first.windowState(), host::WindowState::Normal);
  EXPECT_EQ(host::Application::instance().screens().size(), 1u);
  EXPECT_EQ(progressKinds().size(), 3u) << "no second connection or fetch";

  ASSERT_TRUE(press("sbtFechar"));
  EXPECT_FALSE(BancoCriado);
  EXPECT_EQ(frmBanco, nullptr);
  host::Application::instance().processEvents();

  TfrmBanco& second = openScreen();
  EXPECT_TRUE(BancoCriado);
  EXPECT_TRUE(second.netBanco.connected());
  EXPECT_FALSE(second.primeiraAtivacao());
  EXPECT_FALSE(column("dbgPadrao").empty());
  // The new screen connected and fetched again; the fixed-fund bank exists by now.
  EXPECT_THAT(progressKinds(), ElementsAre(host::kAviConnect, host::kAviFetch, host::kAviUpdate,
                                           host::kAviConnect, host::kAviFetch));
}

TEST_F(BankScreenTest, closingDisconnectsFromTheServer) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(s.netBanco.connected());
  host::NetConnection* net = &s.netBanco;
  bool disconnected = false;
  host::Application::instance().observe([&](host::Application&, host::AppEvent e, host::Screen*) {
    if (e == host::AppEvent::ScreenClosed) disconnected = !net->connected();
  });
  ASSERT_TRUE(press("sbtFechar"));
  EXPECT_TRUE(disconnected);
}

TEST_F(BankScreenTest, aServerThatCannotBeReachedLeavesNoScreenAndTheNextEntryTriesAgain) {
  startServer();
  host::HostConfig config = host::hostConfig();
  const int port = config.webPort;
  config.webPort = 1;  // nothing listens there
  host::setHostConfig(config);

  EXPECT_THROW(IniProc(), host::ConnectionError);
  EXPECT_FALSE(BancoCriado);
  EXPECT_EQ(frmBanco, nullptr);
  EXPECT_TRUE(host::Application::instance().screens().empty());
  EXPECT_FALSE(ui.progressVisible());

  config.webPort = port;
  host::setHostConfig(config);
  TfrmBanco& s = openScreen();
  EXPECT_TRUE(s.netBanco.connected());
  EXPECT_EQ(s.netBanco.port, port) << "host and port are read just before connecting";
}

TEST_F(BankScreenTest, theScreenComesFromItsResourceWithTheMessageTable) {
  startServer();
  TfrmBanco& s = openScreen();

  EXPECT_EQ(s.caption(), "Banco");
  EXPECT_EQ(ctl("lblCodTela").caption(), "QBK51200");
  const auto tabs = ctl<forms::PageControl>("pgcPadrao").pages();
  ASSERT_EQ(tabs.size(), 4u);
  EXPECT_EQ(tabs[1]->caption(), "Dados Principais");
  EXPECT_EQ(tabs[2]->caption(), "CNAB");
  EXPECT_EQ(tabs[3]->caption(), "DDA");
  EXPECT_EQ(ctl<forms::MenuItem>("mnuEdit").shortcut(), forms::parseShortcut("Ctrl+E"));
  EXPECT_TRUE(ctl<forms::MenuItem>("mnuManutencao")
                  .items()
                  .at(ctl<forms::MenuItem>("mnuManutencao").items().size() - 2)
                  ->isSeparator());

  // Every entry, in stored order, texts exactly as stored.
  ASSERT_EQ(s.msgPadrao.size(), 42);
  EXPECT_EQ(s.msgPadrao.keys().front(), "CdBanc_inv");
  EXPECT_EQ(s.msgPadrao.keys().back(), "Dir_N_Existe");
  EXPECT_EQ(s.msgPadrao.Msg("DIG_INV"),
            "Quantidade de dígitos de controle deve estar entre 1 e 2'.");
  EXPECT_EQ(s.msgPadrao.Msg("Bcomp_inf"), "Modelo de Boleto Completo deve ser informado. ");
  EXPECT_EQ(s.msgPadrao.Msg("Desc_ni"), "Descrição deve ser informada");
  EXPECT_EQ(s.msgPadrao.Msg("MASK_INV"), "Máscara C/C inválida.");
  EXPECT_EQ(s.msgPadrao.Msg("Arq_Rel_Err"), "Arquivo informado não encontrado.");
}

TEST_F(BankScreenTest, moduleCodeSlashHidesTheCnabTabAndNeverOffersModelEditing) {
  startServer(/*demo=*/true, "/");
  openScreen();
  EXPECT_FALSE(ctl<forms::TabSheet>("tshCNAB").tabVisible());
  EXPECT_FALSE(selectTab("tshCNAB"));

  auto modelEditOff = [&](const char* when) {
    EXPECT_FALSE(enabled("sbtEdit")) << when;
    EXPECT_FALSE(enabled("mnuEdit")) << when;
  };
  modelEditOff("browse");
  ASSERT_TRUE(press("sbtAlterar"));
  modelEditOff("edit");
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  modelEditOff("back in browse");
  ASSERT_TRUE(selectTab("tshDDA"));
  modelEditOff("DDA tab");
  // The CNAB entries of the menu still lead to its pages.
  ASSERT_TRUE(choose("mnuInstruCobr"));
  modelEditOff("instructions");
}

}  // namespace
}  // namespace qbk::module::testing
