#include "db/sqlite_connection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

#include "support/expect_throw.h"
#include "support/temp_dir.h"

namespace qbk::db {
namespace {

using data::FieldType;
using testing::TempDir;

class SqliteConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = std::make_unique<SqliteConnection>(dir.file("banco.db"));
    db->executeScript(
        "CREATE TABLE T (K VARCHAR(3) NOT NULL PRIMARY KEY, NAME VARCHAR(30), "
        "QT DOUBLE PRECISION);");
  }
  std::vector<std::string> keys() {
    std::vector<std::string> out;
    db->forEachRow("SELECT K FROM T ORDER BY K", {},
                   [&](const Cursor& c) { out.emplace_back(c.text(0)); });
    return out;
  }

  TempDir dir;
  std::unique_ptr<SqliteConnection> db;
};

TEST_F(SqliteConnectionTest, boundValuesComeBackWithTheirTypesAndNullStaysApartFromEmpty) {
  db->execute("INSERT INTO T VALUES (?, ?, ?)",
              {std::string("104"), std::string("CAIXA ECONÔMICA FEDERAL"), 2.5});
  db->execute("INSERT INTO T VALUES (?, ?, ?)", {std::string("001"), std::string(), Value()});

  const Result r = db->query("SELECT K, NAME, QT FROM T ORDER BY K");
  ASSERT_EQ(r.columns, (std::vector<std::string>{"K", "NAME", "QT"}));
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0], (Row{std::string("001"), std::string(), Value()}));
  EXPECT_EQ(r.rows[1], (Row{std::string("104"), std::string("CAIXA ECONÔMICA FEDERAL"), 2.5}));

  db->forEachRow("SELECT NAME, QT FROM T WHERE K = ?", {std::string("104")}, [](const Cursor& c) {
    EXPECT_EQ(c.value(0, FieldType::String), Value(std::string("CAIXA ECONÔMICA FEDERAL")));
    EXPECT_EQ(c.value(1, FieldType::Float), Value(2.5));
    EXPECT_EQ(c.columnName(1), "QT");
  });
}

TEST_F(SqliteConnectionTest, queryReportsColumnsAlsoWhenNoRowMatches) {
  const Result r = db->query("SELECT K, NAME FROM T WHERE K = ?", {std::string("999")});
  EXPECT_EQ(r.columns, (std::vector<std::string>{"K", "NAME"}));
  EXPECT_TRUE(r.rows.empty());
}

TEST_F(SqliteConnectionTest, quotesAndSqlInAValueAreStoredAsData) {
  const std::string hostile = "x'); DROP TABLE T; --";
  db->execute("INSERT INTO T (K, NAME) VALUES (?, ?)", {std::string("1'2"), hostile});
  const Result r = db->query("SELECT K, NAME FROM T WHERE NAME = ?", {hostile});
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0][0], Value(std::string("1'2")));
  EXPECT_EQ(r.rows[0][1], Value(hostile));
}

TEST_F(SqliteConnectionTest, refusesWhatWouldSilentlyRunSomethingElse) {
  // Too few or too many parameters would leave a placeholder NULL or drop a value.
  EXPECT_THROW(db->execute("INSERT INTO T (K) VALUES (?)", {}), DbError);
  EXPECT_THROW(db->execute("INSERT INTO T (K) VALUES (?)", {std::string("1"), std::string("2")}),
               DbError);
  // A second statement in one call would be ignored without a word.
  EXPECT_THROW(db->execute("INSERT INTO T (K) VALUES ('1'); INSERT INTO T (K) VALUES ('2')"),
               DbError);
  // SQLite would store NaN as NULL.
  EXPECT_THROW(db->execute("INSERT INTO T (K, QT) VALUES ('3', ?)", {std::nan("")}), DbError);
  EXPECT_TRUE(keys().empty());
  // A trailing semicolon or comment is not a second statement.
  db->execute("INSERT INTO T (K) VALUES ('4'); -- done");
  EXPECT_EQ(keys(), (std::vector<std::string>{"4"}));
}

TEST_F(SqliteConnectionTest, executeCountsOnlyTheRowsTheStatementItselfChanged) {
  db->executeScript(
      "CREATE TABLE CHILD (K VARCHAR(3) NOT NULL REFERENCES T (K) ON DELETE CASCADE, "
      "N INTEGER NOT NULL);");
  EXPECT_EQ(db->execute("INSERT INTO T (K) VALUES (?)", {std::string("001")}), 1);
  EXPECT_EQ(db->execute("INSERT INTO T (K) VALUES (?)", {std::string("002")}), 1);
  for (int n = 0; n < 3; ++n)
    db->execute("INSERT INTO CHILD VALUES ('001', ?)", {static_cast<double>(n)});
  EXPECT_EQ(db->execute("UPDATE T SET NAME = 'x'"), 2);
  EXPECT_EQ(db->execute("UPDATE T SET NAME = 'y' WHERE K = 'nenhum'"), 0);
  // DDL after a data change must not report the old count again.
  EXPECT_EQ(db->execute("CREATE INDEX T_NAME ON T (NAME)"), 0);
  // The cascaded child rows are not the delete's own rows.
  EXPECT_EQ(db->execute("DELETE FROM T WHERE K = ?", {std::string("001")}), 1);
  EXPECT_EQ(db->query("SELECT COUNT(*) FROM CHILD").rows[0][0], Value(0.0));
}

