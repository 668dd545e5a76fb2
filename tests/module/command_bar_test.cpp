// The command bar of the bank screen: the mode rules, and which record set each command
// acts on where the person is.
#include <gmock/gmock.h>

#include "host/local_cache.h"
#include "host/progress.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr const char* kExcl = "Confirma a exclusão do registro?";
constexpr const char* kCanc = "Confirma o cancelamento das alterações?";

// The controls whose enabled state the bank's mode decides.
struct ModeView {
  bool codigo, edit, atualizarMsg, lista, dependants, print;
};

class ModeRulesTest : public BankScreenTest {
 protected:
  ModeView view() const {
    auto all = [&](std::initializer_list<const char*> names) {
      bool on = true;
      for (const char* n : names) on = on && enabled(n);
      return on;
    };
    auto none = [&](std::initializer_list<const char*> names) {
      for (const char* n : names)
        if (enabled(n)) return false;
      return true;
    };
    auto same = [&](std::initializer_list<const char*> names) { return all(names) || none(names); };
    EXPECT_TRUE(same({"dbeCodigo", "lblCodigo"}));
    EXPECT_TRUE(same({"sbtEdit", "mnuEdit"}));
    // With banks the list tab's menu item goes with it (with none, only the tabs change).
    if (!screen().bank().cdsBanco.isEmpty()) {
      EXPECT_TRUE(same({"tshFolhaDados", "mnuFolhaDados"}));
    }
    const std::initializer_list<const char*> dependants = {
        "tshCNAB",    "tshDDA",       "tshDadosEmpr",      "tshErroRetornoPag", "tshErroRetornoRec",
        "mnuCNABPag", "mnuDadosEmpr", "mnuErroRetornoPag", "mnuErroRetornoRec"};
    EXPECT_TRUE(same(dependants));
    return {enabled("dbeCodigo"),
            enabled("sbtEdit"),
            enabled("sbtAtualizarMsg"),
            enabled("tshFolhaDados"),
            all(dependants),
            enabled("sbtImprimir") || enabled("mnuImprimir")};
  }
};

TEST_F(ModeRulesTest, browseEditAndInsertOfTheBanks) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(choose("mnuFormulario"));
  ASSERT_EQ(mainTab()->name(), "tshFormulario");

  ModeView v = view();
  EXPECT_FALSE(v.codigo);
  EXPECT_TRUE(v.edit);
  EXPECT_TRUE(v.atualizarMsg);
  EXPECT_TRUE(v.lista);
  EXPECT_TRUE(v.dependants);
  EXPECT_TRUE(v.print) << "browsing, the bank list can be printed";

  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Edit);
  v = view();
  EXPECT_FALSE(v.codigo) << "a saved bank's code never changes";
  EXPECT_FALSE(v.edit);
  EXPECT_FALSE(v.atualizarMsg);
  EXPECT_FALSE(v.lista);
  EXPECT_FALSE(v.dependants);
  EXPECT_FALSE(v.print);
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));

  ASSERT_TRUE(press("sbtIncluir"));
  ASSERT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Insert);
  v = view();
  EXPECT_TRUE(v.codigo);
  EXPECT_TRUE(ctl("dbeCodigo").focused()) << "the code is typed first";
  EXPECT_FALSE(v.edit);
  EXPECT_FALSE(v.atualizarMsg);
  EXPECT_FALSE(v.lista);
  EXPECT_FALSE(v.dependants);
  EXPECT_FALSE(v.print);
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));

  v = view();
  EXPECT_TRUE(v.edit);
  EXPECT_TRUE(v.dependants);
  EXPECT_TRUE(v.print);
  // Leaving the form tab takes the message refresh away; only the form tab brings it back.
  ASSERT_TRUE(selectTab("tshFolhaDados"));
  EXPECT_FALSE(enabled("sbtAtualizarMsg"));
  ASSERT_TRUE(selectTab("tshFormulario"));
  EXPECT_TRUE(enabled("sbtAtualizarMsg"));
}

