// The report definition editor the desktop shows for the designer: what is saved reaches
// the file, and a file that cannot be read is reported without opening an empty editor.
#include "desktop/report_designer_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "desktop/report_designer_form.h"
#include "host/report/report_definition.h"

namespace qbk::desktop {
namespace {

void whenModalShows(std::function<void(QWidget*)> act) {
  auto attempt = std::make_shared<std::function<void()>>();
  *attempt = [act, attempt] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      act(w);
    } else {
      QTimer::singleShot(10, *attempt);
    }
  };
  QTimer::singleShot(0, *attempt);
}

void click(QWidget* w, const QString& text) {
  for (auto* b : w->findChildren<QPushButton*>())
    if (b->text() == text) return b->click();
  ADD_FAILURE() << "no button " << text.toStdString();
}

std::filesystem::path tempFile(const std::string& content) {
  auto dir = std::filesystem::temp_directory_path() / "qbk-designer-test";
  std::filesystem::create_directories(dir);
  auto path = dir / "cheque.qr2";
  std::ofstream(path) << content;
  return path;
}

TEST(ReportDesignerWindow, savedTextReachesTheDefinitionFile) {
  const auto path = tempFile("BANDA CABECALHO");
  std::string shown;
  whenModalShows([&](QWidget* dialog) {
    auto* editor = dialog->findChild<QPlainTextEdit*>();
    ASSERT_NE(editor, nullptr);
    shown = editor->toPlainText().toStdString();
    editor->setPlainText("BANDA CABEÇALHO\nBANDA DETALHE");
    click(dialog, "Salvar");
  });
  editReportDefinition(nullptr,
                       {.path = path.string(), .when = {}, .settings = {}, .owner = nullptr});
  EXPECT_EQ(shown, "BANDA CABECALHO");
  std::stringstream saved;
  saved << std::ifstream(path).rdbuf();
  EXPECT_EQ(saved.str(), "BANDA CABEÇALHO\nBANDA DETALHE");
}

TEST(ReportDesignerWindow, anUnreadableFileIsReportedAndNoEditorOpens) {
  QString message;
  bool editorSeen = false;
  whenModalShows([&](QWidget* w) {
    editorSeen = w->findChild<QPlainTextEdit*>() != nullptr;
    if (auto* box = qobject_cast<QMessageBox*>(w)) message = box->text();
    w->close();
  });
  editReportDefinition(
      nullptr, {.path = "/nao/existe/modelo.qr2", .when = {}, .settings = {}, .owner = nullptr});
  EXPECT_FALSE(editorSeen);
  EXPECT_TRUE(message.contains("/nao/existe/modelo.qr2"));
}

TEST(ReportDesignerWindow, aDefinitionIsEditedByItsPartsWithAPreviewAndSavedBack) {
  const std::filesystem::path shipped = std::filesystem::path(QBK_TEST_REPORT_DIR) / "QBK512.qr2";
  std::stringstream original;
  original << std::ifstream(shipped).rdbuf();
  const auto path = tempFile(original.str());
  int pagesBefore = 0, pagesAfter = 0;
  whenModalShows([&](QWidget* w) {
    auto* designer = dynamic_cast<ReportDesignerWindow*>(w);
    ASSERT_NE(designer, nullptr) << "our definitions open in the designer";
    EXPECT_EQ(designer->findChild<QLineEdit*>("edtTitulo")->text().toStdString(), "Banco");
    auto* columns = designer->findChild<QTableWidget*>("tblColunas");
    ASSERT_EQ(columns->rowCount(), 2);
    pagesBefore = static_cast<int>(designer->preview().pages.size());
    EXPECT_TRUE(designer->preview().pages.at(0).boxes.size() > 2);

    designer->findChild<QLineEdit*>("edtTitulo")->setText("Bancos ativos");
    designer->findChild<QPushButton*>("btnIncluirColuna")->click();
    columns->item(2, 0)->setText("Compensação");
    columns->item(2, 1)->setText("CDBANCCNAB");
    columns->item(2, 2)->setText("20");
    designer->findChild<QComboBox*>("cbbOrientacao")->setCurrentIndex(1);
    pagesAfter = static_cast<int>(designer->preview().pages.size());
    bool titled = false;
    for (const auto& box : designer->preview().pages.at(0).boxes)
      titled = titled || box.text == "Bancos ativos";
    EXPECT_TRUE(titled) << "the preview follows the edits";
    EXPECT_DOUBLE_EQ(designer->preview().width, 297);
    designer->findChild<QPushButton*>("btnSalvar")->click();
  });
  editReportDefinition(nullptr,
                       {.path = path.string(), .when = {}, .settings = {}, .owner = nullptr});
  EXPECT_GE(pagesBefore, 1);
  EXPECT_GE(pagesAfter, 1);
  const auto saved = host::report::loadReportDefinition(path);
  const auto before = host::report::parseReportDefinition(original.str());
  EXPECT_EQ(saved.title, "Bancos ativos");
  ASSERT_EQ(saved.columns.size(), 3u);
  EXPECT_EQ(saved.columns[2].field, "CDBANCCNAB");
  EXPECT_EQ(saved.columns[2].caption, "Compensação");
  EXPECT_DOUBLE_EQ(saved.columns[2].width, 20);
  EXPECT_EQ(saved.page.orientation, host::report::Orientation::Landscape);
  EXPECT_EQ(saved.sql, before.sql);
  EXPECT_EQ(saved.params.size(), before.params.size());
  EXPECT_EQ(saved.totals.size(), before.totals.size()) << "what the window does not show is kept";
  EXPECT_EQ(saved.header.size(), before.header.size());
}

}  // namespace
}  // namespace qbk::desktop
