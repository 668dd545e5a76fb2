// The report engine on a real database of each engine: the shipped bank list definition,
// parameters bound one value at a time, pages of boxes with their breaks and numbering,
// totals, and the spreadsheet export.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "host/report/report_csv.h"
#include "host/report/report_layout.h"
#include "host/report/report_query.h"
#include "support/expect_throw.h"
#include "support/postgres_scratch.h"
#include "support/temp_dir.h"

namespace qbk::host::report {
namespace {

using ::testing::HasSubstr;

ReportDefinition shippedBankList() {
  return loadReportDefinition(findReportDefinition(QBK_TEST_REPORT_DIR, "QBK512"));
}

std::vector<std::string> column(const ReportData& data, std::size_t c = 0) {
  std::vector<std::string> out;
  for (const data::Row& row : data.rows) out.push_back(formatCell(row[c], ReportColumn{}));
  return out;
}

// The texts of a page, top to bottom.
std::vector<std::string> texts(const ReportPage& page) {
  std::vector<std::string> out;
  for (const ReportBox& b : page.boxes)
    if (b.kind == ReportBox::Kind::Text) out.push_back(b.text);
  return out;
}

bool has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

class ReportEngineTest : public ::testing::TestWithParam<db::Engine> {
 protected:
  void SetUp() override {
    if (GetParam() == db::Engine::PostgreSQL) {
      scratch_ = std::make_unique<::qbk::testing::PostgresScratch>();
      QBK_REQUIRE_POSTGRES(*scratch_);
      conn = db::open(scratch_->location());
    } else {
      conn = db::open(dir.file("banks.sqlite"));
    }
    conn->executeScript(
        "CREATE TABLE BANCO (CDBANCO VARCHAR(3) PRIMARY KEY, NMBANCO VARCHAR(30),"
        " VLTARIFA DOUBLE PRECISION)");
    for (const auto& [code, name] :
         std::vector<std::pair<std::string, std::string>>{{"341", "Itaú"},
                                                          {"001", "Banco do Brasil"},
                                                          {"237", "Bradesco; S.A."},
                                                          {"0'1", "Aspas"},
                                                          {"104", "Caixa \"Econômica\""}}) {
      conn->execute("INSERT INTO BANCO (CDBANCO, NMBANCO) VALUES (?, ?)", {code, name});
    }
  }
  void TearDown() override {
    conn.reset();
    scratch_.reset();
  }

  ReportData run(const ReportDefinition& d, const std::string& todos, const std::string& list) {
    ReportParams params(d);
    params.ParamByName("TCDBANCO") = todos;
    params.ParamByName("CDBANCO") = list;
    return runReportQuery(*conn, d, params);
  }

  ::qbk::testing::TempDir dir;
  std::unique_ptr<db::Connection> conn;

