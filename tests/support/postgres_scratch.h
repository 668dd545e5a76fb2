// A private schema on the PostgreSQL server named by QBK_TEST_POSTGRES (a libpq keyword
// string such as "host=/tmp port=5432 dbname=postgres"), dropped with everything in it
// when the test ends. Tests that need one are skipped when the variable is not set.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "db/connection.h"

namespace qbk::testing {

class PostgresScratch {
 public:
  static const char* server() { return std::getenv("QBK_TEST_POSTGRES"); }

  PostgresScratch() {
    if (!server() || !*server()) return;
    std::random_device random;
    schema_ = "qbk_test_" + std::to_string(random()) + std::to_string(random());
    admin_ = db::open(server());
    admin_->executeScript("CREATE SCHEMA " + schema_);
  }
  ~PostgresScratch() {
    if (!admin_) return;
    try {
      // A test may have restarted the database server and with it ended this session.
      if (!admin_->usable()) admin_ = db::open(server());
      admin_->executeScript("DROP SCHEMA " + schema_ + " CASCADE");
    } catch (const std::exception& e) {
      ADD_FAILURE() << "schema " << schema_ << " not dropped: " << e.what();
    }
  }
  PostgresScratch(const PostgresScratch&) = delete;
  PostgresScratch& operator=(const PostgresScratch&) = delete;

  bool available() const { return admin_ != nullptr; }
  // A location whose unqualified names live in the scratch schema.
  std::string location() const {
    return std::string(server()) + " options='-c search_path=" + schema_ + "'";
  }

 private:
  std::string schema_;
  std::unique_ptr<db::Connection> admin_;
};

}  // namespace qbk::testing

#define QBK_REQUIRE_POSTGRES(scratch) \
  if (!(scratch).available())         \
  GTEST_SKIP() << "QBK_TEST_POSTGRES names no PostgreSQL server to test against"
