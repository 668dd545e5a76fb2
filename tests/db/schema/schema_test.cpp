#include "server/schema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "db/dialects.h"
#include "db/test_database.h"
#include "server/catalog.h"
#include "server/demo_data.h"
#include "support/expect_throw.h"

namespace qbk::server {
namespace {

using db::Value;

std::string str(const Value& v) {
  return std::get<std::string>(v);
}
double num(const Value& v) {
  return std::get<double>(v);
}

class SchemaTest : public ::testing::TestWithParam<db::Engine> {
 protected:
  void SetUp() override {
    QBK_REQUIRE_DATABASE(database);
    db = database.open();
  }
  bool sqlite() const { return database.engine() == db::Engine::SQLite; }
  // SQLite's count of schema changes; PostgreSQL has none, and answers 0.
  double schemaCookie() {
    return sqlite() ? num(db->query("PRAGMA schema_version").rows[0][0]) : 0;
  }
  double count(const std::string& table) {
    return num(db->query("SELECT COUNT(*) FROM " + table).rows[0][0]);
  }

  testing::TestDatabase database{testing::currentEngine()};
  std::unique_ptr<db::Connection> db;
};

TEST_F(SchemaTest, aNewFileGetsEveryCatalogTableWithItsColumnsKeysAndReferences) {
  migrate(*db);
  EXPECT_EQ(storedSchemaVersion(*db), latestSchemaVersion());

  for (const TableSpec& t : catalog()) {
    SCOPED_TRACE(t.name);
    // cid, name, type, notnull, default, pk (position in the key, from 1)
    const db::Result info = db->query("PRAGMA table_info(" + t.name + ")");
    ASSERT_EQ(info.rows.size(), t.columns.size());
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
      const ColumnSpec& c = t.columns[i];
      const db::Row& row = info.rows[i];
      EXPECT_EQ(str(row[1]), c.name);
      EXPECT_EQ(str(row[2]), c.type == data::FieldType::Float
                                 ? "DOUBLE PRECISION"
                                 : "VARCHAR(" + std::to_string(c.size) + ")");
      EXPECT_EQ(num(row[3]) != 0, c.notNull) << c.name;
      const auto keyAt = std::find(t.key.begin(), t.key.end(), c.name);
      const double keyPosition = keyAt == t.key.end() ? 0 : 1 + (keyAt - t.key.begin());
      EXPECT_EQ(num(row[5]), keyPosition) << c.name;
    }
    // id, seq, table, from, to, on_update, on_delete, match
    std::map<std::string, std::string> references;
    for (const db::Row& fk : db->query("PRAGMA foreign_key_list(" + t.name + ")").rows)
      references[str(fk[3])] = str(fk[2]) + "." + str(fk[4]) + " " + str(fk[6]);
    std::map<std::string, std::string> expected;
    for (const ForeignKeySpec& fk : t.foreignKeys)
      expected[fk.columns[0]] =
          fk.table + "." + fk.references[0] + " " + (fk.cascadeDelete ? "CASCADE" : "NO ACTION");
    EXPECT_EQ(references, expected);
  }
  bool indexed = false;
  for (const db::Row& ix : db->query("PRAGMA index_list(CONTCORR)").rows) {
    const db::Result cols = db->query("PRAGMA index_info(" + str(ix[1]) + ")");
    if (cols.rows.size() == 1 && str(cols.rows[0][2]) == "CDBANCO") indexed = true;
  }
  EXPECT_TRUE(indexed) << "CONTCORR(CDBANCO) has no index";
}

TEST_P(SchemaTest, runningAgainChangesNothing) {
  migrate(*db);
  db->execute("INSERT INTO BANCO (CDBANCO, NMBANCO) VALUES ('001', 'Banco do Brasil S.A.')");
  const double cookie = schemaCookie();
  migrate(*db);
  auto again = database.open();
  migrate(*again);
  EXPECT_EQ(schemaCookie(), cookie);
  EXPECT_EQ(db->query("SELECT VERSION FROM SCHEMA_VERSION").rows,
            (std::vector<db::Row>{{static_cast<double>(latestSchemaVersion())}}));
  EXPECT_EQ(db->query("SELECT COUNT(*) FROM BANCO").rows[0][0], Value(1.0));
}

TEST_P(SchemaTest, serversStartingTogetherMigrateOnce) {
  std::vector<std::string> errors(4);
  std::vector<std::thread> servers;
  for (std::size_t i = 0; i < errors.size(); ++i)
    servers.emplace_back([&, i] {
      try {
        migrate(*database.open());
      } catch (const std::exception& e) {
        errors[i] = e.what();
      }
    });
  for (auto& t : servers) t.join();
  for (const auto& e : errors) EXPECT_EQ(e, "");
  EXPECT_EQ(db->query("SELECT VERSION FROM SCHEMA_VERSION").rows,
            (std::vector<db::Row>{{static_cast<double>(latestSchemaVersion())}}));
}

TEST_P(SchemaTest, aNewerDatabaseIsRefusedAndLeftUntouched) {
  const int newer = latestSchemaVersion() + 6;
  db->executeScript("CREATE TABLE SCHEMA_VERSION (VERSION INTEGER NOT NULL);");
  db->execute("INSERT INTO SCHEMA_VERSION VALUES (?)", {static_cast<double>(newer)});
  const double cookie = schemaCookie();
  EXPECT_THROW_MSG(migrate(*db), db::DbError,
                   "Banco de dados na versão " + std::to_string(newer) +
                       ", mais nova que a deste servidor (" +
                       std::to_string(latestSchemaVersion()) + ").");
  EXPECT_EQ(schemaCookie(), cookie);
}

TEST_P(SchemaTest, aFailedMigrationLeavesTheVersionWhereItWas) {
  // A file that already holds a table of the same name but another shape.
  db->executeScript("CREATE TABLE CONTCORR (X INTEGER);");
  EXPECT_THROW(migrate(*db), db::DbError);
  EXPECT_EQ(storedSchemaVersion(*db), 0);
  EXPECT_THROW(db->query("SELECT COUNT(*) FROM BANCO"), db::DbError) << "BANCO was kept";
}

TEST_P(SchemaTest, deletingABankTakesItsOwnRowsButNotOneInUseByAnAccount) {
  migrate(*db);
  db->executeScript(R"(
    INSERT INTO BANCO (CDBANCO, NMBANCO) VALUES ('001', 'Banco do Brasil S.A.');
    INSERT INTO BANCO (CDBANCO, NMBANCO) VALUES ('237', 'Banco Bradesco S.A.');
    INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('01', 'Empresa');
    INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO) VALUES ('01', '001');
    INSERT INTO ERRCNABP VALUES ('001', '02', 'Entrada confirmada');
    INSERT INTO ERRCNABR VALUES ('001', '02', 'Entrada confirmada');
    INSERT INTO INSTCOBRANCA VALUES ('001', '01', 'Protestar');
    INSERT INTO CONTCORR (CDEMPRESA, CDREDUCONT, CDBANCO) VALUES ('01', '001', '237');
  )");
  EXPECT_EQ(db->execute("DELETE FROM BANCO WHERE CDBANCO = '001'"), 1);
  for (const char* t : {"EMPRBANC", "ERRCNABP", "ERRCNABR", "INSTCOBRANCA"})
    EXPECT_EQ(db->query(std::string("SELECT COUNT(*) FROM ") + t).rows[0][0], Value(0.0)) << t;

