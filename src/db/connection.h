// One small interface over the database engines (SQLite, PostgreSQL). Statements use `?`
// for positional parameters; the dialect rewrites them for the engine. Only bound
// parameters ever carry values into SQL.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "data/value.h"

namespace qbk::db {

using data::Row;
using data::Value;

enum class Engine { SQLite, PostgreSQL };

// Engine differences as small SQL fragments, one subclass per engine.
class Dialect {
 public:
  virtual ~Dialect() = default;
  virtual Engine engine() const = 0;
  virtual std::string name() const = 0;  // "sqlite", "postgresql"
  // Statement text with each `?` outside quotes turned into the engine's placeholder.
  virtual std::string placeholders(std::string_view sql) const = 0;
  // Opens a transaction that will write (SQLite: "BEGIN IMMEDIATE").
  virtual std::string beginWrite() const = 0;
  virtual std::string textType(int size) const = 0;  // column type for a text of `size` chars
  virtual std::string floatType() const = 0;
  // Null-safe equality operator: "IS" (SQLite), "IS NOT DISTINCT FROM" (PostgreSQL).
  virtual std::string nullSafeEqual() const = 0;
  // What ends a SELECT that locks the rows it reads until the transaction ends (" FOR
  // UPDATE"); empty where a write transaction already holds the whole database (SQLite).
  virtual std::string lockRowsSuffix() const = 0;
};

// A database failure, with the engine's own message.
class DbError : public Error {
 public:
  using Error::Error;
};

// A statement refused by a constraint of the schema. The kind lets the server answer with
// its own clear text instead of the engine's.
class ConstraintError : public DbError {
 public:
  enum class Kind { Unique, ForeignKey, NotNull, Check, Other };
  ConstraintError(Kind kind, const std::string& message) : DbError(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// The engine could not write or read its files: a full disk or a failing one. The running
// transaction is lost; nothing of it is kept.
class StorageError : public DbError {
 public:
  StorageError(bool diskFull, const std::string& message) : DbError(message), diskFull_(diskFull) {}
  bool diskFull() const { return diskFull_; }

 private:
  bool diskFull_;
};

// The database stayed locked by someone else past the wait the connection allows (SQLite's
// busy timeout, PostgreSQL's lock_timeout). Nothing was written; the same call may succeed
// a moment later.
class BusyError : public DbError {
 public:
  using DbError::DbError;
};

// The engine gave up this transaction because it crossed another one (a deadlock or a
// serialization failure). Nothing was written; the caller should read again and retry.
class ConcurrencyError : public DbError {
 public:
  using DbError::DbError;
};

// Read access to the current row while rows are streamed.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual int columnCount() const = 0;
  virtual std::string_view columnName(int i) const = 0;
  virtual bool isNull(int i) const = 0;
  virtual std::string_view text(int i) const = 0;  // valid until the next row
  virtual double number(int i) const = 0;
  // True when the engine holds the value as a number (integer or floating point).
  virtual bool isNumber(int i) const = 0;
  Value value(int i, data::FieldType type) const;
};

struct Result {
  std::vector<std::string> columns;
  std::vector<Row> rows;  // texts as text, numbers as double, NULL as null
};

class Connection {
 public:
  virtual ~Connection() = default;
  virtual const Dialect& dialect() const = 0;

  // Runs a statement that returns no rows; returns the number of rows it changed.
  virtual long long execute(std::string_view sql, const std::vector<Value>& params = {}) = 0;
  // Streams the rows of a query to `onRow` without copying them.
  virtual void forEachRow(std::string_view sql, const std::vector<Value>& params,
                          const std::function<void(const Cursor&)>& onRow) = 0;
  // Like forEachRow, but first calls `onColumns` once, also when the query yields no row;
  // only columnCount() and columnName() may be read there.
  virtual void stream(std::string_view sql, const std::vector<Value>& params,
                      const std::function<void(const Cursor&)>& onColumns,
                      const std::function<void(const Cursor&)>& onRow) = 0;
  // Runs several statements separated by ';' with no parameters (schema scripts).
  virtual void executeScript(std::string_view sql) = 0;
  // False once the link to the database server is lost (the server restarted, the session
  // was ended): nothing more will work, and the owner opens a new connection.
  virtual bool usable() const { return true; }

  Result query(std::string_view sql, const std::vector<Value>& params = {});
};

// Scope of a transaction: rolls back when left without commit(), on every exit path.
class Transaction {
 public:
  enum class Mode { Read, Write };
  explicit Transaction(Connection& c, Mode mode = Mode::Write);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Connection& c_;
  bool done_ = false;
};

// Opens a connection from a location: a file path or "sqlite:PATH" for SQLite;
// "postgresql://..." or "postgres://..." or a libpq "host=... dbname=..." string for
// PostgreSQL. SQLite connections run in WAL mode with a busy timeout.
std::unique_ptr<Connection> open(const std::string& location);

}  // namespace qbk::db