TEST_F(SqliteConnectionTest, statementsAreCompiledOnceAndSurviveNestingAndFailures) {
  for (int i = 0; i < 5; ++i) db->execute("INSERT INTO T (K) VALUES (?)", {std::to_string(i)});
  const long long compiled = db->compiledStatements();
  for (int i = 0; i < 20; ++i) keys();
  EXPECT_EQ(db->compiledStatements(), compiled + 1);

  // The same query run again inside its own row callback must not reset the outer run.
  int outer = 0, inner = 0;
  db->forEachRow("SELECT K FROM T ORDER BY K", {}, [&](const Cursor&) {
    if (++outer > 5) throw std::runtime_error("the outer run started over");
    db->forEachRow("SELECT K FROM T ORDER BY K", {}, [&](const Cursor&) { ++inner; });
  });
  EXPECT_EQ(outer, 5);
  EXPECT_EQ(inner, 25);

  // A callback that throws leaves the cached statement ready to start from the first row.
  EXPECT_THROW(db->forEachRow("SELECT K FROM T ORDER BY K", {},
                              [](const Cursor&) { throw std::runtime_error("stop"); }),
               std::runtime_error);
  EXPECT_EQ(keys(), (std::vector<std::string>{"0", "1", "2", "3", "4"}));

  // A cached statement follows a change of the schema.
  db->executeScript("ALTER TABLE T ADD COLUMN EXTRA VARCHAR(5);");
  EXPECT_EQ(db->query("SELECT * FROM T WHERE K = '0'").columns.size(), 4u);
  EXPECT_EQ(keys().size(), 5u);
}

TEST_F(SqliteConnectionTest, constraintViolationsAreConstraintErrorsOfTheirKind) {
  db->executeScript(
      "CREATE TABLE CHILD (K VARCHAR(3) NOT NULL REFERENCES T (K), N INTEGER NOT NULL);");
  db->execute("INSERT INTO T (K) VALUES ('001')");

  try {
    db->execute("INSERT INTO T (K) VALUES (?)", {std::string("001")});
    ADD_FAILURE() << "duplicate key accepted";
  } catch (const ConstraintError& e) {
    EXPECT_EQ(e.kind(), ConstraintError::Kind::Unique);
    EXPECT_NE(std::string(e.what()).find("T.K"), std::string::npos) << e.what();
  }
  try {
    db->execute("INSERT INTO CHILD VALUES ('002', 1)");
    ADD_FAILURE() << "dangling reference accepted";
  } catch (const ConstraintError& e) {
    EXPECT_EQ(e.kind(), ConstraintError::Kind::ForeignKey);
  }
  try {
    db->execute("INSERT INTO CHILD VALUES ('001', NULL)");
    ADD_FAILURE() << "null accepted";
  } catch (const ConstraintError& e) {
    EXPECT_EQ(e.kind(), ConstraintError::Kind::NotNull);
  }
  // Other failures are plain database errors, with the engine's message.
  try {
    db->execute("SELEC 1");
    ADD_FAILURE();
  } catch (const ConstraintError&) {
    ADD_FAILURE() << "a syntax error is no constraint";
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("syntax error"), std::string::npos) << e.what();
  }
}

TEST_F(SqliteConnectionTest, opensInWalModeWithDurableCommitsAndEnforcedForeignKeys) {
  EXPECT_EQ(db->query("PRAGMA journal_mode").rows[0][0], Value(std::string("wal")));
  EXPECT_EQ(db->query("PRAGMA synchronous").rows[0][0], Value(2.0));  // FULL
  EXPECT_EQ(db->query("PRAGMA foreign_keys").rows[0][0], Value(1.0));
  EXPECT_EQ(db->query("PRAGMA busy_timeout").rows[0][0], Value(5000.0));
}

TEST(OpenTest, picksTheEngineFromTheLocation) {
  TempDir dir;
  const std::string path = dir.file("novo.db");
  {
    auto c = open("sqlite:" + path);
    EXPECT_EQ(c->dialect().engine(), Engine::SQLite);
    c->executeScript("CREATE TABLE X (A INTEGER);");
  }
  // The same file through a plain path sees what the first connection created.
  EXPECT_EQ(open(path)->query("SELECT COUNT(*) FROM X").rows[0][0], Value(0.0));

  // A file name with "=" in it is still a file.
  EXPECT_EQ(open(dir.file("dados=velhos.db"))->dialect().engine(), Engine::SQLite);
  EXPECT_THROW(open(""), DbError);
  EXPECT_THROW(open("sqlite:"), DbError);
}

TEST(OpenTest, aFileThatIsNoDatabaseIsRefusedNamingThePath) {
  TempDir dir;
  const std::string path = dir.file("texto.db");
  std::ofstream(path) << "isto não é um banco de dados, apenas um texto qualquer bem longo\n";
  EXPECT_THROW_MSG(open(path), DbError, ::testing::HasSubstr(path));
  EXPECT_THROW(open(dir.file("sem/pasta/banco.db")), DbError);
}

}  // namespace
}  // namespace qbk::db
