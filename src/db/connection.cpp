#include "db/connection.h"

#include <cctype>

#include "db/postgres_connection.h"
#include "db/sqlite_connection.h"

namespace qbk::db {

Value Cursor::value(int i, data::FieldType type) const {
  if (isNull(i)) return {};
  if (type == data::FieldType::Float) return number(i);
  return std::string(text(i));
}

Result Connection::query(std::string_view sql, const std::vector<Value>& params) {
  Result result;
  stream(
      sql, params,
      [&](const Cursor& c) {
        result.columns.reserve(static_cast<std::size_t>(c.columnCount()));
        for (int i = 0; i < c.columnCount(); ++i) result.columns.emplace_back(c.columnName(i));
      },
      [&](const Cursor& c) {
        Row& row = result.rows.emplace_back();
        row.reserve(result.columns.size());
        for (int i = 0; i < c.columnCount(); ++i) {
          if (c.isNull(i))
            row.emplace_back();
          else if (c.isNumber(i))
            row.emplace_back(c.number(i));
          else
            row.emplace_back(std::string(c.text(i)));
        }
      });
  return result;
}

Transaction::Transaction(Connection& c, Mode mode) : c_(c) {
  c_.execute(mode == Mode::Write ? c_.dialect().beginWrite() : std::string("BEGIN"));
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    c_.execute("ROLLBACK");
  } catch (...) {
    // The engine may already have rolled back on its own (a failed commit, a full disk);
    // either way nothing of the transaction stays.
  }
}

void Transaction::commit() {
  if (done_) throw DbError("Transação já encerrada.");
  c_.execute("COMMIT");
  done_ = true;
}

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// A libpq keyword string starts with "keyword=": "host=db dbname=banco".
bool isPostgresKeywords(std::string_view location) {
  static constexpr std::string_view kKeywords[] = {
      "host",     "hostaddr", "port",    "dbname",          "user",
      "password", "service",  "sslmode", "connect_timeout", "application_name"};
  std::size_t i = 0;
  while (i < location.size() && std::isspace(static_cast<unsigned char>(location[i]))) ++i;
  const std::size_t start = i;
  while (i < location.size() &&
         (std::islower(static_cast<unsigned char>(location[i])) || location[i] == '_'))
    ++i;
  const std::string_view word = location.substr(start, i - start);
  while (i < location.size() && location[i] == ' ') ++i;
  if (i >= location.size() || location[i] != '=') return false;
  for (auto k : kKeywords)
    if (word == k) return true;
  return false;
}

}  // namespace

std::unique_ptr<Connection> open(const std::string& location) {
  const std::string_view loc(location);
  if (startsWith(loc, "postgresql://") || startsWith(loc, "postgres://") || isPostgresKeywords(loc))
    return std::make_unique<PostgresConnection>(location);
  std::string path(startsWith(loc, "sqlite:") ? loc.substr(7) : loc);
  if (path.empty()) throw DbError("Local do banco de dados não informado.");
  return std::make_unique<SqliteConnection>(path);
}

}  // namespace qbk::db