TEST_F(ModeRulesTest, anEmptyBankListKeepsThePersonOnTheListUntilTheFirstBankIsTyped) {
  startServer(/*demo=*/false);
  TfrmBanco& s = openScreen();
  // Someone else removes every bank; reloading shows none.
  exec("DELETE FROM BANCO");
  ASSERT_TRUE(press("sbtVerificar"));
  ASSERT_TRUE(s.bank().cdsBanco.isEmpty());

  EXPECT_EQ(mainTab()->name(), "tshFolhaDados");
  const ModeView v = view();
  EXPECT_FALSE(v.lista);
  EXPECT_FALSE(enabled("tshFormulario"));
  EXPECT_FALSE(v.edit);
  // Nothing on the CNAB and DDA tabs can belong to no bank.
  EXPECT_FALSE(enabled("tshCNAB"));
  EXPECT_FALSE(enabled("tshDDA"));
  EXPECT_FALSE(v.dependants);
  for (const char* command : {"sbtAlterar", "sbtExcluir", "sbtProcurar", "sbtOrdenar"})
    EXPECT_FALSE(enabled(command)) << command;
  EXPECT_TRUE(enabled("sbtIncluir"));

  // The first bank: its form opens for typing even though the list is empty.
  ASSERT_TRUE(press("sbtIncluir"));
  EXPECT_EQ(mainTab()->name(), "tshFormulario");
  EXPECT_TRUE(enabled("tshFormulario"));
  ASSERT_TRUE(typeInto("dbeCodigo", "123"));
  ASSERT_TRUE(typeInto("dbeBanco", "Banco Primeiro"));
  ASSERT_TRUE(typeInto("dbeMascaraCC", "9999-9"));
  ASSERT_TRUE(typeInto("dbeMascAgencia", "9999"));
  ASSERT_TRUE(typeInto("dbeBancCNAB", "123"));
  ASSERT_TRUE(press("sbtConfirmar"));

  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(count("BANCO", "CDBANCO = '123' AND NMBANCO = 'Banco Primeiro'"), 1);
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
  EXPECT_TRUE(enabled("tshFolhaDados"));
}

TEST_F(ModeRulesTest, onTheDdaTabDeletionIsNeverOffered) {
  startServer();
  openScreen();
  ASSERT_TRUE(selectTab("tshDDA"));
  EXPECT_FALSE(enabled("sbtExcluir"));
  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_FALSE(enabled("sbtExcluir"));
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  EXPECT_FALSE(enabled("sbtExcluir"));
}

TEST_F(BankScreenTest, deletingABankAsksFirstAndSendsTheDeletion) {
  startServer();
  insertBank("123", "Banco de Teste");
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("123"));

  ui.answerConfirm(false);
  ASSERT_TRUE(press("sbtExcluir"));
  EXPECT_THAT(ui.messages(), ElementsAre(kExcl));
  EXPECT_EQ(count("BANCO", "CDBANCO = '123'"), 1);
  EXPECT_THAT(column("dbgPadrao"), Contains("123"));

  const int sent = host::localCache().invalidations("BANCO");
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtExcluir"));
  EXPECT_EQ(count("BANCO", "CDBANCO = '123'"), 0);
  EXPECT_THAT(column("dbgPadrao"), Not(Contains("123")));
  EXPECT_EQ(s.bank().cdsBanco.changeCount(), 0);
  EXPECT_EQ(host::localCache().invalidations("BANCO"), sent + 1);
  EXPECT_TRUE(errors().empty());
}

TEST_F(BankScreenTest, theFixedFundBankIsNeverDeleted) {
  startServer();
  exec(
      "INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB) "
      "VALUES ('999', 'Banco Fundo Fixo', '9999', '9999-9', '999')");
  exec(
      "INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('999', '01', "
      "'Protestar')");
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("999"));

  ui.answerConfirm(true);
  EXPECT_FALSE(press("sbtExcluir"));
  EXPECT_THAT(errors(), ElementsAre("Banco fundo fixo não pode ser excluído."));
  EXPECT_EQ(count("BANCO", "CDBANCO = '999'"), 1);
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);

  // Nor its collection instructions: the refusal comes before the instruction is deleted.
  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(selectTab("tshInstruCobr"));
  ASSERT_TRUE(enabled("sbtExcluir"));
  ui.answerConfirm(true);
  EXPECT_FALSE(press("sbtExcluir"));
  EXPECT_EQ(errors().size(), 2u);
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '999'"), 1);
  EXPECT_EQ(s.codes().cdsInstruCobr.recordCount(), 1);
}

