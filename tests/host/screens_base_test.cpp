// The base maintenance screen: its resource, the command states of each mode, and the
// commands a person uses through the buttons, the menus and the list's keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/buttons.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "host/screens/application.h"
#include "host/screens/base_screen.h"
#include "host/user_interface_scripted.h"

namespace qbk::host {
namespace {

using data::DataSetState;
using data::FieldType;
using forms::CommandButton;
using forms::MenuItem;
using forms::TabSheet;

const std::vector<std::string> kCommands = {"Incluir",  "Alterar",  "Excluir", "Confirmar",
                                            "Cancelar", "Procurar", "Ordenar", "Verificar",
                                            "Imprimir", "Ajuda",    "Fechar"};

class BankLike : public TfrmPadrao {
 public:
  explicit BankLike(Application& app) : TfrmPadrao(app) {
    cds.addField("CDBANCO", FieldType::String, 3).displayLabel = "Código";
    cds.addField("NMBANCO", FieldType::String, 30).displayLabel = "Nome";
    dtsPadrao.setDataSet(&cds);
  }
  // Declared after the base's data source, so it goes first when the screen is destroyed.
  data::RecordSet cds{"cdsBanco"};

  int includes = 0;
  void sbtIncluirClick() override {
    ++includes;
    TfrmPadrao::sbtIncluirClick();
  }
};

class BaseScreenTest : public ::testing::Test {
 protected:
  static Application& withBankLike(Application& a) {
    a.registerScreen("TfrmPadrao", [](Application& x) { return std::make_unique<BankLike>(x); });
    return a;
  }

