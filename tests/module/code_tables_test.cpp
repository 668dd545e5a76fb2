// The code tables of a bank: each table's duplicate check against the server with its own
// message, empty codes and descriptions, codes that cannot be typed over, deletions only by
// the command, instruction codes normalised before they are checked, refused sends, and
// the lists following the current bank while the navigator is locked during an edit.
#include <gmock/gmock.h>

#include "host/config.h"
#include "host/errors_ui.h"
#include "scenario/bank_screen_fixture.h"
#include "scenario/call_recorder.h"

namespace qbk::module::testing {
namespace {

using data::DataSetState;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class CodeTablesTest : public BankScreenTest {
 protected:
  // The screen on bank 001 with its "CNAB" tab and `subTab` in front.
  TfrmBanco& openOn(const char* subTab, bool recorded = false) {
    startServer();
    if (recorded) {
      recorder = std::make_unique<CallRecorder>(host::hostConfig().webPort);
      host::HostConfig config = host::hostConfig();
      config.webPort = recorder->port();
      host::setHostConfig(config);
    }
    TfrmBanco& s = openScreen();
    EXPECT_TRUE(goToBank("001"));
    EXPECT_TRUE(selectTab("tshCNAB"));
    EXPECT_TRUE(selectTab(subTab));
    return s;
  }

  // The return-code tables have no command that edits them: their rows are worked on
  // through the record sets, with the screen's rules attached.
  static bool act(const std::function<void()>& action) { return host::runGuarded(action); }
  static void set(data::RecordSet& rs, const char* field, const std::string& value) {
    ASSERT_TRUE(act([&] { rs.fieldByName(field).setString(value); }));
  }

  const forms::Control* focused() const { return screen().form().activeControl(); }
  std::string selectedField(std::string_view grid) const {
    const data::Field* f = ctl<forms::Grid>(grid).selectedField();
    return f ? f->name() : "";
  }
  // Moves a grid from its code column to the next one: the code column's exit check.
  bool leaveCode(std::string_view grid) { return keyDown(grid, forms::vk::Tab); }

  std::unique_ptr<CallRecorder> recorder;
};

TEST_F(CodeTablesTest, aDuplicateCodeIsRefusedWithItsTablesMessageAndFreeInTheOtherTable) {
  TfrmBanco& s = openOn("tshErroRetornoPag");
  data::RecordSet& pag = s.codes().cdsErrCnabPag;
  data::RecordSet& rec = s.codes().cdsErrCnabRec;

  // A new row starts in the code column.
  ASSERT_TRUE(act([&] { pag.insert(); }));
  EXPECT_EQ(selectedField("dbgErrCnabPag"), "CDERRCNABP");
  EXPECT_EQ(focused()->name(), "dbgErrCnabPag");

  set(pag, "CDERRCNABP", "AA");
  EXPECT_FALSE(leaveCode("dbgErrCnabPag"));
  EXPECT_THAT(errors(), ElementsAre("CNAB/Pagar já cadastrado."));
  EXPECT_EQ(selectedField("dbgErrCnabPag"), "CDERRCNABP");

  // "06" is a receivables code of 001 only.
  ui.clearEvents();
  set(pag, "CDERRCNABP", "06");
  ASSERT_TRUE(leaveCode("dbgErrCnabPag"));
  set(pag, "DSERRCNABP", "Liquidação");
  ASSERT_TRUE(act([&] { pag.post(); }));
  EXPECT_EQ(count("ERRCNABP", "CDBANCO = '001' AND CDERRCNABP = '06'"), 1);

  ASSERT_TRUE(selectTab("tshErroRetornoRec"));
  ASSERT_TRUE(act([&] { rec.insert(); }));
  EXPECT_EQ(selectedField("dbgErrCnabRec"), "CDERRCNABR");
  set(rec, "CDERRCNABR", "06");
  set(rec, "DSERRCNABR", "Outra");
  EXPECT_FALSE(act([&] { rec.post(); })) << "the post checks the code again";
  EXPECT_THAT(errors(), ElementsAre("Código já cadastrado."));
  EXPECT_EQ(rec.state(), DataSetState::Insert);

  ui.clearEvents();
  set(rec, "CDERRCNABR", "AA");
  ASSERT_TRUE(act([&] { rec.post(); }));
  EXPECT_EQ(count("ERRCNABR", "CDBANCO = '001' AND CDERRCNABR = 'AA'"), 1);
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(CodeTablesTest, emptyCodesPassTheColumnExitAndAreRefusedAtThePostLikeEmptyTexts) {
  TfrmBanco& s = openOn("tshErroRetornoPag");
  data::RecordSet& pag = s.codes().cdsErrCnabPag;

  ASSERT_TRUE(act([&] { pag.insert(); }));
  ASSERT_TRUE(leaveCode("dbgErrCnabPag"));
  EXPECT_EQ(selectedField("dbgErrCnabPag"), "DSERRCNABP");
  EXPECT_THAT(errors(), IsEmpty());

  EXPECT_FALSE(act([&] { pag.post(); }));
  EXPECT_THAT(errors(), ElementsAre("Código deve ser informado."));
  EXPECT_EQ(selectedField("dbgErrCnabPag"), "CDERRCNABP");
  EXPECT_EQ(pag.state(), DataSetState::Insert);

  ui.clearEvents();
  set(pag, "CDERRCNABP", "Z9");
  EXPECT_FALSE(act([&] { pag.post(); }));
  EXPECT_THAT(errors(), ElementsAre("Descrição deve ser informada"));
  EXPECT_EQ(selectedField("dbgErrCnabPag"), "DSERRCNABP");
  EXPECT_EQ(pag.state(), DataSetState::Insert);
  ASSERT_TRUE(act([&] { pag.cancel(); }));

  // The instructions, through their grid and the command bar.
  ui.clearEvents();
  ASSERT_TRUE(selectTab("tshInstruCobr"));
  ASSERT_TRUE(press("sbtIncluir"));
  ASSERT_TRUE(leaveCode("dbgInstruCobr"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Sem código"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre("Código deve ser informado."));
  EXPECT_EQ(selectedField("dbgInstruCobr"), "CDINSTCOBR");

  ui.clearEvents();
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "44"));
  ASSERT_TRUE(leaveCode("dbgInstruCobr"));
  ASSERT_TRUE(act([&] { s.codes().cdsInstruCobr.fieldByName("NMINSTCOBR").clear(); }));
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre("Nome deve ser informado."));
  EXPECT_EQ(selectedField("dbgInstruCobr"), "NMINSTCOBR");
  EXPECT_EQ(s.codes().cdsInstruCobr.state(), DataSetState::Insert);
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '001' AND CDINSTCOBR = '44'"), 0);
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
}

TEST_F(CodeTablesTest, anExistingRowKeepsItsCodeUncheckedWhileItsTextChanges) {
  TfrmBanco& s = openOn("tshInstruCobr");
  data::RecordSet& instr = s.codes().cdsInstruCobr;
  const std::string code = instr.fieldByName("CDINSTCOBR").asString();

  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_EQ(selectedField("dbgInstruCobr"), "NMINSTCOBR");
  ASSERT_TRUE(keyDown("dbgInstruCobr", forms::vk::Tab, {.shift = true}));
  ASSERT_EQ(selectedField("dbgInstruCobr"), "CDINSTCOBR");
  EXPECT_FALSE(typeIntoGrid("dbgInstruCobr", "9x"));
  EXPECT_FALSE(ctl<forms::Grid>("dbgInstruCobr").editorOpen());
  EXPECT_EQ(instr.fieldByName("CDINSTCOBR").asString(), code);
  // Tab still moves on, and the name takes what is typed.
  ASSERT_TRUE(keyDown("dbgInstruCobr", forms::vk::Tab));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Nome trocado"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '001' AND CDINSTCOBR = ? AND NMINSTCOBR = ?",
                  {code, std::string("Nome trocado")}),
            1);

