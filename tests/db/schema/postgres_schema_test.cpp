#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/postgres_scratch.h"
#include "server/catalog.h"
#include "server/demo_data.h"
#include "server/schema.h"

namespace qbk::server {
namespace {

using db::Value;

class PostgresSchemaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QBK_REQUIRE_POSTGRES(scratch);
    db = db::open(scratch.location());
  }
  double count(const std::string& table) {
    return std::get<double>(db->query("SELECT COUNT(*) FROM " + table).rows[0][0]);
  }

  testing::PostgresScratch scratch;
  std::unique_ptr<db::Connection> db;
};

TEST_F(PostgresSchemaTest, migratesOnceFillsDemoDataAndKeepsTheReferenceRules) {
  migrate(*db);
  EXPECT_EQ(storedSchemaVersion(*db), latestSchemaVersion());
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

  // Bank 237 holds a current account: refused. Bank 001's own rows go with it once its
  // accounts are gone.
  EXPECT_THROW(db->execute("DELETE FROM BANCO WHERE CDBANCO = ?", {std::string("237")}),
               db::ConstraintError);
  db->execute("DELETE FROM CONTCORR WHERE CDBANCO = ?", {std::string("001")});
  EXPECT_EQ(db->execute("DELETE FROM BANCO WHERE CDBANCO = ?", {std::string("001")}), 1);
  EXPECT_EQ(db->query("SELECT COUNT(*) FROM ERRCNABP WHERE CDBANCO = '001'").rows[0][0],
            Value(0.0));

  fillBenchBanks(*db, 300);
  EXPECT_EQ(count("BANCO"), banks - 1 + 300);
}

TEST_F(PostgresSchemaTest, serversStartingTogetherMigrateOnce) {
  std::vector<std::string> errors(4);
  std::vector<std::thread> servers;
  for (std::size_t i = 0; i < errors.size(); ++i)
    servers.emplace_back([&, i] {
      try {
        migrate(*db::open(scratch.location()));
      } catch (const std::exception& e) {
        errors[i] = e.what();
      }
    });
  for (auto& t : servers) t.join();
  for (const auto& e : errors) EXPECT_EQ(e, "");
  EXPECT_EQ(storedSchemaVersion(*db), latestSchemaVersion());
  EXPECT_EQ(count("SCHEMA_VERSION"), 1);
}

TEST_F(PostgresSchemaTest, aNewerDatabaseIsRefused) {
  db->executeScript(
      "CREATE TABLE SCHEMA_VERSION (VERSION INTEGER NOT NULL);"
      "INSERT INTO SCHEMA_VERSION VALUES (99);");
  EXPECT_THROW(migrate(*db), db::DbError);
}

}  // namespace
}  // namespace qbk::server
