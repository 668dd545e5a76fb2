// The report preview on the real widgets, offscreen: the bank list of a real database of
// each engine, navigated and zoomed, saved to PDF (its text read back with pdftotext) and to
// a spreadsheet file.
#include <gtest/gtest.h>

#include <QLabel>
#include <QToolButton>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "db/connection.h"
#include "desktop/report_preview_window.h"
#include "host/report/report_query.h"
#include "support/postgres_scratch.h"
#include "support/temp_dir.h"

namespace qbk::desktop {
namespace {

using host::report::ReportRun;

std::string pdfText(const std::string& file) {
  std::string out;
  FILE* pipe = ::popen(("pdftotext -layout '" + file + "' - 2>&1").c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

class ReportPreviewTest : public ::testing::TestWithParam<db::Engine> {
 protected:
  ReportRun bankList(int banks, const std::string& list) {
    if (GetParam() == db::Engine::PostgreSQL) {
      scratch_ = std::make_unique<::qbk::testing::PostgresScratch>();
      if (!scratch_->available()) return {};
      conn_ = db::open(scratch_->location());
    } else {
      conn_ = db::open(dir.file("banks.sqlite"));
    }
    conn_->executeScript(
        "CREATE TABLE BANCO (CDBANCO VARCHAR(3) PRIMARY KEY, NMBANCO VARCHAR(30))");
    for (int i = 0; i < banks; ++i) {
      char code[8];
      std::snprintf(code, sizeof code, "%03d", i + 1);
      conn_->execute("INSERT INTO BANCO VALUES (?, ?)",
                     {std::string(code), "Banco Comercial " + std::string(code)});
    }
    ReportRun run;
    run.file = host::report::findReportDefinition(QBK_TEST_REPORT_DIR, "QBK512");
    run.definition = host::report::loadReportDefinition(run.file);
    run.params = host::report::ReportParams(run.definition);
    run.params.ParamByName("TCDBANCO") = list.empty() ? "T" : "";
    run.params.ParamByName("CDBANCO") = list;
    run.data = host::report::runReportQuery(*conn_, run.definition, run.params);
    run.document = host::report::layoutReport(run.definition, run.data);
    return run;
  }

  ::qbk::testing::TempDir dir;

 private:
  std::unique_ptr<::qbk::testing::PostgresScratch> scratch_;
  std::unique_ptr<db::Connection> conn_;
};

TEST_P(ReportPreviewTest, previewNavigatesZoomsAndSavesThePagesItShows) {
  ReportRun run = bankList(130, "");
  if (run.document.pages.empty()) GTEST_SKIP() << "no PostgreSQL server to test against";
  ASSERT_GE(run.document.pages.size(), 2u);
  const int pages = static_cast<int>(run.document.pages.size());

  ReportPreviewWindow window(run, nullptr);
  window.show();
  auto* label = window.findChild<QLabel*>("lblPagina");
  auto* next = window.findChild<QToolButton*>("btnProxima");
  auto* last = window.findChild<QToolButton*>("btnUltima");
  auto* previous = window.findChild<QToolButton*>("btnAnterior");
  ASSERT_TRUE(label && next && last && previous);
  EXPECT_EQ(window.pageCount(), pages);
  EXPECT_EQ(label->text().toStdString(), "Página 1 de " + std::to_string(pages));
  EXPECT_FALSE(previous->isEnabled());
  next->click();
  EXPECT_EQ(window.pageIndex(), 1);
  last->click();
  EXPECT_EQ(label->text().toStdString(),
            "Página " + std::to_string(pages) + " de " + std::to_string(pages));
  EXPECT_FALSE(next->isEnabled());
  QWidget* page = window.findChild<QWidget*>("reportPage");
  ASSERT_NE(page, nullptr);
  const int width = page->width();
  window.setZoom(2.0);
  EXPECT_NEAR(page->width(), 2 * width, 2);
  // The page is painted: something dark on the white sheet.
  const QImage shot = page->grab().toImage();
  bool ink = false;
  for (int y = 0; y < shot.height() && !ink; y += 2)
    for (int x = 0; x < shot.width() && !ink; x += 2) ink = qGray(shot.pixel(x, y)) < 128;
  EXPECT_TRUE(ink);

  QString error;
  const std::string pdf = dir.file("bancos.pdf");
  ASSERT_TRUE(window.savePdf(QString::fromStdString(pdf), error)) << error.toStdString();
  const std::string text = pdfText(pdf);
  ASSERT_NE(text.find("Banco"), std::string::npos) << text.substr(0, 400);
  for (int p = 1; p <= pages; ++p) {
    EXPECT_NE(text.find("Página " + std::to_string(p) + " de " + std::to_string(pages)),
              std::string::npos)
        << p;
  }
  EXPECT_NE(text.find("Código"), std::string::npos);
  EXPECT_NE(text.find("001"), std::string::npos);
  EXPECT_NE(text.find("Banco Comercial 130"), std::string::npos);
  EXPECT_NE(text.find("Total de bancos: 130"), std::string::npos);
  // Pages break where the engine broke them: the form feeds pdftotext writes between pages.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), pages);

  const std::string csv = dir.file("bancos.csv");
  ASSERT_TRUE(window.saveCsv(QString::fromStdString(csv), error)) << error.toStdString();
  std::ifstream in(csv, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str().substr(0, 30),
            "\xEF\xBB\xBF"
            "Código;Nome\r\n001;Banco Com");
}

TEST_P(ReportPreviewTest, aChosenListPrintsOnlyThoseBanks) {
  ReportRun run = bankList(20, "'003','017'");
  if (run.document.pages.empty()) GTEST_SKIP() << "no PostgreSQL server to test against";
  QString error;
  const std::string pdf = dir.file("lista.pdf");
  ReportPreviewWindow window(run, nullptr);
  ASSERT_TRUE(window.savePdf(QString::fromStdString(pdf), error)) << error.toStdString();
  const std::string text = pdfText(pdf);
  EXPECT_NE(text.find("Banco Comercial 003"), std::string::npos) << text;
  EXPECT_NE(text.find("Banco Comercial 017"), std::string::npos);
  EXPECT_EQ(text.find("Banco Comercial 004"), std::string::npos);
  EXPECT_NE(text.find("Página 1 de 1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines, ReportPreviewTest,
                         ::testing::Values(db::Engine::SQLite, db::Engine::PostgreSQL),
                         [](const auto& info) {
                           return info.param == db::Engine::SQLite ? "SQLite" : "PostgreSQL";
                         });

}  // namespace
}  // namespace qbk::desktop