  void load(std::vector<std::pair<std::string, std::string>> rows) {
    data::Packet p{s.cds.fieldDefs(), {}};
    for (auto& [code, name] : rows) p.rows.push_back({code, name});
    s.cds.setData(p);
  }
  std::vector<std::string> enabledCommands() const {
    std::vector<std::string> out;
    for (const auto& c : kCommands)
      if (s.commandEnabled(c)) out.push_back(c);
    return out;
  }
  bool navigatorEnabled() const { return s.ctl<forms::Navigator>("dbnPadrao").enabled(); }
  TabSheet* front() const { return s.ctl<forms::PageControl>("pgcPadrao").activePage(); }
  bool click(const std::string& command) {
    return s.ctl<CommandButton>("sbt" + command).userClick();
  }

  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
  Application app;
  BankLike& s = withBankLike(app).create<BankLike>("TfrmPadrao");
};

TEST_F(BaseScreenTest, resourceLinksEveryCommandToItsMenuAndLeavesRoomBeforeImprimir) {
  for (const auto& c : kCommands) {
    auto& button = s.ctl<CommandButton>("sbt" + c);
    EXPECT_EQ(button.hint(), c);
    if (c == "Ajuda" || c == "Fechar") continue;
    ASSERT_NE(button.menuItem(), nullptr) << c;
    EXPECT_EQ(button.menuItem()->name(), "mnu" + c);
  }
  EXPECT_EQ(s.ctl<MenuItem>("mnuCancelar").caption(), "Ca&ncelar");
  EXPECT_EQ(s.ctl<TabSheet>("tshFolhaDados").caption(), "Lista");
  EXPECT_EQ(s.ctl<TabSheet>("tshFormulario").caption(), "Formulário");
  EXPECT_TRUE(s.ctl<forms::Grid>("dbgPadrao").readOnly());
  const auto& verificar = s.ctl<CommandButton>("sbtVerificar");
  EXPECT_GE(s.ctl<CommandButton>("sbtImprimir").left() - (verificar.left() + verificar.width()),
            2 * verificar.width())
      << "two screen buttons fit before Imprimir";
  EXPECT_EQ(front()->name(), "tshFolhaDados");
  EXPECT_TRUE(s.ctl<MenuItem>("mnuFolhaDados").checked());
}

TEST_F(BaseScreenTest, commandStatesFollowTheModeOfTheMainSet) {
  EXPECT_EQ(enabledCommands(), (std::vector<std::string>{"Fechar"})) << "inactive";
  EXPECT_FALSE(s.ctl<MenuItem>("mnuIncluir").enabled());

  load({});
  EXPECT_EQ(enabledCommands(),
            (std::vector<std::string>{"Incluir", "Procurar", "Ordenar", "Verificar", "Imprimir",
                                      "Ajuda", "Fechar"}));
  load({{"001", "Banco do Brasil"}, {"237", "Bradesco"}});
  EXPECT_EQ(enabledCommands().size(), 9u);
  EXPECT_TRUE(navigatorEnabled());

  s.cds.edit();
  EXPECT_EQ(enabledCommands(), (std::vector<std::string>{"Confirmar", "Cancelar"}));
  EXPECT_FALSE(navigatorEnabled());
  EXPECT_FALSE(s.ctl<MenuItem>("mnuIncluir").enabled()) << "the button follows its menu item";
  s.cds.post();
  EXPECT_EQ(enabledCommands().size(), 9u);
}

TEST_F(BaseScreenTest, incluirAlterarAndConfirmarWorkOnTheFormPage) {
  load({{"001", "Banco do Brasil"}});
  ASSERT_TRUE(click("Incluir"));
  EXPECT_EQ(s.includes, 1) << "the derived handler replaces the base's";
  EXPECT_EQ(s.cds.state(), DataSetState::Insert);
  EXPECT_EQ(front()->name(), "tshFormulario");
  EXPECT_TRUE(s.ctl<MenuItem>("mnuFormulario").checked());
  EXPECT_FALSE(s.ctl<MenuItem>("mnuFolhaDados").checked());
  s.cds.fieldByName("CDBANCO").setString("341");
  ASSERT_TRUE(s.ctl<MenuItem>("mnuConfirmar").userClick());
  EXPECT_EQ(s.cds.state(), DataSetState::Browse);
  EXPECT_EQ(s.cds.recordCount(), 2);

  s.ctl<MenuItem>("mnuFolhaDados").click();
  EXPECT_EQ(front()->name(), "tshFolhaDados");
  ASSERT_TRUE(click("Alterar"));
  EXPECT_EQ(s.cds.state(), DataSetState::Edit);
  EXPECT_EQ(front()->name(), "tshFormulario");
  EXPECT_FALSE(click("Fechar")) << "a pending change is not dropped by closing";
}

TEST_F(BaseScreenTest, excluirAndCancelarGoAheadOnlyOnYes) {
  load({{"001", "Banco do Brasil"}, {"237", "Bradesco"}});
  ui.answerConfirm(false);
  click("Excluir");
  EXPECT_EQ(s.cds.recordCount(), 2);
  ui.answerConfirm(true);
  click("Excluir");
  EXPECT_EQ(s.cds.recordCount(), 1);
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Confirma a exclusão do registro?",
                                                     "Confirma a exclusão do registro?"}));

  ui.clearEvents();
  s.cds.edit();
  s.cds.fieldByName("NMBANCO").setString("Outro");
  s.sbtExcluirClick();  // while editing: asks nothing, deletes nothing
  EXPECT_TRUE(ui.messages().empty());
  ui.answerConfirm(false);
  click("Cancelar");
  EXPECT_EQ(s.cds.state(), DataSetState::Edit);
  EXPECT_EQ(s.cds.fieldByName("NMBANCO").asString(), "Outro");
  ui.answerConfirm(true);
  click("Cancelar");
  EXPECT_EQ(s.cds.state(), DataSetState::Browse);
  EXPECT_EQ(s.cds.fieldByName("NMBANCO").asString(), "Bradesco");
  EXPECT_EQ(ui.messages().back(), "Confirma o cancelamento das alterações?");

  s.cds.mergeChangeLog();  // as the screen's send would: a load never drops pending changes
  load({});
  ui.clearEvents();
  s.sbtExcluirClick();
  EXPECT_TRUE(ui.messages().empty()) << "nothing to delete, nothing asked";
  ui.verifyDone();
}