  // A return code being edited is not checked again: its code is in the table already.
  ASSERT_TRUE(selectTab("tshErroRetornoPag"));
  data::RecordSet& pag = s.codes().cdsErrCnabPag;
  const std::string pagCode = pag.fieldByName("CDERRCNABP").asString();
  ASSERT_TRUE(act([&] { pag.edit(); }));
  set(pag, "DSERRCNABP", "Descrição nova");
  ASSERT_TRUE(act([&] { pag.post(); }));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(count("ERRCNABP", "CDBANCO = '001' AND CDERRCNABP = ? AND DSERRCNABP = ?",
                  {pagCode, std::string("Descrição nova")}),
            1);
}

TEST_F(CodeTablesTest, theKeyboardNeverDeletesAReturnCode) {
  TfrmBanco& s = openOn("tshErroRetornoPag");
  const int pag = s.codes().cdsErrCnabPag.recordCount();
  const int rec = s.codes().cdsErrCnabRec.recordCount();
  // Grids whose own deletion would go ahead unasked.
  for (const char* grid : {"dbgErrCnabPag", "dbgErrCnabRec"})
    ctl<forms::Grid>(grid).confirmDeletion = [](forms::Grid&) { return true; };
  keyDown("dbgErrCnabPag", forms::vk::Delete, {.ctrl = true});
  keyDown("dbgErrCnabPag", forms::vk::Delete);
  ASSERT_TRUE(selectTab("tshErroRetornoRec"));
  keyDown("dbgErrCnabRec", forms::vk::Delete, {.ctrl = true});
  EXPECT_EQ(s.codes().cdsErrCnabPag.recordCount(), pag);
  EXPECT_EQ(s.codes().cdsErrCnabRec.recordCount(), rec);
  for (const char* command : {"sbtIncluir", "sbtAlterar", "sbtExcluir"})
    EXPECT_FALSE(enabled(command)) << command;
}

