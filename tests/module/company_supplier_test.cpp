// The supplier that anticipates the boletos on the 399 clearing house with the 266-position
// layout: looked up by registration number at the save, picked from the supplier list, and
// reset by a change of layout. Other banks and layouts save without a look-up.
#include <gmock/gmock.h>

#include "host/inscricao.h"
#include "module/company_settings_support.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Demo suppliers: 000101 active, 000104 inactive, 000108 with an alphanumeric CNPJ.
constexpr const char* kInativo = "000104";
constexpr const char* kAlfanumerico = "12ABC34501DE35";

class CompanySupplierTest : public CompanySettingsTest {
 protected:
  static std::string punctuated(const std::string& cnpj) {
    return host::FormatMaskText(host::kCnpjMask, cnpj);
  }
  // The row of the supplier list that shows a fantasy name.
  static int rowOf(const host::UiEvent& list, const std::string& fantasy) {
    for (std::size_t i = 0; i < list.rows.size(); ++i)
      if (list.rows[i].at(2) == fantasy) return static_cast<int>(i);
    return -1;
  }
  std::string numberOf(const std::string& supplier) {
    const db::Result r =
        query("SELECT NRINSJURFORN FROM FORNECEDOR WHERE CDFORNECED = ?", {supplier});
    return std::get<std::string>(r.rows.at(0).at(0));
  }
  // Types a number into the supplier box of the company being edited and confirms.
  bool confirmWith(const std::string& number) {
    ui.clearEvents();
    EXPECT_TRUE(focusOn("dbeCdFornBanc"));
    EXPECT_TRUE(setText("dbeCdFornBanc", number));
    return press("sbtConfirmar");
  }
};

TEST_F(CompanySupplierTest, the399With266LayoutLooksTheSupplierUpAtTheSave) {
  open();
  const std::string kAtivo = numberOf("000101");
  const std::string kAtivoPontuado = punctuated(kAtivo);
  ASSERT_TRUE(editCompany("399"));
  EXPECT_TRUE(ctl("grbFornBanc").visible());
  EXPECT_EQ(text("dbeCdFornBanc"), punctuated(numberOf("000107")))
      << "stored bare, shown formatted";

  EXPECT_FALSE(confirmWith(""));
  EXPECT_THAT(errors(), ElementsAre("Fornecedor deve ser informado."));
  EXPECT_EQ(focusName(), "dbeCdFornBanc");
  EXPECT_FALSE(confirmWith("11.111.111/0001-91"));
  EXPECT_THAT(errors(), ElementsAre("Fornecedor não cadastrado."));
  EXPECT_FALSE(confirmWith(numberOf(kInativo)));
  EXPECT_THAT(errors(), ElementsAre("Não é possível cadastrar um fornecedor inativo."));
  EXPECT_EQ(focusName(), "dbeCdFornBanc");
  EXPECT_EQ(stored("CDFORNECED", "399"), "000107") << "nothing of it was saved";

  // Punctuation is dropped; the supplier's code, type and name are taken.
  ASSERT_TRUE(confirmWith(kAtivoPontuado));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("NRINSJURFORN", "399"), kAtivo);
  EXPECT_EQ(stored("CDFORNECED", "399"), "000101");
  EXPECT_EQ(stored("IDTPIJURFORN", "399"), "J");
  EXPECT_EQ(stored("NMRAZSOCFORN", "399"), "Aço Forte Indústria e Comércio Ltda");
  EXPECT_EQ(text("dbeCdFornBanc"), kAtivoPontuado);

  // The letters of an alphanumeric CNPJ are part of the number, typed in any case.
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(confirmWith("12.abc.345/01de-35"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("NRINSJURFORN", "399"), kAlfanumerico);
  EXPECT_EQ(stored("CDFORNECED", "399"), "000108");
  EXPECT_EQ(text("dbeCdFornBanc"), "12.ABC.345/01DE-35");
}