// The close box and the host's own closing go through the same question as Cancelar: an
// edit is never dropped unasked, and "No" keeps the window and the edit.
TEST_F(BaseScreenTest, closingWhileEditingAsksAndNoKeepsTheScreenAndTheEdit) {
  load({{"001", "Banco do Brasil"}});
  s.show();
  s.cds.edit();
  s.cds.fieldByName("NMBANCO").setString("Outro");

  ui.answerConfirm(false);
  EXPECT_FALSE(app.close(s));
  EXPECT_FALSE(s.closed());
  EXPECT_EQ(s.cds.state(), DataSetState::Edit);
  EXPECT_EQ(s.cds.fieldByName("NMBANCO").asString(), "Outro");
  ui.answerConfirm(false);
  EXPECT_FALSE(app.closeAll()) << "the host stays open too";
  EXPECT_EQ(app.screens().size(), 1u);
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Confirma o cancelamento das alterações?",
                                                     "Confirma o cancelamento das alterações?"}));

  ui.answerConfirm(true);
  EXPECT_TRUE(app.closeAll());
  EXPECT_TRUE(s.closed());
  EXPECT_EQ(s.cds.fieldByName("NMBANCO").asString(), "Banco do Brasil") << "cancelled";
  ui.verifyDone();
}

TEST_F(BaseScreenTest, closingWhileBrowsingAsksNothing) {
  load({{"001", "Banco do Brasil"}});
  s.show();
  EXPECT_TRUE(click("Fechar"));
  EXPECT_TRUE(s.closed());
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(BaseScreenTest, verificarShowsTheIndicatorAndHidesItAlsoOnError) {
  load({{"001", "Banco do Brasil"}});
  int reloads = 0;
  s.reloadMainData = [&] {
    ++reloads;
    EXPECT_TRUE(ui.progressVisible());
  };
  click("Verificar");
  EXPECT_EQ(reloads, 1);
  const auto shows = ui.events(UiEventKind::ShowProgress);
  ASSERT_EQ(shows.size(), 1u);
  EXPECT_EQ(shows[0].progressKind, 1);
  EXPECT_EQ(shows[0].text, "Atualizando dados...");

  s.reloadMainData = [] { throw Error("servidor fora do ar"); };
  EXPECT_THROW(click("Verificar"), Error);
  EXPECT_FALSE(ui.progressVisible());
  EXPECT_EQ(ui.unmatchedHides(), 0);
}

TEST_F(BaseScreenTest, listKeysAndProcurar) {
  load({{"001", "Banco do Brasil"}, {"237", "Bradesco"}, {"341", "Itaú"}});
  auto& grid = s.ctl<forms::Grid>("dbgPadrao");
  int key = forms::vk::Delete;
  s.dbgPadraoKeyDown(key, forms::Shift{.ctrl = true});
  EXPECT_EQ(key, forms::vk::Delete) << "the base leaves the key as it is";
  EXPECT_FALSE(grid.keyDown(forms::vk::Delete, forms::Shift{.ctrl = true}));
  EXPECT_EQ(s.cds.recordCount(), 3) << "the read-only list deletes nothing by itself";

  grid.keyDown(forms::vk::Return);
  EXPECT_EQ(front()->name(), "tshFormulario");

  ui.answerChoose(2);
  click("Procurar");
  EXPECT_EQ(s.cds.fieldByName("CDBANCO").asString(), "341");
  const auto asked = ui.events(UiEventKind::Choose);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "Procurar");
  EXPECT_EQ(asked[0].columns, (std::vector<std::string>{"Código", "Nome"}));
  EXPECT_EQ(asked[0].rows[1], (ChoiceRow{"237", "Bradesco"}));
}

}  // namespace
}  // namespace qbk::host
