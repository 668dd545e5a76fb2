#include <gtest/gtest.h>

#include "db/dialects.h"

namespace qbk::db {
namespace {

TEST(DialectTest, postgresNumbersOnlyTheParametersOutsideQuotesAndComments) {
  const PostgresDialect pg;
  EXPECT_EQ(pg.placeholders("SELECT A FROM T WHERE A = ? AND B IS ?"),
            "SELECT A FROM T WHERE A = $1 AND B IS $2");
  EXPECT_EQ(pg.placeholders("SELECT '?', 'it''s ?', \"a?b\" FROM T -- why?\nWHERE A = ?"),
            "SELECT '?', 'it''s ?', \"a?b\" FROM T -- why?\nWHERE A = $1");
  EXPECT_EQ(pg.placeholders("/* ? */ UPDATE T SET A = ? WHERE B = ?"),
            "/* ? */ UPDATE T SET A = $1 WHERE B = $2");
  // An unterminated quote swallows the rest rather than inventing parameters.
  EXPECT_EQ(pg.placeholders("SELECT 'a?"), "SELECT 'a?");
}

TEST(DialectTest, sqliteLeavesTheStatementAsWritten) {
  EXPECT_EQ(SqliteDialect().placeholders("SELECT ? WHERE '?' = ?"), "SELECT ? WHERE '?' = ?");
}

}  // namespace
}  // namespace qbk::db
