// The "Dados por Empresa" sub-tab: what entering it loads and shows for each clearing
// house, the tabs locked while a company is edited, and a reload the server refuses.
#include <gmock/gmock.h>

#include <map>

#include "module/company_settings_support.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The bank-specific controls of the "Dados" page, by name, with the page of the notebooks.
struct Arrangement {
  std::vector<std::string> shown;
  int layoutPage = -1;
  int layoutPagPage = -1;
  int dadosBancPage = -1;
};

const char* const kSpecific[] = {
    "ntbLayout",        "ntbLayoutPag",          "ntbDadosBanc",
    "grbFornBanc",      "lblPadrAgend",          "cbbPadrAgend",
    "rdbLayoutCnabPag", "ckcLinhaComplemtentar", "ckcRegistroSCobranca",
    "ckcLinhaCobEmail", "lblVarCartCob",         "dbeVarCartCob"};

class CompanyTabsTest : public CompanySettingsTest {
 protected:
  Arrangement arrangement() const {
    Arrangement a;
    for (const char* name : kSpecific)
      if (ctl(name).visible()) a.shown.push_back(name);
    auto page = [&](const char* notebook) {
      auto& nb = ctl<forms::Notebook>(notebook);
      return nb.visible() ? nb.pageIndex() : -1;
    };
    a.layoutPage = page("ntbLayout");
    a.layoutPagPage = page("ntbLayoutPag");
    a.dadosBancPage = page("ntbDadosBanc");
    return a;
  }
  void expect(const Arrangement& want) {
    const Arrangement got = arrangement();
    EXPECT_THAT(got.shown, ::testing::UnorderedElementsAreArray(want.shown));
    EXPECT_EQ(got.layoutPage, want.layoutPage);
    EXPECT_EQ(got.layoutPagPage, want.layoutPagPage);
    EXPECT_EQ(got.dadosBancPage, want.dadosBancPage);
  }
};

TEST_F(CompanyTabsTest, everyClearingHouseShowsItsOwnControlsWhateverCameBefore) {
  // 033 stands for every code with no controls of its own.
  open("UPDATE BANCO SET CDBANCCNAB = '033' WHERE CDBANCO = '033'");
  const std::map<std::string, Arrangement> want = {
      {"001", {{"ckcRegistroSCobranca", "lblVarCartCob", "dbeVarCartCob"}, -1, -1, -1}},
      {"104", {{"ntbLayout", "ntbDadosBanc"}, 2, -1, 2}},
      {"237", {{"ntbLayoutPag", "ntbDadosBanc", "lblPadrAgend", "cbbPadrAgend"}, -1, 1, 3}},
      {"341",
       {{"ntbLayout", "ntbLayoutPag", "rdbLayoutCnabPag", "ckcLinhaComplemtentar"}, 0, 0, -1}},
      // The demo company of 399 uses the 266-position layout: its supplier group shows.
      {"399", {{"ntbLayout", "ntbDadosBanc", "grbFornBanc"}, 1, -1, 1}},
      {"422", {{"ckcLinhaCobEmail"}, -1, -1, -1}},
      {"033", {{}, -1, -1, -1}},
  };
  // Entering the sub-tab for each bank, then moving between banks on it, in two orders.
  for (const char* code : {"237", "341", "104", "399", "001", "422", "033"}) {
    SCOPED_TRACE(std::string("entering for ") + code);
    ASSERT_TRUE(choose("mnuFolhaDados"));
    ASSERT_TRUE(toBank(code));
    ASSERT_TRUE(choose("mnuDados"));
    expect(want.at(code));
  }
  for (const char* code : {"237", "341", "237", "104", "341", "422", "001", "399", "237", "033",
                           "104", "001", "341"}) {
    SCOPED_TRACE(std::string("moving to ") + code);
    ASSERT_TRUE(toBank(code));
    expect(want.at(code));
  }
  EXPECT_EQ(ctl("ckcLinhaCobEmail").left(), 3);
  EXPECT_EQ(ctl("ckcRegistroSCobranca").left(), 3);
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(CompanyTabsTest, editingACompanyLocksTheOtherTabsUntilConfirmedOrCancelled) {
  TfrmBanco& s = open("", true);
  ASSERT_TRUE(toBank("341"));
  ASSERT_TRUE(choose("mnuEmpresa"));
  EXPECT_EQ(recorder->textArgs("GetEmprBanc").back().at(0), "341");
  EXPECT_TRUE(ctl<forms::MenuItem>("mnuDadosEmpr").checked());
  EXPECT_TRUE(ctl<forms::MenuItem>("mnuEmpresa").checked());
  EXPECT_FALSE(ctl<forms::MenuItem>("mnuDados").checked());

  const char* const locked[] = {"tshFolhaDados",     "tshFormulario",     "tshDDA",
                                "tshErroRetornoPag", "tshErroRetornoRec", "tshInstruCobr",
                                "tshEmpresa"};
  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_TRUE(ctl<forms::MenuItem>("mnuDados").checked()) << "Alterar shows the data";
  for (const char* tab : locked) EXPECT_FALSE(enabled(tab)) << tab;
  EXPECT_TRUE(enabled("sbtConfirmar") && enabled("sbtCancelar"));
  EXPECT_FALSE(enabled("sbtIncluir") || enabled("sbtExcluir") || enabled("sbtAlterar"));
  EXPECT_FALSE(enabled("dbnEmprBanc"));
  ASSERT_TRUE(press("sbtConfirmar"));
  for (const char* tab : locked) EXPECT_TRUE(enabled(tab)) << tab;
  EXPECT_FALSE(enabled("sbtIncluir") || enabled("sbtExcluir"));
  EXPECT_TRUE(enabled("sbtAlterar"));

  // Entering the company grid runs the same rules.
  ASSERT_TRUE(choose("mnuEmpresa"));
  ASSERT_TRUE(focusOn("dbgEmprBanc"));
  EXPECT_TRUE(enabled("sbtAlterar"));
  EXPECT_EQ(s.cnab().cdsEmprBanc.recordCount(), 3) << "a row for every company";
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(CompanyTabsTest, aRefusedReloadLeavesNoRowsOfTheBankBefore) {
  TfrmBanco& s = open(
      "INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO, CDCARTCOBR) VALUES "
      "('02', '389', '001')");
  // 389 comes just before 399 in the list.
  ASSERT_TRUE(companiesOf("389"));
  ASSERT_FALSE(s.cnab().cdsEmprBanc.isEmpty());

  exec("ALTER TABLE EMPRBANC RENAME TO EMPRBANC_FORA");
  EXPECT_FALSE(
      host::runGuarded([&] { ctl<forms::Navigator>("dbnPadrao").press(forms::NavButton::Next); }));
  EXPECT_EQ(errors().size(), 1u) << "the error is shown";
  EXPECT_EQ(s.bank().codigoBanco(), "399");
  EXPECT_TRUE(s.cnab().cdsEmprBanc.isEmpty()) << "389's rows would be saved under 399";
  EXPECT_FALSE(enabled("sbtAlterar"));
  EXPECT_TRUE(ctl("ntbLayout").visible()) << "the page is the new bank's";
  EXPECT_EQ(ctl<forms::Notebook>("ntbLayout").pageIndex(), 1);

  // Entering the sub-tab again with the table back loads the bank's rows.
  exec("ALTER TABLE EMPRBANC_FORA RENAME TO EMPRBANC");
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_EQ(s.cnab().cdsEmprBanc.recordCount(), 3);
}

}  // namespace
}  // namespace qbk::module::testing
