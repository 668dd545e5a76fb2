#include "db/sqlite_connection.h"

#include <sqlite3.h>

#include <cmath>
#include <string>
#include <type_traits>
#include <variant>

namespace qbk::db {

namespace {

// Past this many distinct statements the idle ones are dropped: the server runs a small
// fixed set, so only a stream of generated statements could reach it.
constexpr std::size_t kCacheLimit = 256;
constexpr int kBusyTimeoutMs = 5000;

ConstraintError::Kind constraintKind(int extendedCode) {
  switch (extendedCode) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
      return ConstraintError::Kind::Unique;
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      return ConstraintError::Kind::ForeignKey;
    case SQLITE_CONSTRAINT_NOTNULL:
      return ConstraintError::Kind::NotNull;
    case SQLITE_CONSTRAINT_CHECK:
      return ConstraintError::Kind::Check;
    default:
      return ConstraintError::Kind::Other;
  }
}

// The current row of a running statement; texts point into SQLite's own buffers.
class SqliteCursor final : public Cursor {
 public:
  explicit SqliteCursor(sqlite3_stmt* stmt) : stmt_(stmt) {}
  int columnCount() const override { return sqlite3_column_count(stmt_); }
  std::string_view columnName(int i) const override {
    const char* name = sqlite3_column_name(stmt_, i);
    return name ? std::string_view(name) : std::string_view();
  }
  bool isNull(int i) const override { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }
  bool isNumber(int i) const override {
    const int type = sqlite3_column_type(stmt_, i);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
  }
  std::string_view text(int i) const override {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    if (!data) return {};
    return std::string_view(data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)));
  }
  double number(int i) const override { return sqlite3_column_double(stmt_, i); }

 private:
  sqlite3_stmt* stmt_;
};

}  // namespace

// A statement borrowed for one run. Giving it back resets it and drops its bindings on
// every exit path, so an exception in a row callback never leaves a half-read statement
// in the cache. A statement that is not cached (its cached twin was busy) is finalized.
class SqliteConnection::Lease {
 public:
  Lease(sqlite3_stmt* stmt, Cached* entry) : stmt_(stmt), entry_(entry) {}
  ~Lease() {
    if (entry_) {
      sqlite3_reset(stmt_);
      sqlite3_clear_bindings(stmt_);
      entry_->inUse = false;
    } else {
      sqlite3_finalize(stmt_);
    }
  }
  Lease(const Lease&) = delete;
  Lease& operator=(const Lease&) = delete;
  sqlite3_stmt* stmt() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_;
  Cached* entry_;
};

SqliteConnection::SqliteConnection(const std::string& path) {
  const int rc =
      sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close_v2(db_);
    throw DbError("Não foi possível abrir o banco de dados \"" + path + "\": " + message);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  try {
    // WAL lets readers go on while one writer commits; FULL makes every commit durable.
    executeScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
  } catch (const DbError& e) {
    sqlite3_close_v2(db_);
    throw DbError("Não foi possível abrir o banco de dados \"" + path + "\": " + e.what());
  }
}

SqliteConnection::~SqliteConnection() {
  for (auto& [sql, cached] : cache_) sqlite3_finalize(cached.stmt);
  sqlite3_close_v2(db_);
}

void SqliteConnection::fail(int rc) {
  const std::string message = sqlite3_errmsg(db_);
  if ((rc & 0xFF) == SQLITE_CONSTRAINT) throw ConstraintError(constraintKind(rc), message);
  if ((rc & 0xFF) == SQLITE_FULL || (rc & 0xFF) == SQLITE_IOERR)
    throw StorageError((rc & 0xFF) == SQLITE_FULL, message);
  // The busy timeout has already been waited out when these come back.
  if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED) throw BusyError(message);
  throw DbError(message);
}

sqlite3_stmt* SqliteConnection::compile(std::string_view sql, bool persistent) {
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                    persistent ? SQLITE_PREPARE_PERSISTENT : 0, &stmt, &tail);
  if (rc != SQLITE_OK) fail(rc);
  if (!stmt) throw DbError("Comando SQL vazio.");
  // A second statement after the first would be silently ignored by a single run.
  const auto rest = static_cast<int>(sql.data() + sql.size() - tail);
  if (rest > 0) {
    sqlite3_stmt* next = nullptr;
    const bool more = sqlite3_prepare_v2(db_, tail, rest, &next, nullptr) != SQLITE_OK || next;
    sqlite3_finalize(next);
    if (more) {
      sqlite3_finalize(stmt);
      throw DbError("Mais de um comando SQL numa só execução.");
    }
  }
  ++compiled_;
  return stmt;
}

