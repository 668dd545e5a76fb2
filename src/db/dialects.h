// The two engines' SQL fragments. Code that builds SQL asks the connection's dialect
// instead of testing the engine.
#pragma once

#include "db/connection.h"

namespace qbk::db {

class SqliteDialect final : public Dialect {
 public:
  Engine engine() const override { return Engine::SQLite; }
  std::string name() const override { return "sqlite"; }
  std::string placeholders(std::string_view sql) const override;
  std::string beginWrite() const override { return "BEGIN IMMEDIATE"; }
  std::string textType(int size) const override;
  std::string floatType() const override { return "DOUBLE PRECISION"; }
  std::string nullSafeEqual() const override { return "IS"; }
  std::string lockRowsSuffix() const override { return ""; }
};

class PostgresDialect final : public Dialect {
 public:
  Engine engine() const override { return Engine::PostgreSQL; }
  std::string name() const override { return "postgresql"; }
  std::string placeholders(std::string_view sql) const override;
  std::string beginWrite() const override { return "BEGIN"; }
  std::string textType(int size) const override;
  std::string floatType() const override { return "DOUBLE PRECISION"; }
  std::string nullSafeEqual() const override { return "IS NOT DISTINCT FROM"; }
  std::string lockRowsSuffix() const override { return " FOR UPDATE"; }
};

}  // namespace qbk::db