TEST_F(BankScreenTest, cancellingAnEditAsksAndOnlyYesDropsTheInput) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_EQ(mainTab()->name(), "tshFormulario");
  EXPECT_TRUE(ctl("dbeBanco").focused());
  ASSERT_TRUE(typeInto("dbeBanco", " Alterado"));

  ui.answerConfirm(false);
  ASSERT_TRUE(press("sbtCancelar"));
  EXPECT_THAT(ui.messages(), ElementsAre(kCanc));
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Edit);
  EXPECT_EQ(ctl("dbeBanco").text(), "Itaú Unibanco S.A. Alterado");

  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
  EXPECT_EQ(ctl("dbeBanco").text(), "Itaú Unibanco S.A.");
  EXPECT_EQ(count("BANCO", "CDBANCO = '341' AND NMBANCO = 'Itaú Unibanco S.A.'"), 1);
}

TEST_F(BankScreenTest, confirmingAnEditSavesTheBankOnTheServer) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(typeInto("dbeBanco", " Alterado"));
  ASSERT_TRUE(press("sbtConfirmar"));

  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
  EXPECT_EQ(count("BANCO", "CDBANCO = '341' AND NMBANCO = 'Itaú Unibanco S.A. Alterado'"), 1);
  EXPECT_THAT(column("dbgPadrao", 1), Contains("Itaú Unibanco S.A. Alterado"));
  EXPECT_FALSE(ui.progressVisible());
}

TEST_F(BankScreenTest, verificarReloadsTheRecordSetOfThePlaceInFront) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("001"));

  // The list.
  exec("UPDATE BANCO SET NMBANCO = 'Banco Renomeado' WHERE CDBANCO = '341'");
  ui.clearEvents();
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_THAT(column("dbgPadrao", 1), Contains("Banco Renomeado"));
  ASSERT_EQ(ui.events(host::UiEventKind::ShowProgress).size(), 1u);
  EXPECT_EQ(ui.events(host::UiEventKind::ShowProgress)[0].progressKind, host::kAviUpdate);
  EXPECT_EQ(ui.events(host::UiEventKind::ShowProgress)[0].text, "Atualizando dados...");
  EXPECT_FALSE(ui.progressVisible());

  // The CNAB sub-tabs each reload their own table, and only theirs.
  ASSERT_TRUE(goToBank("001"));
  ASSERT_TRUE(selectTab("tshCNAB"));
  exec("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('001', 'ZZ', 'Nova P')");
  exec("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('001', 'ZZ', 'Nova R')");
  exec("INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('001', 'ZZ', 'Nova')");
  exec("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('09', 'Empresa Nova Ltda')");

  ASSERT_TRUE(press("sbtVerificar"));  // company sub-tab
  EXPECT_THAT(column("dbgEmprBanc"), Contains("09"));
  EXPECT_THAT(column("dbgErrCnabPag"), Not(Contains("ZZ")));

  ASSERT_TRUE(selectTab("tshErroRetornoPag"));
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_THAT(column("dbgErrCnabPag"), Contains("ZZ"));
  EXPECT_THAT(column("dbgErrCnabRec"), Not(Contains("ZZ")));

  ASSERT_TRUE(selectTab("tshErroRetornoRec"));
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_THAT(column("dbgErrCnabRec"), Contains("ZZ"));

  ASSERT_TRUE(selectTab("tshInstruCobr"));
  EXPECT_THAT(column("dbgInstruCobr"), Contains("ZZ")) << "entering the sub-tab loads it";
  exec("DELETE FROM INSTCOBRANCA WHERE CDBANCO = '001' AND CDINSTCOBR = 'ZZ'");
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_THAT(column("dbgInstruCobr"), Not(Contains("ZZ")));

  // On the DDA tab the banks are read again, and the DDA row of the bank shown with them.
  ASSERT_TRUE(selectTab("tshDDA"));
  exec(
      "UPDATE BANCO SET DSEMAILDDA = 'outro@exemplo.com.br', NMBANCO = 'De Novo' "
      "WHERE CDBANCO = '001'");
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_EQ(s.bank().codigoBanco(), "001");
  EXPECT_EQ(s.dda().cdsDDA.fieldByName("DSEMAILDDA").asString(), "outro@exemplo.com.br");
  EXPECT_THAT(column("dbgPadrao", 1), Contains("De Novo"));
  EXPECT_TRUE(errors().empty());
}

