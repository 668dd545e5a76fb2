// The print models: picking their files, and opening the cheque and boleto models in the
// report designer only when the model is named and its file is there.
#include <gmock/gmock.h>

#include <fstream>

#include "host/config.h"
#include "host/errors_ui.h"
#include "host/report_designer.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BankPrintModelsTest : public BankScreenTest {
 protected:
  TfrmBanco& onBank(const std::string& code) {
    startServer();
    TfrmBanco& s = openScreen();
    EXPECT_TRUE(goToBank(code));
    EXPECT_TRUE(choose("mnuFormulario"));
    return s;
  }
  std::string field(const std::string& name) const {
    return screen().bank().cdsBanco.fieldByName(name).asString();
  }
  std::vector<std::string> dialogFilters() const {
    std::vector<std::string> out;
    for (const auto& e : ui.events(host::UiEventKind::OpenFile)) out.push_back(e.text);
    return out;
  }
};

TEST_F(BankPrintModelsTest, pickersFillTheirOwnRowAndRefuseAPathTooLongForIt) {
  TfrmBanco& s = onBank("341");
  const std::string prei = field("DSARQBOLPREI");

  // A cancelled dialog still leaves the bank in edit, with nothing changed.
  ui.answerOpenFile(std::nullopt);
  ASSERT_TRUE(press("btpModBorCob"));
  EXPECT_EQ(s.bank().cdsBanco.state(), data::DataSetState::Edit);
  EXPECT_EQ(s.bank().cdsBanco.changeCount(), 0);

  ui.answerOpenFile("/modelos/bordero.qr2");
  ASSERT_TRUE(press("btpModBorCob"));
  EXPECT_EQ(field("DSARQBORDREC"), "/modelos/bordero.qr2");
  EXPECT_EQ(ctl<forms::Edit>("dbeModBorCob").text(), "/modelos/bordero.qr2");
  EXPECT_EQ(field("DSARQBOLPREI"), prei);

  // A cut path would name another file: it is refused and the field keeps what it had,
  // at 101 characters for a 100-character field as at 251 for a 250-character one.
  const std::string cheque = field("DSARQCHEQUE");
  ui.answerOpenFile("/" + std::string(96, 'm') + ".qr2");
  EXPECT_FALSE(press("btpModCheque"));
  EXPECT_EQ(field("DSARQCHEQUE"), cheque);
  ui.answerOpenFile("/" + std::string(246, 'm') + ".qr2");
  EXPECT_FALSE(press("BtpModBorChe"));
  EXPECT_EQ(field("DSARQBORDCHQ"), "");
  EXPECT_THAT(errors(), ElementsAre("O caminho escolhido tem 101 caracteres, mas o campo "
                                    "\"Modelo de Cheque\" aceita no máximo 100. Escolha um "
                                    "arquivo com caminho mais curto.",
                                    "O caminho escolhido tem 251 caracteres, mas o campo "
                                    "\"Modelo de Borderô Cheque\" aceita no máximo 250. "
                                    "Escolha um arquivo com caminho mais curto."));
  EXPECT_TRUE(ctl<forms::Edit>("dbeModBorChe").focused());
  ui.answerOpenFile("/" + std::string(245, 'm') + ".qr2");
  ASSERT_TRUE(press("BtpModBorChe"));
  EXPECT_EQ(data::utf8Length(field("DSARQBORDCHQ")), 250u);

  ui.answerOpenFile("/img/logo.bmp");
  ASSERT_TRUE(press("btpLogMar"));
  EXPECT_EQ(field("DSARQLOGMAR"), "/img/logo.bmp");
  const std::string qr2 = "Arquivos de Relatório (*.qr2)|*.qr2";
  EXPECT_THAT(dialogFilters(),
              ElementsAre(qr2, qr2, qr2, qr2, qr2, "Arquivos de Imagem (*.bmp)|*.bmp"));

  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(errors().size(), 2u) << "nothing more after the refused picks";
  const db::Result r = query("SELECT DSARQBORDREC FROM BANCO WHERE CDBANCO = '341'");
  EXPECT_EQ(std::get<std::string>(r.rows.at(0).at(0)), "/modelos/bordero.qr2");
}

TEST_F(BankPrintModelsTest, popupOpensOnlyANamedModelWhoseFileExists) {
  const std::string model = dir.file("boleto.qr2");
  std::ofstream(model) << "relatorio";
  startServer();
  exec(
      "UPDATE BANCO SET DSARQBOLCOMP = NULL, DSARQCHEQUE = ?, DSARQBOLPREI = ? "
      "WHERE CDBANCO = '341'",
      {model, dir.file("apagado.qr2")});
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("341"));
  ASSERT_TRUE(choose("mnuFolhaDados"));

  // Ctrl+E is the button: the pop-up appears under it.
  auto& popup = ctl<forms::PopupMenu>("pmnEditModelo");
  ASSERT_TRUE(press("sbtEdit"));
  const int x = popup.popupX(), y = popup.popupY();
  ASSERT_TRUE(choose("mnuEdit"));
  EXPECT_EQ(popup.popupCount(), 2);
  EXPECT_EQ(popup.popupX(), x);
  EXPECT_EQ(popup.popupY(), y);
  EXPECT_EQ(y,
            ctl("sbtEdit").top() + ctl("sbtEdit").height() + ctl("panMenu").top() + s.form().top());

  EXPECT_FALSE(choose("mnuModBolComp"));
  EXPECT_THAT(errors(), ElementsAre("Modelo de Boleto Completo deve ser informado. "));
  EXPECT_EQ(mainTab()->name(), "tshFormulario");
  EXPECT_EQ(s.form().activeControl()->name(), "dbeModBolComp");

  ui.clearEvents();
  ASSERT_TRUE(choose("mnuModBolprei"));
  EXPECT_THAT(errors(), ElementsAre("Arquivo informado não encontrado."));
  EXPECT_THAT(s.bank().rddModelos.requests(), IsEmpty());

  ui.clearEvents();
  ASSERT_TRUE(choose("mnuModCheque"));
  EXPECT_THAT(errors(), IsEmpty());
  ASSERT_EQ(s.bank().rddModelos.requests().size(), 1u);
  EXPECT_EQ(s.bank().rddModelos.requests().front().path, model);
  EXPECT_EQ(s.bank().rddModelos.requests().front().settings.designerVersion, "1.30");
}

TEST(ReportDesignerTest, longNamesAreCutWithoutSplittingACharacter) {
  host::TReportDesignerDialog designer;
  std::vector<std::string> opened;
  auto previous = host::TReportDesignerDialog::setOpener(
      [&](const host::ReportEditRequest& r) { opened.push_back(r.path); });
  const std::string name = std::string(254, 'a') + "é.qr2";  // "é" straddles byte 255
  designer.EditReport(name, std::chrono::system_clock::now());
  host::TReportDesignerDialog::setOpener(previous);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened.front(), std::string(254, 'a'));
}

}  // namespace
}  // namespace qbk::module::testing
