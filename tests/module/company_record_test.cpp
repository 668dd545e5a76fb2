// A company's CNAB row: the defaults a save fills in, the coded fields shown and stored
// through their lists, the key filters and the variation, and a refused save.
#include <gmock/gmock.h>

#include "host/inscricao.h"
#include "module/cnab/supplier_link.h"
#include "module/company_settings_support.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kFourteenBlanks(14, ' ');

TEST_F(CompanySettingsTest, saveFillsUntouchedAndUnknownCodesAndKeepsKnownOnes) {
  open(
      "UPDATE EMPRBANC SET IDCARTCOBR = NULL, IDIMPRBOLETO = 'e', CDDIAPROTEST = '9', "
      "IDFORMCADBANC = '7', IDLAYEXTBANCO = NULL, IDLAYOUTCNAB = NULL, IDPADRCNABREC = NULL, "
      "IDPADRCNABPAG = NULL, IDPADRAGENCNABPAG = '3' WHERE CDBANCO = '341' AND CDEMPRESA = '01';"
      "UPDATE EMPRBANC SET IDCARTCOBR = '5', CDDIAPROTEST = '4', IDLAYEXTBANCO = '240', "
      "IDFORMCADBANC = NULL WHERE CDBANCO = '001' AND CDEMPRESA = '02'");
  ASSERT_TRUE(editCompany("341"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("IDCARTCOBR", "341"), "");
  EXPECT_EQ(stored("IDIMPRBOLETO", "341"), "") << "a lower-case code shows nothing";
  EXPECT_EQ(stored("CDDIAPROTEST", "341"), " ");
  EXPECT_EQ(stored("IDFORMCADBANC", "341"), "1");
  EXPECT_EQ(stored("IDLAYEXTBANCO", "341"), "200");
  EXPECT_EQ(stored("IDLAYOUTCNAB", "341"), "240");
  EXPECT_EQ(stored("IDPADRCNABREC", "341"), "1");
  EXPECT_EQ(stored("IDPADRCNABPAG", "341"), "1");
  EXPECT_EQ(stored("IDPADRAGENCNABPAG", "341"), "3") << "only a pick changes it";
  EXPECT_EQ(screen().cnab().cdsEmprBanc.state(), data::DataSetState::Browse);

  ASSERT_TRUE(editCompany("001", "02"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("IDCARTCOBR", "001", "02"), "");
  EXPECT_EQ(stored("CDDIAPROTEST", "001", "02"), " ");
  EXPECT_EQ(stored("IDFORMCADBANC", "001", "02"), "1") << "no value shows nothing";
  EXPECT_EQ(stored("IDLAYEXTBANCO", "001", "02"), "240") << "a stored layout is kept";
}

TEST_F(CompanySettingsTest, codedFieldsShowTheirEntryAndStoreTheCodeOfThePickedOne) {
  TfrmBanco& s = open(
      "UPDATE EMPRBANC SET CDDIAPROTEST = NULL, CDDIADEVOL = NULL, IDIMPRBOLETO = 'F', "
      "IDCARTCOBR = '3', IDPADRAGENCNABPAG = '2', IDFORMCADBANC = '2' "
      "WHERE CDBANCO = '104' AND CDEMPRESA = '02'");
  ASSERT_TRUE(editCompany("104", "02"));
  auto shown = [&](const char* list) { return ctl<forms::ComboBox>(list).text(); };
  EXPECT_EQ(shown("dbcCdProtesto"), kFourteenBlanks) << "no value: the blank first entry";
  EXPECT_EQ(shown("dbcCdDevol"), "");
  EXPECT_EQ(ctl<forms::ComboBox>("dbcCdDevol").itemIndex(), 0);
  EXPECT_EQ(shown("dbcImpBoleto"), "Fil. Orig.");
  EXPECT_EQ(shown("dbcTpCarteira"), "Cobrança Caucionada");
  EXPECT_EQ(shown("cbbPadrAgend"), "Desautoriza");
  EXPECT_EQ(shown("cbbFmCadastro"), "Sem Registro");

  // Each list's entries, by position, and what picking them stores ("<null>": cleared).
  struct Case {
    const char* list;
    const char* field;
    std::vector<std::string> stored;
  };
  const Case cases[] = {
      {"dbcImpBoleto", "IDIMPRBOLETO", {"<null>", "E", "B", "F"}},
      {"dbcTpCarteira", "IDCARTCOBR", {"<null>", "1", "2", "3", "4"}},
      {"dbcCdProtesto", "CDDIAPROTEST", {" ", "1", "2", "3"}},
      {"cbbFmCadastro", "IDFORMCADBANC", {"1", "2"}},
      {"cbbPadrAgend", "IDPADRAGENCNABPAG", {"", "1", "2"}},
      {"dbcCdDevol", "CDDIADEVOL", {" ", "1", "2"}},
  };
  // The scheduling list is shown for the 237 payables only; its conversions hold anyway.
  ctl("cbbPadrAgend").setVisible(true);
  for (const Case& c : cases) {
    for (std::size_t i = 0; i < c.stored.size(); ++i) {
      SCOPED_TRACE(std::string(c.list) + " " + std::to_string(i));
      ASSERT_TRUE(pick(c.list, static_cast<int>(i)));
      const data::Field& f = field(c.field);
      EXPECT_EQ(f.isNull() ? "<null>" : f.asString(), c.stored[i]);
      EXPECT_EQ(ctl<forms::ComboBox>(c.list).itemIndex(), static_cast<int>(i))
          << "the stored code shows the picked entry again";
    }
  }
  // Blank first entries, as saved: the cleared wallet type becomes the empty text.
  ASSERT_TRUE(pick("dbcTpCarteira", 0));
  ASSERT_TRUE(pick("dbcCdProtesto", 0));
  ASSERT_TRUE(pick("cbbPadrAgend", 0));
  ASSERT_TRUE(pick("dbcCdDevol", 0));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("IDCARTCOBR", "104", "02"), "");
  EXPECT_EQ(stored("CDDIAPROTEST", "104", "02"), " ");
  EXPECT_EQ(stored("IDPADRAGENCNABPAG", "104", "02"), "");
  EXPECT_EQ(stored("CDDIADEVOL", "104", "02"), " ");
  EXPECT_EQ(s.cnab().cdsEmprBanc.state(), data::DataSetState::Browse);
}

TEST_F(CompanySettingsTest, keyFiltersAndTheVariationShapeWhatIsTyped) {
  open();
  ASSERT_TRUE(companiesOf("001"));
  const int rows = screen().cnab().cdsEmprBanc.recordCount();
  keyDown("dbgEmprBanc", forms::vk::Delete, {.ctrl = true});
  EXPECT_EQ(screen().cnab().cdsEmprBanc.recordCount(), rows);

  // The return days and the commitment code are on the 104 page.
  ASSERT_TRUE(editCompany("104", "02"));
  for (const char* days : {"dbeDiasProt", "dbeDiasDevol"}) {
    SCOPED_TRACE(days);
    ASSERT_TRUE(setText(days, ""));
    typeInto(days, "1,5");
    EXPECT_EQ(text(days), "15");
    ASSERT_TRUE(setText(days, ""));
    typeInto(days, "-3e+");
    EXPECT_EQ(text(days), "3");
  }
  ASSERT_TRUE(setText("dbeCodComp", ""));
  typeInto("dbeCodComp", "1a2-3 4");
  EXPECT_EQ(text("dbeCodComp"), "1234");
  auto& scheduling = ctl<forms::ComboBox>("cbbPadrAgend");
  scheduling.setVisible(true);
  const int before = scheduling.itemIndex();
  host::runGuarded([&] { scheduling.typeKey(U'A'); });
  EXPECT_EQ(scheduling.itemIndex(), before) << "the list is changed with the mouse only";
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("QTDIAPROTEST", "104", "02"), "3");
  EXPECT_EQ(stored("QTDIADEVOL", "104", "02"), "3");
  EXPECT_EQ(stored("CDCOMPROMISSO", "104", "02"), "1234");

  ASSERT_TRUE(editCompany("001"));
  ASSERT_TRUE(setText("dbeVarCartCob", ""));
  ASSERT_TRUE(typeInto("dbeVarCartCob", "7"));
  ASSERT_TRUE(leave());
  EXPECT_EQ(text("dbeVarCartCob"), "007");
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("NRVARIACARTCOB", "001"), "007");
}

