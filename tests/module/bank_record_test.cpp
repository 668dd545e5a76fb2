// The bank record: the code, name and clearing-house checks when an edit is left and at
// save, the agreement-bank normalisation, and every save reaching the server with the names
// of its empty optional fields, or being reverted when the server refuses it.
#include <gmock/gmock.h>

#include "host/config.h"
#include "host/errors_ui.h"
#include "scenario/bank_screen_fixture.h"
#include "scenario/call_recorder.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BankRecordTest : public BankScreenTest {
 protected:
  // The screen, with every call it makes to the server kept.
  TfrmBanco& openRecorded(const std::string& prepare = "") {
    startServer();
    if (!prepare.empty()) exec(prepare);
    recorder = std::make_unique<CallRecorder>(host::hostConfig().webPort);
    host::HostConfig config = host::hostConfig();
    config.webPort = recorder->port();
    host::setHostConfig(config);
    return openScreen();
  }

  bool focusOn(std::string_view name) {
    return host::runGuarded([&] { ctl(name).setFocus(); });
  }
  const forms::Control* focused() const { return screen().form().activeControl(); }
  std::string text(std::string_view edit) const { return ctl<forms::Edit>(edit).text(); }
  std::string stored(const std::string& column, const std::string& bank) {
    const db::Result r = query("SELECT " + column + " FROM BANCO WHERE CDBANCO = ?", {bank});
    if (r.rows.empty()) return "<sem linha>";
    const auto* s = std::get_if<std::string>(&r.rows.at(0).at(0));
    return s ? *s : "<null>";
  }

  // Starts a new bank on "Dados Principais" with every required value but the code.
  void startNewBank() {
    ASSERT_TRUE(choose("mnuFormulario"));
    ASSERT_TRUE(press("sbtIncluir"));
    ASSERT_EQ(screen().bank().cdsBanco.state(), data::DataSetState::Insert);
  }
  void typeRequired(std::string_view name = "Banco Novo") {
    ASSERT_TRUE(typeInto("dbeBanco", name));
    ASSERT_TRUE(typeInto("dbeMascaraCC", "99999-9"));
    ASSERT_TRUE(typeInto("dbeMascAgencia", "9999"));
    ASSERT_TRUE(typeInto("dbeBancCNAB", "7"));
  }

  std::unique_ptr<CallRecorder> recorder;
};

TEST_F(BankRecordTest, typedCodeIsNormalisedAndAnExistingOneRefusedWhereItWasTyped) {
  startServer();
  openScreen();
  startNewBank();

  ASSERT_TRUE(typeInto("dbeCodigo", "1"));
  EXPECT_FALSE(focusOn("dbeBanco")) << "001 is a demo bank";
  EXPECT_THAT(errors(), ElementsAre("Banco já cadastrado."));
  EXPECT_EQ(text("dbeCodigo"), "001");
  EXPECT_EQ(mainTab()->name(), "tshFormulario");
  EXPECT_EQ(focused()->name(), "dbeCodigo");

  // A free code passes, also normalised, and the bank is saved under it.
  ui.clearEvents();
  ASSERT_TRUE(host::runGuarded([&] { ctl<forms::Edit>("dbeCodigo").setText("79"); }));
  ASSERT_TRUE(focusOn("dbeBanco"));
  EXPECT_EQ(text("dbeCodigo"), "079");
  typeRequired();
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("NMBANCO", "079"), "Banco Novo");
  EXPECT_EQ(stored("CDBANCCNAB", "079"), "007") << "the clearing-house code is normalised";
}

TEST_F(BankRecordTest, saveRefusesMissingValuesOneAtATimeInItsOrder) {
  startServer();
  TfrmBanco& s = openScreen();
  startNewBank();

  // Leaving an empty code or name checks nothing; saving does, first failure first.
  ASSERT_TRUE(focusOn("dbeBanco"));
  ASSERT_TRUE(focusOn("dbeMascaraCC"));
  EXPECT_THAT(errors(), IsEmpty());

  struct Step {
    const char* message;
    const char* focus;
    const char* edit;
    const char* value;
  };
  const Step steps[] = {
      {"Código deve ser informado.", "dbeCodigo", "dbeCodigo", "78"},
      {"Nome deve ser informado.", "dbeBanco", "dbeBanco", "Banco 78"},
      {"Máscara C/C deve ser informada.", "dbeMascaraCC", "dbeMascaraCC", "9999-9"},
      {"Máscara da agência deve ser informada.", "dbeMascAgencia", "dbeMascAgencia", "9999"},
      {"Código do banco na câmara de compensação deve ser informado.", "dbeBancCNAB", "dbeBancCNAB",
       "78"},
  };
  for (const Step& step : steps) {
    ui.clearEvents();
    EXPECT_FALSE(press("sbtConfirmar")) << step.message;
    EXPECT_THAT(errors(), ElementsAre(step.message));
    EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Insert);
    EXPECT_EQ(mainTab()->name(), "tshFormulario") << step.message;
    EXPECT_EQ(focused()->name(), step.focus);
    ASSERT_TRUE(typeInto(step.edit, step.value));
  }
  ui.clearEvents();
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("CDBANCCNAB", "078"), "078");
}

