// The report definition editor the desktop shows for the designer: what is saved reaches
// the file, and a file that cannot be read is reported without opening an empty editor.
#include "desktop/report_designer_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

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

}  // namespace
}  // namespace qbk::desktop