TEST_F(CompanySettingsTest, aSaveTheServerRefusesLeavesNoTrace) {
  TfrmBanco& s = open();
  ASSERT_TRUE(editCompany("237"));
  // Someone changed the row meanwhile: the save is refused and the old wallet is back.
  exec("UPDATE EMPRBANC SET CDCARTCOBR = '555' WHERE CDBANCO = '237' AND CDEMPRESA = '01'");
  ASSERT_TRUE(setText("dbeCarteira", "777"));
  EXPECT_FALSE(press("sbtConfirmar"));
  ASSERT_EQ(errors().size(), 1u);
  auto& rs = s.cnab().cdsEmprBanc;
  EXPECT_EQ(rs.state(), data::DataSetState::Browse);
  EXPECT_EQ(rs.changeCount(), 0);
  EXPECT_EQ(field("CDCARTCOBR").asString(), "009");
  EXPECT_EQ(text("dbeCarteira"), "009");
  EXPECT_EQ(stored("CDCARTCOBR", "237"), "555");
  EXPECT_TRUE(enabled("tshFolhaDados")) << "nothing is edited any more";
}

TEST(CompanyRegistrationNumbers, keepDigitsAndTheLettersOfAnAlphanumericCnpj) {
  EXPECT_EQ(Nr_Codigo("12.ABC.345/01de-35"), "12ABC34501DE35");
  EXPECT_EQ(Nr_Codigo("381.294.056-05"), "38129405605");
  EXPECT_EQ(Nr_Codigo(" -./"), "");
  EXPECT_TRUE(host::validCnpj(Nr_Codigo("12.ABC.345/01DE-35")));
  EXPECT_FALSE(host::validCnpj(Nr_Codigo("12.ABC.345/01DE-99")));
}

}  // namespace
}  // namespace qbk::module::testing
