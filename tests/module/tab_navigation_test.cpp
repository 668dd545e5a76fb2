// Changing the main tab: what the CNAB and DDA tabs load for the current bank, the menu
// check marks, and the commands of their record sets.
#include <gmock/gmock.h>

#include "host/local_cache.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr const char* kDirNaoExiste =
    "Diretório compartilhado parametrizado no cadastro de Banco(DDA) não existe.";

class TabNavigationTest : public BankScreenTest {
 protected:
  std::vector<std::string> codesInDatabase(const std::string& sql) {
    std::vector<std::string> out;
    for (const auto& row : query(sql).rows) out.push_back(std::get<std::string>(row.at(0)));
    return out;
  }
  std::vector<std::string> checkedMenus() const {
    std::vector<std::string> out;
    for (const char* item :
         {"mnuFolhaDados", "mnuFormulario", "mnuCNABPag", "mnuDadosEmpr", "mnuEmpresa", "mnuDados",
          "mnuErroRetornoPag", "mnuErroRetornoRec", "mnuInstruCobr"})
      if (ctl<forms::MenuItem>(item).checked()) out.emplace_back(item);
    return out;
  }
};

TEST_F(TabNavigationTest, theCnabTabLoadsTheCurrentBanksCodesAndCompanies) {
  startServer();
  exec("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('001', 'P1', 'Pagar')");
  exec("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('001', 'R1', 'Receber')");
  exec("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('341', 'X9', 'Outro')");
  openScreen();
  ASSERT_TRUE(goToBank("001"));
  ASSERT_TRUE(selectTab("tshCNAB"));

  EXPECT_THAT(column("dbgErrCnabPag"),
              ElementsAreArray(codesInDatabase(
                  "SELECT CDERRCNABP FROM ERRCNABP WHERE CDBANCO = '001' ORDER BY CDERRCNABP")));
  EXPECT_THAT(column("dbgErrCnabRec"),
              ElementsAreArray(codesInDatabase(
                  "SELECT CDERRCNABR FROM ERRCNABR WHERE CDBANCO = '001' ORDER BY CDERRCNABR")));
  EXPECT_THAT(column("dbgEmprBanc"),
              ElementsAreArray(codesInDatabase("SELECT CDEMPRESA FROM EMPRESA ORDER BY 1")));
  EXPECT_THAT(checkedMenus(), ElementsAreArray({"mnuCNABPag", "mnuDadosEmpr", "mnuDados"}));

  // The company sub-tab: no company is created or deleted from here.
  EXPECT_FALSE(enabled("sbtIncluir"));
  EXPECT_FALSE(enabled("sbtExcluir"));
  EXPECT_TRUE(enabled("sbtAlterar"));
  EXPECT_FALSE(enabled("sbtConfirmar"));

  ASSERT_TRUE(selectTab("tshInstruCobr"));
  EXPECT_THAT(column("dbgInstruCobr"),
              ElementsAreArray(codesInDatabase(
                  "SELECT CDINSTCOBR FROM INSTCOBRANCA WHERE CDBANCO = '001' ORDER BY 1")));
  EXPECT_THAT(checkedMenus(), ElementsAreArray({"mnuCNABPag", "mnuInstruCobr"}));
  EXPECT_TRUE(enabled("sbtIncluir"));
  EXPECT_FALSE(enabled("sbtEdit"));
  EXPECT_FALSE(enabled("sbtConfirmar"));

  // Coming back to the tab reloads both code tables, whichever sub-tab is in front.
  ASSERT_TRUE(selectTab("tshFolhaDados"));
  EXPECT_THAT(checkedMenus(), ElementsAreArray({"mnuFolhaDados"}));
  exec("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('001', 'P2', 'Mais')");
  exec("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('001', 'R2', 'Mais')");
  ASSERT_TRUE(selectTab("tshCNAB"));
  EXPECT_THAT(column("dbgErrCnabPag"), Contains("P2"));
  EXPECT_THAT(column("dbgErrCnabRec"), Contains("R2"));

  // On the code sub-tabs the codes are only shown.
  ASSERT_TRUE(selectTab("tshErroRetornoPag"));
  for (const char* command :
       {"sbtIncluir", "sbtAlterar", "sbtExcluir", "sbtConfirmar", "sbtCancelar"})
    EXPECT_FALSE(enabled(command)) << command;
  EXPECT_TRUE(errors().empty());
}

TEST_F(TabNavigationTest, theCnabMenuLeadsToItsPagesFromAnyTab) {
  startServer();
  openScreen();
  ASSERT_TRUE(goToBank("001"));
  ASSERT_TRUE(choose("mnuFormulario"));
  ASSERT_TRUE(choose("mnuDados"));
  EXPECT_EQ(mainTab()->name(), "tshCNAB");
  EXPECT_EQ(ctl<forms::PageControl>("pgcCNAB").activePage()->name(), "tshDadosEmpr");
  EXPECT_EQ(ctl<forms::PageControl>("pgcEmpresa").activePage()->name(), "tshDados");
  EXPECT_THAT(checkedMenus(), ElementsAreArray({"mnuCNABPag", "mnuDadosEmpr", "mnuDados"}));
  EXPECT_FALSE(column("dbgEmprBanc").empty());

  ASSERT_TRUE(choose("mnuEmpresa"));
  EXPECT_EQ(ctl<forms::PageControl>("pgcEmpresa").activePage()->name(), "tshEmpresa");
  EXPECT_THAT(checkedMenus(), ElementsAreArray({"mnuCNABPag", "mnuDadosEmpr", "mnuEmpresa"}));

  // The sub-tab last in front is still reached from another main tab.
  ASSERT_TRUE(choose("mnuErroRetornoRec"));
  ASSERT_TRUE(choose("mnuFolhaDados"));
  EXPECT_EQ(mainTab()->name(), "tshFolhaDados");
  ASSERT_TRUE(choose("mnuErroRetornoRec"));
  EXPECT_EQ(mainTab()->name(), "tshCNAB");
  EXPECT_THAT(checkedMenus(), ElementsAreArray({"mnuCNABPag", "mnuErroRetornoRec"}));
}

