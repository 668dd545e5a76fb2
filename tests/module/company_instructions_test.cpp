// A company's two default collection instructions: the check on leaving an edit and at the
// save, and the search lists that fill them.
#include <gmock/gmock.h>

#include "module/company_settings_support.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kNaoCadastrada = "Instrução de cobrança não cadastrada.";
constexpr const char* kIguais = "Primeira e segunda instruções devem ser diferentes.";

TEST_F(CompanySettingsTest, confirmingChecksTheInstructionEditThatStillHasTheFocus) {
  // An unknown first instruction, saved by someone else.
  open("UPDATE EMPRBANC SET CDINS1COBR = '77' WHERE CDBANCO = '341' AND CDEMPRESA = '01'");
  ASSERT_TRUE(editCompany("341"));
  ASSERT_TRUE(focusOn("dbeInst1"));
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre(kNaoCadastrada));
  EXPECT_EQ(focusName(), "dbeInst1");
  EXPECT_EQ(screen().cnab().cdsEmprBanc.state(), data::DataSetState::Edit);

  // Anywhere else the second one is checked: it is known, so the save goes through.
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_EQ(focusName(), "dbeCarteira");
  ui.clearEvents();
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());

  // With the focus in the second edit, an unknown second one is refused there.
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(setText("dbeInst2", "66"));
  ASSERT_TRUE(focusOn("dbeInst2"));
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre(kNaoCadastrada));
  EXPECT_EQ(focusName(), "dbeInst2");
  EXPECT_EQ(stored("CDINS2COBR", "341"), "02");
}

TEST_F(CompanySettingsTest, leavingAnInstructionChecksItAgainstTheBanksTable) {
  open("", true);
  ASSERT_TRUE(editCompany("341"));
  // Types a code into an edit (01 holds 09 and 02) and leaves it for the wallet number.
  const auto leaveTyping = [&](const char* edit, const std::string& code) {
    ui.clearEvents();
    EXPECT_TRUE(setText(edit, code));
    EXPECT_TRUE(focusOn(edit));
    return leave();
  };

  EXPECT_FALSE(leaveTyping("dbeInst2", "09")) << "the first one is 09 too";
  EXPECT_THAT(errors(), ElementsAre(kIguais));
  EXPECT_EQ(focusName(), "dbeInst2");
  EXPECT_FALSE(leaveTyping("dbeInst2", "55"));
  EXPECT_THAT(errors(), ElementsAre(kNaoCadastrada)) << "no equality test for an unknown code";
  EXPECT_EQ(text("dbeInst2"), "55") << "the typed code stays to be corrected";
  EXPECT_TRUE(leaveTyping("dbeInst2", "10"));
  EXPECT_THAT(errors(), IsEmpty());
  const auto checks = recorder->textArgs("GetPesqInstru");
  ASSERT_FALSE(checks.empty());
  EXPECT_THAT(checks.back(), ElementsAre("341", "10"));

  EXPECT_FALSE(leaveTyping("dbeInst1", "10")) << "either edit reports equal codes";
  EXPECT_THAT(errors(), ElementsAre(kIguais));
  EXPECT_EQ(focusName(), "dbeInst1");

  // Empty edits are no choice to check, nor is anything checked in browse.
  const int calls = recorder->calls("GetPesqInstru");
  EXPECT_TRUE(leaveTyping("dbeInst1", ""));
  EXPECT_TRUE(leaveTyping("dbeInst2", ""));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(stored("CDINS1COBR", "341"), ::testing::AnyOf("", "<null>"));
  ASSERT_TRUE(setText("dbeInst1", "55"));
  ASSERT_TRUE(focusOn("dbeInst1"));
  ASSERT_TRUE(leave());
  EXPECT_EQ(recorder->calls("GetPesqInstru"), calls);
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(CompanySettingsTest, theSearchListsTheBanksInstructionsAndPutsThePickedOneInItsEdit) {
  TfrmBanco& s = open();
  ASSERT_TRUE(companiesOf("341"));
  ASSERT_TRUE(choose("mnuDados"));
  ASSERT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Browse);

  ui.answerChoose(3);  // "10"
  ASSERT_TRUE(press("btpPesqSegInstru"));
  const auto shown = ui.events(host::UiEventKind::Choose);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Instrução de Cobrança");
  EXPECT_EQ(shown[0].rows.size(), 6u) << "every instruction of 341";
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Edit) << "picked in browse";
  EXPECT_EQ(text("dbeInst2"), "10");
  EXPECT_FALSE(enabled("tshEmpresa")) << "the row is being edited";
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("CDINS2COBR", "341"), "10");

  // A bank without instructions says so.
  ASSERT_TRUE(toBank("104"));
  ui.clearEvents();
  press("btpPesqPriInstru");
  EXPECT_THAT(ui.messages(), ElementsAre("Não há instrução de cobrança cadastrada."));
}

TEST_F(CompanySettingsTest, aBankWithoutCompaniesStartsNoRowFromTheInstructionSearch) {
  // Every company has a row for every bank: the list is empty only without companies.
  TfrmBanco& s = open("DELETE FROM EMPRBANC; DELETE FROM CONTCORR; DELETE FROM EMPRESA");
  ASSERT_TRUE(toBank("341"));
  ASSERT_TRUE(choose("mnuDados"));
  ASSERT_TRUE(s.cnab().cdsEmprBanc.isEmpty());
  EXPECT_FALSE(enabled("sbtAlterar"));
  EXPECT_FALSE(press("btpPesqPriInstru"));
  EXPECT_THAT(errors(), ElementsAre("Não há empresa com dados de CNAB para este banco."));
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Browse);
  EXPECT_TRUE(s.cnab().cdsEmprBanc.isEmpty());
  EXPECT_TRUE(enabled("tshFolhaDados"));
  EXPECT_EQ(count("EMPRBANC"), 0);
}

}  // namespace
}  // namespace qbk::module::testing
