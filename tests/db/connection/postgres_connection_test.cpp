#include "db/postgres_connection.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/expect_throw.h"
#include "support/postgres_scratch.h"

namespace qbk::db {
namespace {

class PostgresConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QBK_REQUIRE_POSTGRES(scratch);
    db = std::make_unique<PostgresConnection>(scratch.location());
    db->executeScript(
        "CREATE TABLE T (K VARCHAR(3) NOT NULL PRIMARY KEY, NAME VARCHAR(30), "
        "QT DOUBLE PRECISION);"
        "CREATE TABLE CHILD (K VARCHAR(3) NOT NULL REFERENCES T (K) ON DELETE CASCADE, "
        "N INTEGER NOT NULL);");
  }
  double count(const char* table) {
    return std::get<double>(db->query(std::string("SELECT COUNT(*) FROM ") + table).rows[0][0]);
  }

  testing::PostgresScratch scratch;
  std::unique_ptr<PostgresConnection> db;
};

TEST_F(PostgresConnectionTest, valuesRoundTripAndColumnsKeepTheirUpperCaseNames) {
  db->execute("INSERT INTO T VALUES (?, ?, ?)",
              {std::string("104"), std::string("CAIXA ECONÔMICA FEDERAL"), 2.5});
  db->execute("INSERT INTO T VALUES (?, ?, ?)", {std::string("1'2"), std::string(), Value()});
  const Result r = db->query("SELECT K, NAME, QT FROM T WHERE K <> '?' ORDER BY K DESC");
  EXPECT_EQ(r.columns, (std::vector<std::string>{"K", "NAME", "QT"}));
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0], (Row{std::string("104"), std::string("CAIXA ECONÔMICA FEDERAL"), 2.5}));
  EXPECT_EQ(r.rows[1], (Row{std::string("1'2"), std::string(), Value()}));
  EXPECT_EQ(db->query("SELECT K FROM T WHERE K = ?", {std::string("x")}).columns,
            (std::vector<std::string>{"K"}));
  // A zero byte would silently cut the text short on its way to the server.
  EXPECT_THROW(db->execute("INSERT INTO T (K) VALUES (?)", {std::string("a\0b", 3)}), DbError);
}

TEST_F(PostgresConnectionTest, countsOwnRowsAndReportsConstraintKinds) {
  db->execute("INSERT INTO T (K) VALUES ('001')");
  for (int n = 0; n < 3; ++n)
    db->execute("INSERT INTO CHILD VALUES ('001', ?)", {static_cast<double>(n)});
  EXPECT_EQ(
      db->execute("UPDATE T SET NAME = ? WHERE K = ?", {std::string("x"), std::string("001")}), 1);
  try {
    db->execute("INSERT INTO T (K) VALUES ('001')");
    ADD_FAILURE();
  } catch (const ConstraintError& e) {
    EXPECT_EQ(e.kind(), ConstraintError::Kind::Unique);
  }
  try {
    db->execute("INSERT INTO CHILD VALUES ('002', 1)");
    ADD_FAILURE();
  } catch (const ConstraintError& e) {
    EXPECT_EQ(e.kind(), ConstraintError::Kind::ForeignKey);
  }
  EXPECT_EQ(db->execute("DELETE FROM T WHERE K = ?", {std::string("001")}), 1);
  EXPECT_EQ(count("CHILD"), 0);
}

TEST_F(PostgresConnectionTest, transactionsCommitRollBackAndNeverCommitAfterAFailure) {
  {
    Transaction tx(*db);
    db->execute("INSERT INTO T (K) VALUES ('001')");
    tx.commit();
  }
  try {
    Transaction tx(*db);
    db->execute("INSERT INTO T (K) VALUES ('002')");
    throw std::runtime_error("falha");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(count("T"), 1);

  // A failed statement whose error was swallowed: the server answers COMMIT with ROLLBACK,
  // which must not pass for a successful commit.
  {
    Transaction tx(*db);
    db->execute("INSERT INTO T (K) VALUES ('003')");
    EXPECT_THROW(db->execute("INSERT INTO T (K) VALUES ('001')"), ConstraintError);
    EXPECT_THROW(tx.commit(), DbError);
  }
  EXPECT_EQ(count("T"), 1);
}

TEST_F(PostgresConnectionTest, preparedStatementsAreReusedAndFollowSchemaChanges) {
  db->execute("INSERT INTO T (K) VALUES ('001')");
  db->query("SELECT * FROM T");
  const long long compiled = db->compiledStatements();
  for (int i = 0; i < 10; ++i) db->query("SELECT * FROM T");
  EXPECT_EQ(db->compiledStatements(), compiled);
  db->executeScript("ALTER TABLE T ADD COLUMN EXTRA VARCHAR(5)");
  EXPECT_EQ(db->query("SELECT * FROM T").columns.size(), 4u);
}

TEST(PostgresOpenTest, anUnreachableServerIsAClearError) {
  for (const std::string location :
       {"postgresql://127.0.0.1:1/banco", "postgres://u@127.0.0.1:1/db",
        "host=/nonexistent-qbk-socket dbname = banco"}) {
    SCOPED_TRACE(location);
    EXPECT_THROW_MSG(open(location), DbError,
                     ::testing::StartsWith("Não foi possível conectar ao PostgreSQL: "));
  }
}

}  // namespace
}  // namespace qbk::db