TEST_F(TabNavigationTest, editingACompanyKeepsThePersonOnItUntilConfirmed) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("001"));
  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(choose("mnuEmpresa"));
  const std::string company = s.cnab().cdsEmprBanc.fieldByName("CDEMPRESA").asString();

  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Edit);
  EXPECT_EQ(ctl<forms::PageControl>("pgcEmpresa").activePage()->name(), "tshDados");
  EXPECT_TRUE(ctl("dbeCarteira").focused());
  for (const char* tab : {"tshFolhaDados", "tshFormulario", "tshDDA", "tshErroRetornoPag",
                          "tshErroRetornoRec", "tshInstruCobr", "tshEmpresa"})
    EXPECT_FALSE(enabled(tab)) << tab;
  EXPECT_TRUE(enabled("sbtConfirmar"));
  EXPECT_TRUE(enabled("sbtCancelar"));
  EXPECT_FALSE(selectTab("tshFolhaDados"));

  typeInto("dbeCarteira", std::string(5, '\b'));
  ASSERT_TRUE(typeInto("dbeCarteira", "17"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Browse);
  EXPECT_EQ(count("EMPRBANC", "CDBANCO = '001' AND CDEMPRESA = ? AND CDCARTCOBR = '17'", {company}),
            1);
  EXPECT_EQ(host::localCache().invalidations("EMPRBANC"), 1);
  EXPECT_TRUE(enabled("tshFolhaDados"));
  EXPECT_TRUE(enabled("tshEmpresa"));
}

TEST_F(TabNavigationTest, aMissingSharedDdaDirectoryWarnsOnEveryEntryWithTheDataShown) {
  startServer();
  exec(
      "UPDATE BANCO SET DSDIRIMPARQDDA = ?, DSEMAILDDA = 'dda@exemplo.com.br' "
      "WHERE CDBANCO = '237'",
      {dir.file("nao-existe")});
  exec("UPDATE BANCO SET DSDIRIMPARQDDA = ? WHERE CDBANCO = '341'", {dir.file("")});
  openScreen();

  ASSERT_TRUE(goToBank("237"));
  ASSERT_TRUE(selectTab("tshDDA"));
  EXPECT_THAT(warnings(), ElementsAreArray({kDirNaoExiste}));
  EXPECT_EQ(mainTab()->name(), "tshDDA");
  EXPECT_EQ(ctl("dbeDirDDA").text(), dir.file("nao-existe"));
  EXPECT_EQ(ctl("dbeEmailDest").text(), "dda@exemplo.com.br");

  // The DDA row belongs to the bank: the bank does not move under it.
  EXPECT_FALSE(enabled("dbnPadrao"));
  for (const char* command : {"sbtIncluir", "sbtExcluir", "sbtProcurar", "sbtOrdenar"})
    EXPECT_FALSE(enabled(command)) << command;
  EXPECT_TRUE(enabled("sbtAlterar"));

  ASSERT_TRUE(selectTab("tshFolhaDados"));
  EXPECT_TRUE(enabled("dbnPadrao"));
  ASSERT_TRUE(selectTab("tshDDA"));
  EXPECT_EQ(warnings().size(), 2u);

  // A directory that exists warns nothing.
  ASSERT_TRUE(selectTab("tshFolhaDados"));
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(selectTab("tshDDA"));
  EXPECT_EQ(warnings().size(), 2u);
  EXPECT_TRUE(errors().empty());
}

TEST_F(TabNavigationTest, editingTheDdaRowLocksTheOtherTabsAndConfirmSendsIt) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(selectTab("tshDDA"));
  ASSERT_THAT(warnings(), IsEmpty());

  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_EQ(s.dda().cdsDDA.state(), data::DataSetState::Edit);
  EXPECT_TRUE(ctl("dbeDirDDA").focused());
  for (const char* tab : {"tshFolhaDados", "tshFormulario", "tshCNAB"})
    EXPECT_FALSE(enabled(tab)) << tab;
  EXPECT_FALSE(enabled("mnuCNABPag"));

  typeInto("dbeEmailDest", std::string(80, '\b'));
  ASSERT_TRUE(typeInto("dbeEmailDest", "novo@exemplo.com.br"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(count("BANCO", "CDBANCO = '341' AND DSEMAILDDA = 'novo@exemplo.com.br'"), 1);
  EXPECT_EQ(s.dda().cdsDDA.state(), data::DataSetState::Browse);
  for (const char* tab : {"tshFolhaDados", "tshFormulario", "tshCNAB", "tshDadosEmpr"})
    EXPECT_TRUE(enabled(tab)) << tab;
  EXPECT_TRUE(enabled("mnuDadosEmpr"));
}

}  // namespace
}  // namespace qbk::module::testing
