#include <gtest/gtest.h>

#include <stdexcept>

#include "db/connection.h"
#include "db/test_database.h"

namespace qbk::db {
namespace {

class TransactionTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    QBK_REQUIRE_DATABASE(database);
    db = database.open();
    db->executeScript("CREATE TABLE T (K VARCHAR(3) NOT NULL PRIMARY KEY);");
  }
  double count(Connection& c) {
    return std::get<double>(c.query("SELECT COUNT(*) FROM T").rows[0][0]);
  }

  testing::TestDatabase database{testing::currentEngine()};
  std::unique_ptr<Connection> db;
};

TEST_P(TransactionTest, committedWorkIsSeenByAnotherConnection) {
  {
    Transaction tx(*db);
    db->execute("INSERT INTO T VALUES ('001')");
    tx.commit();
  }
  auto other = database.open();
  EXPECT_EQ(count(*other), 1);
  EXPECT_EQ(count(*db), 1);
}

TEST_P(TransactionTest, leavingWithoutCommitUndoesEverythingOnEveryExitPath) {
  try {
    Transaction tx(*db);
    db->execute("INSERT INTO T VALUES ('001')");
    db->execute("INSERT INTO T VALUES ('001')");  // duplicate: throws mid-way
    tx.commit();
  } catch (const ConstraintError&) {
  }
  EXPECT_EQ(count(*db), 0);

  try {
    Transaction tx(*db);
    db->execute("INSERT INTO T VALUES ('002')");
    throw std::runtime_error("falha da aplicação");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(count(*db), 0);

  // The connection is usable for a new transaction afterwards.
  Transaction tx(*db);
  db->execute("INSERT INTO T VALUES ('003')");
  tx.commit();
  EXPECT_EQ(count(*db), 1);
}

// SQLite takes the write lock at BEGIN IMMEDIATE; PostgreSQL locks row by row instead.
TEST_F(TransactionTest, aWriteTransactionHoldsOffOtherWritersButNotReaders) {
  auto other = database.open();
  other->executeScript("PRAGMA busy_timeout=0;");
  Transaction tx(*db);
  db->execute("INSERT INTO T VALUES ('001')");
  // The reader sees the last committed state; the writer is refused at BEGIN, before it
  // could read anything it would later act on.
  EXPECT_EQ(count(*other), 0);
  EXPECT_THROW(Transaction(*other, Transaction::Mode::Write), DbError);
  tx.commit();
  EXPECT_EQ(count(*other), 1);
}

TEST_P(TransactionTest, commitTwiceIsAnError) {
  Transaction tx(*db);
  tx.commit();
  EXPECT_THROW(tx.commit(), DbError);
}

INSTANTIATE_TEST_SUITE_P(Engines, TransactionTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::db