TEST_F(BankScreenTest, anInstructionIsTypedInItsGridAndConfirmedOrCancelled) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("001"));
  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(selectTab("tshInstruCobr"));
  const int before = count("INSTCOBRANCA", "CDBANCO = '001'");

  ASSERT_TRUE(press("sbtIncluir"));
  EXPECT_EQ(s.codes().cdsInstruCobr.state(), data::DataSetState::Insert);
  EXPECT_EQ(ctl<forms::Grid>("dbgInstruCobr").selectedField()->name(), "CDINSTCOBR");
  // Only this row's commands, and no other tab, while it is typed.
  EXPECT_TRUE(enabled("sbtConfirmar"));
  EXPECT_FALSE(enabled("sbtIncluir"));
  for (const char* tab : {"tshFolhaDados", "tshFormulario", "tshDDA", "tshDadosEmpr",
                          "tshErroRetornoPag", "tshErroRetornoRec"})
    EXPECT_FALSE(enabled(tab)) << tab;
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "77"));
  ASSERT_TRUE(keyDown("dbgInstruCobr", forms::vk::Tab));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Cobrar juros"));
  ASSERT_TRUE(press("sbtConfirmar"));

  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(count("INSTCOBRANCA",
                  "CDBANCO = '001' AND CDINSTCOBR = '77' AND "
                  "NMINSTCOBR = 'Cobrar juros'"),
            1);
  EXPECT_EQ(s.codes().cdsInstruCobr.state(), data::DataSetState::Browse);
  EXPECT_EQ(host::localCache().invalidations("INSTCOBRANCA"), 1);
  EXPECT_TRUE(enabled("sbtIncluir"));
  EXPECT_FALSE(enabled("sbtConfirmar"));
  EXPECT_TRUE(enabled("tshFolhaDados"));

  ASSERT_TRUE(press("sbtIncluir"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "78"));
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  EXPECT_EQ(s.codes().cdsInstruCobr.state(), data::DataSetState::Browse);
  EXPECT_THAT(column("dbgInstruCobr"), Not(Contains("78")));
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '001'"), before + 1);
  EXPECT_TRUE(enabled("sbtIncluir"));
  EXPECT_TRUE(enabled("tshDDA"));
}

TEST_F(BankScreenTest, cancellingABankEditKeepsTheBankCommandsWhereverTheCnabTabWasLeft) {
  startServer();
  insertBank("123", "Banco Sem Instruções");
  openScreen();
  ASSERT_TRUE(goToBank("123"));
  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(selectTab("tshInstruCobr"));
  ASSERT_TRUE(selectTab("tshFolhaDados"));

  ASSERT_TRUE(press("sbtAlterar"));
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  for (const char* command : {"sbtIncluir", "sbtAlterar", "sbtExcluir", "sbtProcurar", "sbtEdit"})
    EXPECT_TRUE(enabled(command)) << command;
}

TEST_F(BankScreenTest, ordenarLeavesEveryListInItsOrder) {
  startServer();
  openScreen();
  const auto before = column("dbgPadrao");
  ASSERT_TRUE(press("sbtOrdenar"));
  EXPECT_EQ(column("dbgPadrao"), before);
}

TEST_F(BankScreenTest, theDeleteKeyInTheListAndInstructionGridsDeletesNothing) {
  startServer();
  exec("INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('001', '91', 'Uma')");
  exec("INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('001', '92', 'Outra')");
  TfrmBanco& s = openScreen();
  // A desktop would ask before a grid deletes a row; here it would say yes.
  int asked = 0;
  for (const char* grid : {"dbgPadrao", "dbgInstruCobr"})
    ctl<forms::Grid>(grid).confirmDeletion = [&](forms::Grid&) { return ++asked > 0; };

  const int banks = s.bank().cdsBanco.recordCount();
  ASSERT_TRUE(goToBank("001"));
  keyDown("dbgPadrao", forms::vk::Delete);
  keyDown("dbgPadrao", forms::vk::Delete, {.ctrl = true});
  EXPECT_EQ(s.bank().cdsBanco.recordCount(), banks);

  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(selectTab("tshInstruCobr"));
  const int instructions = s.codes().cdsInstruCobr.recordCount();
  ASSERT_GE(instructions, 2);
  keyDown("dbgInstruCobr", forms::vk::Delete);
  keyDown("dbgInstruCobr", forms::vk::Delete, {.ctrl = true});
  EXPECT_EQ(s.codes().cdsInstruCobr.recordCount(), instructions);
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '001'"), instructions);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace qbk::module::testing