TEST_F(CodeTablesTest, aOneCharacterInstructionIsNormalisedBeforeItsDuplicateCheck) {
  TfrmBanco& s = openOn("tshInstruCobr", /*recorded=*/true);
  ASSERT_TRUE(press("sbtIncluir"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "1"));
  EXPECT_FALSE(leaveCode("dbgInstruCobr"));
  EXPECT_THAT(errors(), ElementsAre("Instrução já cadastrada."));
  EXPECT_EQ(s.codes().cdsInstruCobr.fieldByName("CDINSTCOBR").asString(), "01");
  EXPECT_EQ(selectedField("dbgInstruCobr"), "CDINSTCOBR");
  EXPECT_THAT(recorder->textArgs("VerifInstru").back(), ElementsAre("001", "01"));

  ui.clearEvents();
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "2"));
  ASSERT_TRUE(leaveCode("dbgInstruCobr"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Protestar em 2 dias"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '001' AND CDINSTCOBR = '02'"), 1);
}

TEST_F(CodeTablesTest, aRefusedSendReturnsTheRowsToWhatTheServerHas) {
  TfrmBanco& s = openOn("tshInstruCobr", /*recorded=*/true);
  data::RecordSet& instr = s.codes().cdsInstruCobr;

  // Someone else deleted the instruction being renamed.
  const std::string code = instr.fieldByName("CDINSTCOBR").asString();
  const std::string name = instr.fieldByName("NMINSTCOBR").asString();
  exec("DELETE FROM INSTCOBRANCA WHERE CDBANCO = '001' AND CDINSTCOBR = ?", {code});
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Renomeada"));
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_EQ(errors().size(), 1u);
  EXPECT_EQ(instr.state(), DataSetState::Browse);
  EXPECT_EQ(instr.changeCount(), 0);
  EXPECT_EQ(instr.fieldByName("NMINSTCOBR").asString(), name);
  EXPECT_TRUE(enabled("sbtIncluir")) << "the command bar is back in browse";

  // A receivables deletion travels alone, to its own method.
  ui.clearEvents();
  ASSERT_TRUE(selectTab("tshErroRetornoRec"));
  data::RecordSet& rec = s.codes().cdsErrCnabRec;
  const int rows = rec.recordCount();
  const int pagSends = recorder->calls("SetErrCnabPag");
  exec("UPDATE ERRCNABR SET DSERRCNABR = 'Mudou' WHERE CDBANCO = '001' AND CDERRCNABR = ?",
       {rec.fieldByName("CDERRCNABR").asString()});
  EXPECT_FALSE(act([&] { rec.deleteRecord(); }));
  EXPECT_EQ(errors().size(), 1u);
  EXPECT_EQ(rec.recordCount(), rows);
  EXPECT_EQ(rec.changeCount(), 0);
  EXPECT_EQ(recorder->calls("SetErrCnabRec"), 1);
  EXPECT_EQ(recorder->calls("SetErrCnabPag"), pagSends);
}

