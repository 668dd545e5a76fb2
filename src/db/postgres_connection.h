// PostgreSQL behind the Connection interface, for a database shared by several servers.
// One connection serves one thread at a time.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "db/connection.h"
#include "db/dialects.h"

struct pg_conn;
struct pg_result;

namespace qbk::db {

class PostgresConnection final : public Connection {
 public:
  // `conninfo` is a libpq location: "postgresql://..." or "host=... dbname=...".
  explicit PostgresConnection(const std::string& conninfo);
  ~PostgresConnection() override;
  PostgresConnection(const PostgresConnection&) = delete;
  PostgresConnection& operator=(const PostgresConnection&) = delete;

  const Dialect& dialect() const override { return dialect_; }
  long long execute(std::string_view sql, const std::vector<Value>& params = {}) override;
  void forEachRow(std::string_view sql, const std::vector<Value>& params,
                  const std::function<void(const Cursor&)>& onRow) override;
  void stream(std::string_view sql, const std::vector<Value>& params,
              const std::function<void(const Cursor&)>& onColumns,
              const std::function<void(const Cursor&)>& onRow) override;
  void executeScript(std::string_view sql) override;
  bool usable() const override;

  // How many statements were prepared on the server since the connection opened.
  long long compiledStatements() const { return compiled_; }

 private:
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };

  pg_result* run(std::string_view sql, const std::vector<Value>& params);
  const std::string& prepared(std::string_view sql);
  void forgetPrepared();
  [[noreturn]] void fail(pg_result* result);

  pg_conn* conn_ = nullptr;
  PostgresDialect dialect_;
  std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> names_;
  long long compiled_ = 0;
};

}  // namespace qbk::db