  try {
    db->execute("DELETE FROM BANCO WHERE CDBANCO = '237'");
    ADD_FAILURE() << "a bank in use by an account was deleted";
  } catch (const db::ConstraintError& e) {
    EXPECT_EQ(e.kind(), db::ConstraintError::Kind::ForeignKey);
  }
  // Keys never hold NULL, also where SQLite would otherwise allow it.
  EXPECT_THROW(db->execute("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP) VALUES ('237', NULL)"),
               db::ConstraintError);
  EXPECT_THROW(db->execute("INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO) VALUES ('02', '237')"),
               db::ConstraintError);
}

TEST_P(SchemaTest, migratesOnceAndFillsDemoDataOnceWithTheCatalogColumns) {
  migrate(*db);
  for (const TableSpec& t : catalog()) {
    const db::Result r = db->query("SELECT * FROM " + t.name + " WHERE 1 = 0");
    std::vector<std::string> expected;
    for (const ColumnSpec& c : t.columns) expected.push_back(c.name);
    EXPECT_EQ(r.columns, expected) << t.name;
  }
  ASSERT_TRUE(fillDemoData(*db));
  const double banks = count("BANCO");
  migrate(*db);
  EXPECT_FALSE(fillDemoData(*db));
  EXPECT_EQ(count("BANCO"), banks);
  fillBenchBanks(*db, 300);
  EXPECT_EQ(count("BANCO"), banks + 300);
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaTest, QBK_BOTH_ENGINES);

TEST(SchemaSqlTest, postgresGetsTheSameShapeInItsOwnTypes) {
  const std::string sql = createTableSql(table("TIPOBAIXAPAG"), db::PostgresDialect());
  EXPECT_EQ(sql,
            "CREATE TABLE TIPOBAIXAPAG (\n"
            "  CDTPBAIXAPAG VARCHAR(2) NOT NULL,\n"
            "  NMTPBAIXAPAG VARCHAR(50),\n"
            "  IDBAIXAUTILP VARCHAR(1),\n"
            "  VRMAXDOCCNAB DOUBLE PRECISION,\n"
            "  CONSTRAINT PK_TIPOBAIXAPAG PRIMARY KEY (CDTPBAIXAPAG)\n"
            ")");
}

}  // namespace
}  // namespace qbk::server