TEST_F(CodeTablesTest, aRowOfABankDeletedMeanwhileIsRefusedByTheServer) {
  startServer();
  insertBank("123", "Banco Efêmero");
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("123"));
  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(selectTab("tshInstruCobr"));
  ASSERT_TRUE(press("sbtIncluir"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "7"));
  ASSERT_TRUE(leaveCode("dbgInstruCobr"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Não protestar"));
  exec("DELETE FROM BANCO WHERE CDBANCO = '123'");
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), ElementsAre("O banco 123 não está cadastrado: INSTCOBRANCA (CDBANCO=123, "
                                    "CDINSTCOBR=07) não pode ser gravado."));
  EXPECT_TRUE(s.codes().cdsInstruCobr.isEmpty());
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '123'"), 0);
}

TEST_F(CodeTablesTest, theListsFollowTheBankAndTheBankStaysWhileARowIsTyped) {
  startServer();
  insertBank("002", "Banco Dois");
  exec("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('002', 'P2', 'Pagar 2')");
  exec("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('002', 'R2', 'Receber 2')");
  exec("INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('002', 'I2', 'Dois')");
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("001"));
  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(selectTab("tshErroRetornoPag"));
  auto& navigator = ctl<forms::Navigator>("dbnPadrao");

  ASSERT_TRUE(host::runGuarded([&] { navigator.press(forms::NavButton::Next); }));
  ASSERT_EQ(s.bank().codigoBanco(), "002");
  EXPECT_THAT(column("dbgErrCnabPag"), ElementsAre("P2"));
  // The other list came with the tab and follows too, for when its sub-tab comes up.
  EXPECT_THAT(column("dbgErrCnabRec"), ElementsAre("R2"));

  ASSERT_TRUE(selectTab("tshInstruCobr"));
  EXPECT_THAT(column("dbgInstruCobr"), ElementsAre("I2"));
  ASSERT_TRUE(press("sbtIncluir"));
  EXPECT_FALSE(navigator.enabled());
  EXPECT_FALSE(enabled("tshFolhaDados"));
  EXPECT_FALSE(enabled("mnuFolhaDados"));
  bool moved = true;
  ASSERT_TRUE(host::runGuarded([&] { moved = navigator.press(forms::NavButton::Prior); }));
  EXPECT_FALSE(moved);
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "I3"));
  ASSERT_TRUE(leaveCode("dbgInstruCobr"));
  ASSERT_TRUE(typeIntoGrid("dbgInstruCobr", "Três"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(count("INSTCOBRANCA", "CDBANCO = '002' AND CDINSTCOBR = 'I3'"), 1);
  EXPECT_TRUE(navigator.enabled());

  ASSERT_TRUE(host::runGuarded([&] { navigator.press(forms::NavButton::Prior); }));
  ASSERT_EQ(s.bank().codigoBanco(), "001");
  EXPECT_THAT(column("dbgInstruCobr"), Not(Contains("I2")));
  EXPECT_THAT(column("dbgInstruCobr"), Contains("22"));
  EXPECT_THAT(column("dbgErrCnabPag"), Contains("AA"));
  EXPECT_THAT(errors(), IsEmpty());
}

}  // namespace
}  // namespace qbk::module::testing
