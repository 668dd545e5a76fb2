// One fresh, empty database per test on either engine, so that a test written once runs on
// both: an SQLite file in a temporary directory, or a private schema on the PostgreSQL
// server named by QBK_TEST_POSTGRES (the PostgreSQL case skips itself without one).
//
//   class MyTest : public ::testing::TestWithParam<db::Engine> { ... TestDatabase
//   database{GetParam()}; }; INSTANTIATE_TEST_SUITE_P(Engines, MyTest, QBK_BOTH_ENGINES);
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "db/connection.h"
#include "support/postgres_scratch.h"
#include "support/temp_dir.h"

namespace qbk::testing {

class TestDatabase {
 public:
  explicit TestDatabase(db::Engine engine) : engine_(engine) {
    if (engine == db::Engine::SQLite) {
      location_ = dir_.file("banco.db");
      return;
    }
    scratch_ = std::make_unique<PostgresScratch>();
    if (scratch_->available()) location_ = scratch_->location();
  }
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  db::Engine engine() const { return engine_; }
  bool available() const { return !location_.empty(); }
  // What db::open and the server's --database take.
  const std::string& location() const { return location_; }
  std::unique_ptr<db::Connection> open() const { return db::open(location_); }
  // A directory of the test's own, for files beside the database.
  const TempDir& dir() const { return dir_; }

 private:
  db::Engine engine_;
  TempDir dir_;
  std::unique_ptr<PostgresScratch> scratch_;
  std::string location_;
};

inline std::string engineName(db::Engine engine) {
  return engine == db::Engine::SQLite ? "SQLite" : "PostgreSQL";
}

// Names the instances "…/SQLite" and "…/PostgreSQL", for ctest -R.
inline std::string engineParamName(const ::testing::TestParamInfo<db::Engine>& info) {
  return engineName(info.param);
}

// The engine of the running test: its parameter in a test over both engines, SQLite in a
// plain TEST_F on a fixture that also serves parameterized tests.
inline db::Engine currentEngine() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info || !info->value_param()) return db::Engine::SQLite;
  return std::string(info->value_param()).find("PostgreSQL") != std::string::npos
             ? db::Engine::PostgreSQL
             : db::Engine::SQLite;
}

}  // namespace qbk::testing

namespace qbk::db {
inline std::ostream& operator<<(std::ostream& out, Engine engine) {
  return out << testing::engineName(engine);
}
}  // namespace qbk::db

#define QBK_BOTH_ENGINES                                                       \
  ::testing::Values(::qbk::db::Engine::SQLite, ::qbk::db::Engine::PostgreSQL), \
      ::qbk::testing::engineParamName

#define QBK_REQUIRE_DATABASE(database) \
  if (!(database).available())         \
  GTEST_SKIP() << "QBK_TEST_POSTGRES names no PostgreSQL server to test against"
