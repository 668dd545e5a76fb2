// SQLite behind the Connection interface: the embedded default database of the server and
// the host. One connection serves one thread at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "db/connection.h"
#include "db/dialects.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qbk::db {

class SqliteConnection final : public Connection {
 public:
  // Opens (creating when missing) the database file at `path`, in WAL mode with durable
  // commits, enforced foreign keys and a busy timeout.
  explicit SqliteConnection(const std::string& path);
  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  const Dialect& dialect() const override { return dialect_; }
  long long execute(std::string_view sql, const std::vector<Value>& params = {}) override;
  void forEachRow(std::string_view sql, const std::vector<Value>& params,
                  const std::function<void(const Cursor&)>& onRow) override;
  void stream(std::string_view sql, const std::vector<Value>& params,
              const std::function<void(const Cursor&)>& onColumns,
              const std::function<void(const Cursor&)>& onRow) override;
  void executeScript(std::string_view sql) override;

  // How many statements were compiled since the connection opened; a statement run again
  // from the cache does not count.
  long long compiledStatements() const { return compiled_; }

 private:
  class Lease;
  struct Cached {
    sqlite3_stmt* stmt = nullptr;
    bool inUse = false;
  };
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };

  Lease acquire(std::string_view sql);
  sqlite3_stmt* compile(std::string_view sql, bool persistent);
  void bind(sqlite3_stmt* stmt, const std::vector<Value>& params);
  void evictIdle();
  [[noreturn]] void fail(int rc);

  sqlite3* db_ = nullptr;
  SqliteDialect dialect_;
  std::unordered_map<std::string, Cached, TextHash, std::equal_to<>> cache_;
  long long compiled_ = 0;
};

}  // namespace qbk::db