TEST_F(BankRecordTest, editModeNeverChecksTheCodeAndKeepsClearingHouseCodesShared) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("237"));
  ASSERT_TRUE(choose("mnuFormulario"));
  ASSERT_TRUE(press("sbtAlterar"));
  // 001's clearing-house code on another bank: two agreements with one bank are allowed.
  ASSERT_TRUE(host::runGuarded([&] { ctl<forms::Edit>("dbeBancCNAB").setText(""); }));
  ASSERT_TRUE(typeInto("dbeBancCNAB", "1"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
  EXPECT_EQ(stored("CDBANCCNAB", "237"), "001");
}

TEST_F(BankRecordTest, agreementBankIsNormalisedAndABlankOneSavedAsNull) {
  startServer();
  openScreen();
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(choose("mnuFormulario"));
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(typeInto("dbeBancConv", "33"));
  ASSERT_TRUE(focusOn("dbeDiaPro"));
  EXPECT_EQ(text("dbeBancConv"), "033");
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("CDBANCOCONV", "341"), "033");

  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(host::runGuarded([&] { ctl<forms::Edit>("dbeBancConv").setText("   "); }));
  ASSERT_TRUE(focusOn("dbeDiaPro"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("CDBANCOCONV", "341"), "<null>");
}

TEST_F(BankRecordTest, everySaveNamesItsEmptyOptionalFieldsInTheirPlaces) {
  // 237 with every optional value but the cheque model and the agreement bank, and the
  // clearing-house code of another bank.
  openRecorded(
      "UPDATE BANCO SET DSARQBOLCOMP='c', DSARQBOLPREI='p', DSARQCHEQUE=NULL, "
      "DSARQBORDREC='r', DSARQBORDPAG='g', DSARQBORDCHQ='q', DSARQLOGMAR='l', "
      "QTDIAPRORCNT=3, CDBANCOCONV=NULL, CDBANCCNAB='001' WHERE CDBANCO='237'");
  ASSERT_TRUE(goToBank("237"));
  ASSERT_TRUE(choose("mnuFormulario"));
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(typeInto("dbeBanco", " S.A."));
  const int before = recorder->calls("SetBanco");
  ASSERT_TRUE(press("sbtConfirmar"));

  const auto calls = recorder->textArgs("SetBanco");
  ASSERT_EQ(static_cast<int>(calls.size()), before + 1);
  const std::vector<std::string> names(calls.back().begin() + 1, calls.back().end());
  EXPECT_THAT(names, ElementsAre("", "", "DSARQCHEQUE", "", "", "", "", "", "CDBANCOCONV"));

  // The standard message goes by clearing-house code, not by bank code.
  host::runGuarded([&] { ctl<forms::CommandButton>("sbtAtualizarMsg").userClick(); });
  const auto msg = recorder->textArgs("ExecProcMsgPadraoBanco");
  ASSERT_FALSE(msg.empty());
  EXPECT_THAT(msg.back(), ElementsAre("001"));
}

TEST_F(BankRecordTest, aPostOrDeletionTheServerRefusesIsReverted) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(choose("mnuFormulario"));

  // Someone else renamed the bank meanwhile: the change is refused and the old name is back.
  exec("UPDATE BANCO SET NMBANCO='Outro nome' WHERE CDBANCO='341'");
  const std::string name = s.bank().cdsBanco.fieldByName("NMBANCO").asString();
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(typeInto("dbeBanco", "X"));
  EXPECT_FALSE(press("sbtConfirmar"));
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Browse);
  EXPECT_EQ(s.bank().cdsBanco.fieldByName("NMBANCO").asString(), name);
  EXPECT_EQ(s.bank().cdsBanco.changeCount(), 0);
  EXPECT_EQ(stored("NMBANCO", "341"), "Outro nome");

  // Another bank was deleted meanwhile: deleting it here is refused and it comes back.
  ui.clearEvents();
  ASSERT_TRUE(choose("mnuFolhaDados"));
  ASSERT_TRUE(goToBank("422"));
  exec("DELETE FROM BANCO WHERE CDBANCO='422'");
  ui.answerConfirm(true);
  EXPECT_FALSE(press("sbtExcluir"));
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_THAT(column("dbgPadrao"), ::testing::Contains("422"));
  EXPECT_EQ(s.bank().cdsBanco.changeCount(), 0);
}

}  // namespace
}  // namespace qbk::module::testing