TEST_F(CompanySupplierTest, otherLayoutsAndBanksSaveWithoutALookUp) {
  open(
      "UPDATE EMPRBANC SET NRINSJURFORN = 'XX', CDFORNECED = '000101', IDTPIJURFORN = NULL, "
      "IDLAYOUTCNAB = NULL WHERE CDBANCO = '341' AND CDEMPRESA = '01'",
      true);
  // Back to the 240-position layout: the link is reset and no supplier is asked for.
  ASSERT_TRUE(editCompany("399"));
  host::runGuarded([&] { ctl<forms::RadioGroup>("dbrgLayCnab").userPick(0); });
  EXPECT_EQ(text("dbeCdFornBanc"), "");
  EXPECT_EQ(text("dbeNmFornBanc"), "");
  EXPECT_FALSE(ctl("grbFornBanc").visible());
  EXPECT_FALSE(ctl("ntbDadosBanc").visible());
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("IDLAYOUTCNAB", "399"), "240");
  EXPECT_THAT(stored("CDFORNECED", "399"), ::testing::AnyOf("", "<null>"));

  // And to 266 again: the group is back, empty, and a supplier is required.
  ASSERT_TRUE(press("sbtAlterar"));
  host::runGuarded([&] { ctl<forms::RadioGroup>("dbrgLayCnab").userPick(1); });
  EXPECT_TRUE(ctl("grbFornBanc").visible());
  EXPECT_EQ(ctl<forms::Notebook>("ntbDadosBanc").pageIndex(), 1);
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre("Fornecedor deve ser informado."));
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));

  // Another bank keeps whatever its row holds, also when the save supplies its layout.
  ASSERT_TRUE(editCompany("341"));
  ui.clearEvents();
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("IDLAYOUTCNAB", "341"), "240");
  EXPECT_EQ(stored("NRINSJURFORN", "341"), "XX");
  EXPECT_EQ(stored("CDFORNECED", "341"), "000101");
}

TEST_F(CompanySupplierTest, theSupplierSearchListsEverySupplierFormattedAndRefusesAnInactiveOne) {
  TfrmBanco& s = open();
  ASSERT_TRUE(companiesOf("399"));
  ASSERT_TRUE(choose("mnuDados"));

  // Every supplier, inactive ones too, with its number formatted by its own type.
  ui.answerChoose(std::nullopt);
  ASSERT_TRUE(press("btpPesqFornBanc"));
  const auto lists = ui.events(host::UiEventKind::Choose);
  ASSERT_EQ(lists.size(), 1u);
  const host::UiEvent list = lists[0];
  ASSERT_EQ(list.rows.size(), 8u);
  const int brisa = rowOf(list, "Brisa Crédito");
  const int inactive = rowOf(list, "Energia Verde");
  const int person = rowOf(list, "Maria Souza Consultoria");
  ASSERT_GE(brisa, 0);
  ASSERT_GE(inactive, 0);
  ASSERT_GE(person, 0);
  EXPECT_EQ(list.rows[static_cast<std::size_t>(brisa)].at(0), "12.ABC.345/01DE-35");
  EXPECT_THAT(list.rows[static_cast<std::size_t>(person)].at(0),
              ::testing::MatchesRegex("[0-9]{3}\\.[0-9]{3}\\.[0-9]{3}-[0-9]{2}"));
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Browse) << "nothing chosen";

  ui.clearEvents();
  ui.answerChoose(inactive);
  EXPECT_FALSE(press("btpPesqFornBanc"));
  EXPECT_THAT(errors(), ElementsAre("Não é possível cadastrar um fornecedor inativo."));
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Browse);

  ui.clearEvents();
  ui.answerChoose(brisa);
  ASSERT_TRUE(press("btpPesqFornBanc"));
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Edit);
  EXPECT_EQ(text("dbeCdFornBanc"), "12.ABC.345/01DE-35");
  EXPECT_EQ(text("dbeNmFornBanc"), "Brisa Securitizadora de Créditos S.A.");
  // Entering the box shows the number as it is typed; leaving it looks it up again.
  ASSERT_TRUE(leave());
  ASSERT_TRUE(focusOn("dbeCdFornBanc"));
  EXPECT_EQ(text("dbeCdFornBanc"), kAlfanumerico);
  ASSERT_TRUE(leave());
  EXPECT_EQ(text("dbeNmFornBanc"), "Brisa Securitizadora de Créditos S.A.");
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("CDFORNECED", "399"), "000108");
}

}  // namespace
}  // namespace qbk::module::testing