void SqliteConnection::evictIdle() {
  for (auto it = cache_.begin(); it != cache_.end();) {
    if (it->second.inUse) {
      ++it;
    } else {
      sqlite3_finalize(it->second.stmt);
      it = cache_.erase(it);
    }
  }
}

SqliteConnection::Lease SqliteConnection::acquire(std::string_view sql) {
  if (auto it = cache_.find(sql); it != cache_.end()) {
    // The same statement can be asked for again from inside its own row callback; that
    // run gets a private copy instead of resetting the one being read.
    if (it->second.inUse) return Lease(compile(sql, false), nullptr);
    it->second.inUse = true;
    return Lease(it->second.stmt, &it->second);
  }
  if (cache_.size() >= kCacheLimit) evictIdle();
  sqlite3_stmt* stmt = compile(sql, true);
  auto [it, inserted] = cache_.emplace(std::string(sql), Cached{stmt, true});
  return Lease(stmt, &it->second);
}

void SqliteConnection::bind(sqlite3_stmt* stmt, const std::vector<Value>& params) {
  const int expected = sqlite3_bind_parameter_count(stmt);
  if (expected != static_cast<int>(params.size()))
    throw DbError("O comando espera " + std::to_string(expected) + " parâmetro(s) e recebeu " +
                  std::to_string(params.size()) + ".");
  for (int i = 0; i < expected; ++i) {
    const int rc = std::visit(
        [&](const auto& v) -> int {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::monostate>) {
            return sqlite3_bind_null(stmt, i + 1);
          } else if constexpr (std::is_same_v<T, std::string>) {
            // The parameters outlive the run, and the lease drops the bindings after it.
            return sqlite3_bind_text64(stmt, i + 1, v.data(), v.size(), SQLITE_STATIC, SQLITE_UTF8);
          } else {
            // SQLite would store NaN as NULL without a word.
            if (std::isnan(v)) throw DbError("Valor numérico inválido (NaN).");
            return sqlite3_bind_double(stmt, i + 1, v);
          }
        },
        params[static_cast<std::size_t>(i)]);
    if (rc != SQLITE_OK) fail(rc);
  }
}

long long SqliteConnection::execute(std::string_view sql, const std::vector<Value>& params) {
  Lease lease = acquire(sql);
  bind(lease.stmt(), params);
  const sqlite3_int64 before = sqlite3_total_changes64(db_);
  int rc;
  while ((rc = sqlite3_step(lease.stmt())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) fail(rc);
  // changes() keeps the count of the last data change, also across DDL and transaction
  // statements; only a statement that moved the total changed rows itself. Rows removed by
  // a cascade are not counted, so a delete of one row reports 1.
  return sqlite3_total_changes64(db_) == before ? 0 : sqlite3_changes64(db_);
}

void SqliteConnection::stream(std::string_view sql, const std::vector<Value>& params,
                              const std::function<void(const Cursor&)>& onColumns,
                              const std::function<void(const Cursor&)>& onRow) {
  Lease lease = acquire(sql);
  bind(lease.stmt(), params);
  const SqliteCursor cursor(lease.stmt());
  if (onColumns) onColumns(cursor);
  for (;;) {
    const int rc = sqlite3_step(lease.stmt());
    if (rc == SQLITE_ROW) {
      onRow(cursor);
    } else if (rc == SQLITE_DONE) {
      return;
    } else {
      fail(rc);
    }
  }
}

void SqliteConnection::forEachRow(std::string_view sql, const std::vector<Value>& params,
                                  const std::function<void(const Cursor&)>& onRow) {
  stream(sql, params, nullptr, onRow);
}

void SqliteConnection::executeScript(std::string_view sql) {
  const std::string text(sql);
  char* error = nullptr;
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
  sqlite3_free(error);
  if (rc != SQLITE_OK) fail(rc);
}

}  // namespace qbk::db
