// The write-off type and the payment current account of a company: typed and checked, or
// picked from their lists, with the copies beside them cleared as soon as a code is typed.
#include <gmock/gmock.h>

#include "module/company_settings_support.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(CompanySettingsTest, aTypedWriteOffTypeIsNormalisedAndNamedOrRefused) {
  open();
  ASSERT_TRUE(editCompany("341"));
  ASSERT_TRUE(typeInto("dbeCdTpBaixa", "3"));
  ASSERT_TRUE(leave());
  EXPECT_EQ(text("dbeCdTpBaixa"), "03");
  EXPECT_EQ(field("NMTPBAIXAPAG").asString(), "Pagamento via DDA");

  ASSERT_TRUE(setText("dbeCdTpBaixa", ""));
  EXPECT_TRUE(field("NMTPBAIXAPAG").isNull()) << "typing anew clears the name";
  ASSERT_TRUE(typeInto("dbeCdTpBaixa", "9"));
  EXPECT_FALSE(leave());
  EXPECT_THAT(errors(), ElementsAre("Tipo de Baixa não cadastrado."));
  EXPECT_EQ(focusName(), "dbeCdTpBaixa");
  EXPECT_EQ(field("CDTPBAIXAPAG").asString(), "09");
  EXPECT_TRUE(field("NMTPBAIXAPAG").isNull());

  // The type is optional: an empty edit is not checked.
  ui.clearEvents();
  ASSERT_TRUE(setText("dbeCdTpBaixa", ""));
  ASSERT_TRUE(leave());
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_THAT(stored("NMTPBAIXAPAG", "341"), ::testing::AnyOf("", "<null>"));

  // Picked from the list in browse: into edit with code and name.
  ui.answerChoose(4);
  ASSERT_TRUE(press("btnTipoBaixa"));
  const auto lists = ui.events(host::UiEventKind::Choose);
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].rows.size(), 5u);
  EXPECT_EQ(screen().cnab().cdsEmprBanc.state(), data::DataSetState::Edit);
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("CDTPBAIXAPAG", "341"), "05");
  EXPECT_EQ(stored("NMTPBAIXAPAG", "341"), "Compensação de adiantamento");
}

TEST_F(CompanySettingsTest, theCurrentAccountMayBeAtAnyBankAndIsCheckedForTheCompany) {
  TfrmBanco& s = open();
  ASSERT_TRUE(companiesOf("341"));
  ASSERT_TRUE(choose("mnuDados"));

  // The list holds every account of company 01, whatever its bank.
  ui.answerChoose(3);  // 004, at 104
  ASSERT_TRUE(press("btnContCorr"));
  const auto lists = ui.events(host::UiEventKind::Choose);
  ASSERT_EQ(lists.size(), 1u);
  ASSERT_EQ(lists[0].rows.size(), 5u);
  std::vector<std::string> banks;
  for (const auto& row : lists[0].rows) banks.push_back(row.at(1));
  EXPECT_THAT(banks, ElementsAre("001", "237", "341", "104", "756"));
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Edit);
  EXPECT_EQ(field("CDBANCODDA").asString(), "104");
  EXPECT_EQ(field("CDAGENCIA").asString(), "1598");
  EXPECT_EQ(field("DSCONTCORR").asString(), "Folha Caixa");

  // Typed: the copies go at the first key and come back from the check.
  ASSERT_TRUE(setText("dbeReduCont", ""));
  ASSERT_TRUE(typeInto("dbeReduCont", "2"));
  EXPECT_TRUE(field("CDBANCODDA").isNull() && field("CDCONTCORR").isNull());
  ASSERT_TRUE(leave());
  EXPECT_EQ(text("dbeReduCont"), "002");
  EXPECT_EQ(field("CDBANCODDA").asString(), "237");
  EXPECT_EQ(field("CDCONTCORR").asString(), "0045678P");

  // Company 02 has only its account 001; 002 is company 01's.
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("CDBANCODDA", "341"), "237");
  ASSERT_TRUE(editCompany("104", "02"));
  ASSERT_TRUE(setText("dbeReduCont", "2"));
  ASSERT_TRUE(focusOn("dbeReduCont"));
  EXPECT_FALSE(leave());
  EXPECT_THAT(errors(), ElementsAre("Conta corrente não cadastrada."));
  EXPECT_EQ(focusName(), "dbeReduCont");
  EXPECT_EQ(field("CDREDUCONT").asString(), "002");
  EXPECT_TRUE(field("CDBANCODDA").isNull());

  // Moving between companies clears no copy.
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  ASSERT_TRUE(companiesOf("104"));
  ASSERT_TRUE(toCompany("01"));
  EXPECT_EQ(field("CDCONTCORR").asString(), "123456789");
  ASSERT_TRUE(toCompany("02"));
  EXPECT_EQ(field("CDCONTCORR").asString(), "456789123");
}

}  // namespace
}  // namespace qbk::module::testing
