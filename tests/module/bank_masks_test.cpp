// The account and agency masks: what the key filters let through at the caret, the checks
// when the edits are left and at confirm, and the check box that adds or removes the
// agency's check-digit separator.
#include <gmock/gmock.h>

#include "host/errors_ui.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kDigInv = "Quantidade de dígitos de controle deve estar entre 1 e 2'.";
constexpr const char* kMaior =
    "Máscara inválida. Nº de caracteres válidos (9 ou a) deve ser menor ou igual a 5.";

class BankMasksTest : public BankScreenTest {
 protected:
  // Bank 341 on "Dados Principais", in edit mode.
  TfrmBanco& editBank(const std::string& code = "341") {
    startServer();
    TfrmBanco& s = openScreen();
    EXPECT_TRUE(goToBank(code));
    EXPECT_TRUE(choose("mnuFormulario"));
    EXPECT_TRUE(press("sbtAlterar"));
    return s;
  }
  forms::Edit& edit(std::string_view name) const { return ctl<forms::Edit>(name); }
  void setText(std::string_view name, const std::string& value) {
    // As a person does: into the edit first, so leaving it runs its checks.
    ASSERT_TRUE(host::runGuarded([&] {
      edit(name).setFocus();
      edit(name).setText(value);
    }));
  }
  // Types one key with the caret at `caret`; the text afterwards.
  std::string typeAt(std::string_view name, int caret, std::string_view key) {
    edit(name).setSelStart(caret);
    typeInto(name, key);
    return edit(name).text();
  }
  bool leave(std::string_view name) {
    return host::runGuarded([&] { ctl(name == "dbeBanco" ? "dbeDiaPro" : "dbeBanco").setFocus(); });
  }
  bool agencyBox() const { return ctl<forms::CheckBox>("chkVerifAgen").checked(); }
};

TEST_F(BankMasksTest, keyFiltersLetOnlyMaskCharactersThroughAndLettersOnlyAfterTheSeparator) {
  editBank();
  for (const char* name : {"dbeMascaraCC", "dbeMascAgencia"}) {
    SCOPED_TRACE(name);
    setText(name, "");
    EXPECT_EQ(typeAt(name, 0, "a"), "") << "no separator yet";
    EXPECT_EQ(typeAt(name, 0, "x"), "");
    EXPECT_EQ(typeAt(name, 0, "1"), "");
    EXPECT_EQ(typeAt(name, 0, "9"), "9");
    EXPECT_EQ(typeAt(name, 1, "9"), "99");
    EXPECT_EQ(typeAt(name, 2, "-"), "99-");
    EXPECT_EQ(typeAt(name, 3, "-"), "99-") << "one separator only";
    EXPECT_EQ(typeAt(name, 2, "a"), "99-") << "caret before the separator";
    EXPECT_EQ(typeAt(name, 3, "A"), "99-a") << "upper case becomes lower case";
    EXPECT_EQ(typeAt(name, 4, "\b"), "99-");
  }
  // Digits only in the clearing-house and extension-days edits.
  setText("dbeBancCNAB", "");
  EXPECT_EQ(typeAt("dbeBancCNAB", 0, "1a-2"), "12");
  setText("dbeDiaPro", "");
  EXPECT_EQ(typeAt("dbeDiaPro", 0, "3,5"), "35");
}

TEST_F(BankMasksTest, accountMaskIsCheckedWhenLeftAndRequiredOnlyAtSave) {
  TfrmBanco& s = editBank();
  setText("dbeMascaraCC", "");
  EXPECT_TRUE(leave("dbeMascaraCC"));
  EXPECT_THAT(errors(), IsEmpty());

  setText("dbeMascaraCC", "9a9-9");
  EXPECT_FALSE(leave("dbeMascaraCC"));
  EXPECT_THAT(errors(), ElementsAre("Máscara C/C inválida."));
  EXPECT_EQ(s.form().activeControl()->name(), "dbeMascaraCC");

  ui.clearEvents();
  setText("dbeMascaraCC", "99a");  // no separator: the "a" is not before one
  EXPECT_TRUE(leave("dbeMascaraCC"));
  setText("dbeMascaraCC", "");
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre("Máscara C/C deve ser informada."));
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Edit);
}

TEST_F(BankMasksTest, agencyCheckDigitsAndSizeAtExitAndAtConfirm) {
  TfrmBanco& s = editBank();
  struct Case {
    const char* mask;
    const char* atExit;  // "" when leaving passes
    const char* atSave;  // "" when the save passes
  };
  const Case cases[] = {
      {"9999-", "", kDigInv},
      {"99-999", "", kDigInv},
      {"99a-9", "", "Máscara C/C inválida."},
      {"999999", kMaior, kMaior},
      {"", "", "Máscara da agência deve ser informada."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    ui.clearEvents();
    setText("dbeMascAgencia", c.mask);
    EXPECT_EQ(leave("dbeMascAgencia"), std::string(c.atExit).empty());
    if (*c.atExit) {
      EXPECT_THAT(errors(), ElementsAre(c.atExit));
    }
    ui.clearEvents();
    EXPECT_FALSE(press("sbtConfirmar"));
    EXPECT_THAT(errors(), ElementsAre(c.atSave));
    EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Edit);
    EXPECT_EQ(s.form().activeControl()->name(), "dbeMascAgencia");
  }
  ui.clearEvents();
  setText("dbeMascAgencia", "9999-9");
  EXPECT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_TRUE(agencyBox());
}

TEST_F(BankMasksTest, checkBoxEditsTheSeparatorAndFollowsTheSavedMaskOtherwise) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("341"));  // agency "9999"
  ASSERT_TRUE(choose("mnuFormulario"));
  EXPECT_FALSE(agencyBox());
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse) << "set by the screen: no edit";

  ASSERT_TRUE(host::runGuarded([&] { ctl<forms::CheckBox>("chkVerifAgen").userClick(); }));
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Edit);
  EXPECT_EQ(s.bank().cdsBanco.fieldByName("CDPICTAGEN").asString(), "9999-");
  setText("dbeMascAgencia", "9999-9");
  ASSERT_TRUE(host::runGuarded([&] { ctl<forms::CheckBox>("chkVerifAgen").userClick(); }));
  EXPECT_EQ(s.bank().cdsBanco.fieldByName("CDPICTAGEN").asString(), "99999")
      << "digits after it stay";

  // Cancelling brings the saved mask and its box back; moving to 237 ("9999-9") ticks it.
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  EXPECT_FALSE(agencyBox());
  ASSERT_TRUE(choose("mnuFolhaDados"));
  ASSERT_TRUE(goToBank("237"));
  EXPECT_TRUE(agencyBox());
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
}

}  // namespace
}  // namespace qbk::module::testing
