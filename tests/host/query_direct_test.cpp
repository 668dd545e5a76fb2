// Direct read-only queries on a real SQLite file: named parameters bound as values, the
// dialect text chosen by the engine, declared and adopted fields.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/connection.h"
#include "host/config.h"
#include "host/query.h"
#include "host/screens/application.h"
#include "host/user_interface_scripted.h"
#include "support/expect_throw.h"
#include "support/temp_dir.h"

namespace qbk::host {
namespace {

using data::FieldType;

// A temporary database with a few banks, removed afterwards.
class QueryTest : public ::testing::Test {
 protected:
  QueryTest() {
    conn = db::open((dir / "banks.sqlite").string());
    conn->executeScript(
        "CREATE TABLE BANCO (CDBANCO VARCHAR(3) PRIMARY KEY, NMBANCO VARCHAR(30),"
        " QTDIAS DOUBLE PRECISION);"
        "INSERT INTO BANCO VALUES ('001', 'Banco do Brasil', 2);"
        "INSERT INTO BANCO VALUES ('237', 'Bradesco', NULL);"
        "INSERT INTO BANCO VALUES ('0''1', 'Aspas', 1)");
  }
  ~QueryTest() override { conn.reset(); }

  std::vector<std::string> codes(TADOIBQuery& q) {
    std::vector<std::string> out;
    for (q.first(); !q.eof(); q.next()) out.push_back(q.fieldByName("CDBANCO").asString());
    return out;
  }

  ::qbk::testing::TempDir tmp;
  const std::filesystem::path dir = tmp.path();
  std::unique_ptr<db::Connection> conn;
};

TEST_F(QueryTest, namedParametersAreBoundAsValuesNeverAsSqlText) {
  TADOIBQuery q("qryChavPrim");
  q.setConnection(conn.get());
  q.SQL = "SELECT CDBANCO FROM BANCO\nWHERE (CDBANCO = :P_CDBANCO)\nORDER BY CDBANCO";
  q.SQL_IB = "SELECT CDBANCO FROM BANCO, PARAM(:P_CDBANCO) P1 WHERE (CDBANCO = P1.PARAM)";

  q.paramByName("p_cdbanco") = "0'1";
  q.open();
  EXPECT_EQ(codes(q), (std::vector<std::string>{"0'1"}));

  q.paramByName("P_CDBANCO") = "' OR '1'='1";
  q.open();  // already open: nothing happens
  EXPECT_EQ(codes(q), (std::vector<std::string>{"0'1"}));
  q.close();
  q.open();
  EXPECT_TRUE(q.isEmpty()) << "an injected condition is only a code that does not exist";
}

TEST_F(QueryTest, aNameUsedTwiceBindsTwiceAndPlainNamesAreParametersToo) {
  TADOIBQuery q("qryPesq");
  q.setConnection(conn.get());
  q.SQL =
      "SELECT CDBANCO, NMBANCO, QTDIAS FROM BANCO WHERE (:T_CD = 'T' OR CDBANCO = :CDBANCO)"
      " AND NMBANCO <> ':NAO' -- :COMENTARIO\n"
      " AND (:T_CD = 'T' OR QTDIAS IS NOT NULL) ORDER BY CDBANCO";
  EXPECT_EQ(q.paramNames(), (std::vector<std::string>{"T_CD", "CDBANCO"}));
  q.paramByName("T_CD") = "T";
  q.paramByName("CDBANCO") = "999";
  q.open();
  EXPECT_EQ(codes(q), (std::vector<std::string>{"0'1", "001", "237"}));

  // Fields taken from the result: names in upper case, a number column stays a number.
  EXPECT_EQ(q.fieldByName("QTDIAS").type(), FieldType::Float);
  EXPECT_EQ(q.fieldByName("NMBANCO").type(), FieldType::String);
  q.close();
  q.paramByName("T_CD") = "";
  q.paramByName("CDBANCO") = "001";
  q.open();
  EXPECT_EQ(codes(q), (std::vector<std::string>{"001"}));
  EXPECT_DOUBLE_EQ(q.fieldByName("QTDIAS").asFloat(), 2.0);
}

TEST_F(QueryTest, declaredFieldsKeepTheirSizesAndLabelsAndMustBeInTheResult) {
  TADOIBQuery q("qryBanco");
  q.setConnection(conn.get());
  q.SQL = "SELECT cdbanco, nmbanco, qtdias FROM BANCO ORDER BY CDBANCO";
  q.addField("CDBANCO", FieldType::String, 3).displayLabel = "Código";
  q.addField("QTDIAS", FieldType::String, 5);
  q.open();
  ASSERT_EQ(q.fieldCount(), 2);
  EXPECT_EQ(q.fieldByName("CDBANCO").label(), "Código");
  q.setRecNo(2);
  EXPECT_EQ(q.fieldByName("QTDIAS").asString(), "2") << "converted to the declared type";

  TADOIBQuery missing("qryFalta");
  missing.setConnection(conn.get());
  missing.SQL = "SELECT CDBANCO FROM BANCO";
  missing.addField("NMBANCO", FieldType::String, 30);
  EXPECT_THROW(missing.open(), QueryError);
  EXPECT_FALSE(missing.active());
}

TEST_F(QueryTest, mistakesAreRefusedBeforeAnythingRuns) {
  TADOIBQuery q("qryChavPrim");
  q.setConnection(conn.get());
  EXPECT_THROW(q.open(), QueryError) << "no text";
  q.SQL = "SELECT CDBANCO FROM BANCO WHERE CDBANCO = :P_CDBANCO";
  EXPECT_THROW(q.paramByName("P_OUTRO"), QueryError);
  // A parameter without a value must not run as null.
  EXPECT_THROW_MSG(q.open(), QueryError,
                   "Parâmetro 'P_CDBANCO' sem valor na consulta 'qryChavPrim'.");
  EXPECT_THROW(toPositional("SELECT * FROM BANCO WHERE CDBANCO = ?"), QueryError);

  q.paramByName("P_CDBANCO") = "001";
  q.open();
  EXPECT_THROW(q.edit(), QueryError) << "read-only";
  EXPECT_THROW(q.append(), QueryError);
}

TEST(QueryText, parametersOutsideQuotesCommentsAndCastsOnly) {
  const PositionalStatement s = toPositional(
      "SELECT ':A', \":B\", X::TEXT /* :C */ FROM T WHERE A = :A AND B=:b_2 AND C = :A");
  EXPECT_EQ(s.sql, "SELECT ':A', \":B\", X::TEXT /* :C */ FROM T WHERE A = ? AND B=? AND C = ?");
  EXPECT_EQ(s.names, (std::vector<std::string>{"A", "b_2", "A"}));
}

TEST_F(QueryTest, runsOnTheApplicationsSharedDatabaseWithTheDefaultText) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
  Application app;
  app.setSharedDatabase(std::move(conn));
  TADOIBQuery q("qryChavPrim");
  q.SQL = "SELECT CDBANCO FROM BANCO WHERE CDBANCO = :P_CDBANCO";
  q.SQL_ORACLE = "SELECT CDBANCO FROM BANCO WHERE CDBANCO = :P_CDBANCO AND ROWNUM = 1";
  q.SQL_IB = "SELECT CDBANCO FROM BANCO, PARAM(:P_CDBANCO) P1 WHERE (CDBANCO = P1.PARAM)";
  q.paramByName("P_CDBANCO") = "237";
  q.open();
  EXPECT_EQ(codes(q), (std::vector<std::string>{"237"}));
  EXPECT_EQ(q.text(QueryDialect::InterBase), q.SQL_IB);
}

}  // namespace
}  // namespace qbk::host