 private:
  std::unique_ptr<::qbk::testing::PostgresScratch> scratch_;
};

TEST_P(ReportEngineTest, BankListRunsForAllBanksOrTheChosenOnesInCodeOrder) {
  const ReportDefinition d = shippedBankList();
  EXPECT_EQ(d.title, "Banco");
  EXPECT_EQ(column(run(d, "T", "")), (std::vector<std::string>{"0'1", "001", "104", "237", "341"}));
  EXPECT_EQ(column(run(d, "", "'341','001'")), (std::vector<std::string>{"001", "341"}));
  // A code with a quote arrives as the picker writes it (the quote doubled).
  EXPECT_EQ(column(run(d, "", "'0''1'")), (std::vector<std::string>{"0'1"}));
  // "Lista" with nothing chosen lists nothing, rather than everything.
  EXPECT_TRUE(run(d, "", "").rows.empty());
  EXPECT_EQ(column(run(d, "", "'237'"), 1), (std::vector<std::string>{"Bradesco; S.A."}));
}

TEST_P(ReportEngineTest, ChosenCodesAreBoundOneByOneAndNeverChangeTheStatement) {
  const ReportDefinition d = shippedBankList();
  ReportParams params(d);
  params.ParamByName("TCDBANCO") = "";
  const std::string hostile = "'001',''' OR ''T''=''T',') OR 1=1 --'";
  params.ParamByName("CDBANCO") = hostile;
  const BoundStatement bound = bindReportQuery(d, params);
  EXPECT_NE(bound.sql.find("IN (?, ?, ?)"), std::string::npos) << bound.sql;
  EXPECT_EQ(bound.sql.find("OR 1=1"), std::string::npos);
  ASSERT_EQ(bound.values.size(), 4u);
  EXPECT_EQ(bound.values[2], data::Value(std::string("' OR 'T'='T")));
  EXPECT_EQ(column(runReportQuery(*conn, d, params)), (std::vector<std::string>{"001"}));

  // A name the definition does not declare is refused, not bound as null.
  ReportDefinition undeclared = d;
  undeclared.params.pop_back();
  EXPECT_THROW_MSG(bindReportQuery(undeclared, ReportParams(undeclared)), ReportError,
                   HasSubstr("'CDBANCO', que a definição não declara"));
  // A column the query does not return is named.
  ReportDefinition missing = d;
  missing.columns.push_back({"Tarifa", "VLTARIFAX", 30, Align::Left, ""});
  EXPECT_THROW_MSG(run(missing, "T", ""), ReportError, HasSubstr("'VLTARIFAX'"));
}

TEST_P(ReportEngineTest, LongListsBreakIntoNumberedPagesWithTitlesAndTotals) {
  for (int i = 400; i < 640; ++i) {
    conn->execute("INSERT INTO BANCO (CDBANCO, NMBANCO) VALUES (?, ?)",
                  {std::to_string(i), "Banco " + std::to_string(i)});
  }
  const ReportDefinition d = shippedBankList();
  const ReportData data = run(d, "T", "");
  ASSERT_EQ(data.rows.size(), 245u);
  const ReportDocument doc = layoutReport(d, data);
  ASSERT_GE(doc.pages.size(), 3u);
  const int count = static_cast<int>(doc.pages.size());
  std::size_t rowsSeen = 0;
  for (int p = 0; p < count; ++p) {
    const auto t = texts(doc.pages[p]);
    EXPECT_TRUE(has(t, pageNumberText(p + 1, count))) << "page " << p + 1;
    EXPECT_TRUE(has(t, "Banco"));
    EXPECT_TRUE(has(t, "Código"));
    EXPECT_TRUE(has(t, "Nome"));
    for (const ReportBox& b : doc.pages[p].boxes) {
      EXPECT_LE(b.y + b.height, doc.height - d.page.marginBottom + 1e-6);
      if (b.x == d.page.marginLeft && b.text.size() == 3 && b.text != "Código") ++rowsSeen;
    }
  }
  EXPECT_EQ(rowsSeen, data.rows.size());
  EXPECT_TRUE(has(texts(doc.pages.back()), "Total de bancos: 245"));
  EXPECT_EQ(pageNumberText(2, 5), "Página 2 de 5");
}

TEST_P(ReportEngineTest, GroupsNumbersAndTheSpreadsheetExport) {
  conn->execute("UPDATE BANCO SET VLTARIFA = ? WHERE CDBANCO = ?", {1234.5, "001"});
  conn->execute("UPDATE BANCO SET VLTARIFA = ? WHERE CDBANCO = ?", {-2.0, "237"});
  ReportDefinition d = shippedBankList();
  d.sql = "SELECT CDBANCO, NMBANCO, VLTARIFA " + d.sql.substr(d.sql.find("FROM"));
  d.columns.push_back({"Tarifa", "VLTARIFA", 25, Align::Right, "#,##0.00"});
  d.totals = {{"VLTARIFA", TotalFunction::Sum, "Tarifas"}};
  d.groupField = "VLTARIFA";
  d.groupCaption = "Tarifa";
  const ReportData data = run(d, "", "'001','237'");
  const auto t = texts(layoutReport(d, data).pages.at(0));
  EXPECT_TRUE(has(t, "1.234,50"));
  EXPECT_TRUE(has(t, "-2,00"));
  EXPECT_TRUE(has(t, "Tarifa: 1234.5"));
  EXPECT_TRUE(has(t, "Tarifas: 1.232,50"));

  const std::string csv = reportCsv(d, run(d, "", "'237','104'"));
  EXPECT_EQ(csv,
            "\xEF\xBB\xBF"
            "Código;Nome;Tarifa\r\n"
            "104;\"Caixa \"\"Econômica\"\"\";\r\n"
            "237;\"Bradesco; S.A.\";-2,00\r\n");
}

INSTANTIATE_TEST_SUITE_P(Engines, ReportEngineTest,
                         ::testing::Values(db::Engine::SQLite, db::Engine::PostgreSQL),
                         [](const auto& info) {
                           return info.param == db::Engine::SQLite ? "SQLite" : "PostgreSQL";
                         });

TEST(ReportDefinitionTest, FilesReadBackAsWrittenAndDamagedOnesAreNamed) {
  ::qbk::testing::TempDir dir;
  ReportDefinition d = shippedBankList();
  d.page.orientation = Orientation::Landscape;
  d.footer = {{BandItemKind::Text, Align::Center, "Confidencial"}};
  saveReportDefinition(d, dir.path() / "copia.qr2");
  const ReportDefinition back = loadReportDefinition(findReportDefinition(dir.path(), "copia"));
  EXPECT_EQ(writeReportDefinition(back), writeReportDefinition(d));
  EXPECT_DOUBLE_EQ(back.page.width(), 297);
  EXPECT_TRUE(findReportDefinition(dir.path(), "QBK999").empty());

  EXPECT_THROW_MSG(parseReportDefinition(R"({"title": "x", "query": {"sql": "SELECT 1"},
      "columns": [{"field": "A"}], "colunas": []})"),
                   ReportError, HasSubstr("'colunas'"));
  EXPECT_THROW_MSG(parseReportDefinition(R"({"query": {"sql": "SELECT 1"}})"), ReportError,
                   HasSubstr("não tem colunas"));
  EXPECT_THROW_MSG(parseReportDefinition(R"({"query": {"sql": "SELECT 1"},
      "columns": [{"field": "A", "align": "justify"}]})"),
                   ReportError, HasSubstr("'justify'"));
  EXPECT_THROW_MSG(parseReportDefinition("{"), ReportError, HasSubstr("inválida"));
}

}  // namespace
}  // namespace qbk::host::report
