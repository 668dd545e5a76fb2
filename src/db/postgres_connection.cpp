#include "db/postgres_connection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <variant>

namespace qbk::db {

namespace {

constexpr std::size_t kCacheLimit = 256;

// Same patience for a lock as the SQLite connection's busy timeout.
constexpr const char* kSessionSetup = "SET lock_timeout = 5000";

ConstraintError::Kind constraintKind(std::string_view state) {
  if (state == "23505") return ConstraintError::Kind::Unique;
  if (state == "23503") return ConstraintError::Kind::ForeignKey;
  if (state == "23502") return ConstraintError::Kind::NotNull;
  if (state == "23514") return ConstraintError::Kind::Check;
  return ConstraintError::Kind::Other;
}

bool isNumericType(Oid type) {
  switch (type) {
    case 20:    // int8
    case 21:    // int2
    case 23:    // int4
    case 700:   // float4
    case 701:   // float8
    case 1700:  // numeric
      return true;
    default:
      return false;
  }
}

std::string trimmed(const char* message) {
  std::string s = message ? message : "";
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

// Rows of a finished query; libpq holds the whole result, texts point into it.
class PgCursor final : public Cursor {
 public:
  explicit PgCursor(const PGresult* result) : result_(result) {
    // Unquoted names fold to lower case in PostgreSQL; the system writes every name in
    // upper case, so the names go back to the form they were written in.
    const int n = PQnfields(result);
    names_.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      std::string name = PQfname(result, i);
      for (char& ch : name)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
      names_.push_back(std::move(name));
    }
  }
  void setRow(int row) { row_ = row; }

  int columnCount() const override { return static_cast<int>(names_.size()); }
  std::string_view columnName(int i) const override { return names_[static_cast<std::size_t>(i)]; }
  bool isNull(int i) const override { return PQgetisnull(result_, row_, i) != 0; }
  bool isNumber(int i) const override { return isNumericType(PQftype(result_, i)); }
  std::string_view text(int i) const override {
    return std::string_view(PQgetvalue(result_, row_, i),
                            static_cast<std::size_t>(PQgetlength(result_, row_, i)));
  }
  double number(int i) const override {
    const std::string_view t = text(i);
    double value = 0;
    std::from_chars(t.data(), t.data() + t.size(), value);
    return value;
  }

 private:
  const PGresult* result_;
  std::vector<std::string> names_;
  int row_ = 0;
};

struct ResultHolder {
  PGresult* result;
  ~ResultHolder() { PQclear(result); }
};

void ignoreNotice(void*, const char*) {}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

PostgresConnection::PostgresConnection(const std::string& conninfo) {
  conn_ = PQconnectdb(conninfo.c_str());
  if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
    const std::string message = conn_ ? trimmed(PQerrorMessage(conn_)) : "sem memória";
    PQfinish(conn_);
    throw DbError("Não foi possível conectar ao PostgreSQL: " + message);
  }
  // Notices ("already exists, skipping") are not errors and would only clutter stderr.
  PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
  if (PQsetClientEncoding(conn_, "UTF8") != 0) {
    PQfinish(conn_);
    throw DbError("O PostgreSQL não aceitou a codificação UTF8.");
  }
  try {
    executeScript(kSessionSetup);
  } catch (...) {
    PQfinish(conn_);
    throw;
  }
}

PostgresConnection::~PostgresConnection() {
  PQfinish(conn_);
}

bool PostgresConnection::usable() const {
  if (PQstatus(conn_) != CONNECTION_OK) return false;
  // A session the database server ended while it sat idle (a restart, an administrator)
  // has its end waiting on the socket; reading it now spares the next call that failure.
  // The end comes as a last message and then the closed socket: a few reads see both.
  for (int i = 0; i < 4 && PQstatus(conn_) == CONNECTION_OK; ++i) {
    pollfd socket{PQsocket(conn_), POLLIN, 0};
    if (socket.fd < 0 || poll(&socket, 1, 0) <= 0) break;
    PQconsumeInput(conn_);
  }
  return PQstatus(conn_) == CONNECTION_OK;
}

void PostgresConnection::fail(PGresult* result) {
  std::string message =
      trimmed(result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr);
  if (message.empty()) message = trimmed(PQerrorMessage(conn_));
  const char* detail = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL) : nullptr;
  if (detail) message += " " + trimmed(detail);
  const char* code = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const std::string state = code ? code : "";
  PQclear(result);
  if (startsWith(state, "23")) throw ConstraintError(constraintKind(state), message);
  // 53100: disk full; class 58: the server's own I/O failed.
  if (state == "53100" || startsWith(state, "58")) throw StorageError(state == "53100", message);
  if (state == "55P03") throw BusyError(message);  // lock_not_available: lock_timeout ran out
  if (state == "40P01" || state == "40001") throw ConcurrencyError(message);
  throw DbError(message);
}

void PostgresConnection::forgetPrepared() {
  if (names_.empty()) return;
  names_.clear();
  PQclear(PQexec(conn_, "DEALLOCATE ALL"));
}

const std::string& PostgresConnection::prepared(std::string_view sql) {
  if (auto it = names_.find(sql); it != names_.end()) return it->second;
  if (names_.size() >= kCacheLimit) forgetPrepared();
  std::string name = "qbk_" + std::to_string(++compiled_);
  PGresult* result = PQprepare(conn_, name.c_str(), dialect_.placeholders(sql).c_str(), 0, nullptr);
  if (PQresultStatus(result) != PGRES_COMMAND_OK) fail(result);
  PQclear(result);
  return names_.emplace(std::string(sql), std::move(name)).first->second;
}

PGresult* PostgresConnection::run(std::string_view sql, const std::vector<Value>& params) {
  const std::string& name = prepared(sql);
  std::vector<std::string> numbers;
  numbers.reserve(params.size());
  std::vector<const char*> values(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    std::visit(
        [&](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::monostate>) {
            values[i] = nullptr;
          } else if constexpr (std::is_same_v<T, std::string>) {
            // Parameters travel as C strings: a zero byte would cut the text short.
            if (v.find('\0') != std::string::npos)
              throw DbError("Texto com caractere nulo não pode ser gravado.");
            values[i] = v.c_str();
          } else {
            if (std::isnan(v)) throw DbError("Valor numérico inválido (NaN).");
            char buf[32];
            const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
            values[i] = numbers.emplace_back(buf, end).c_str();
          }
        },
        params[i]);
  }
  PGresult* result = PQexecPrepared(conn_, name.c_str(), static_cast<int>(values.size()),
                                    values.data(), nullptr, nullptr, 0);
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail(result);
  return result;
}

long long PostgresConnection::execute(std::string_view sql, const std::vector<Value>& params) {
  const ResultHolder held{run(sql, params)};
  const std::string_view tag = PQcmdStatus(held.result);
  // COMMIT of a transaction in which a statement failed answers ROLLBACK, not an error.
  if (tag == "ROLLBACK" && !startsWith(sql, "ROLLBACK"))
    throw DbError("A transação foi desfeita porque um comando dentro dela falhou.");
  // A statement prepared before a change of a table may no longer fit it.
  if (startsWith(tag, "CREATE") || startsWith(tag, "ALTER") || startsWith(tag, "DROP"))
    forgetPrepared();
  return std::atoll(PQcmdTuples(held.result));
}

void PostgresConnection::stream(std::string_view sql, const std::vector<Value>& params,
                                const std::function<void(const Cursor&)>& onColumns,
                                const std::function<void(const Cursor&)>& onRow) {
  const ResultHolder held{run(sql, params)};
  PgCursor cursor(held.result);
  if (onColumns) onColumns(cursor);
  const int rows = PQntuples(held.result);
  for (int r = 0; r < rows; ++r) {
    cursor.setRow(r);
    onRow(cursor);
  }
}

void PostgresConnection::forEachRow(std::string_view sql, const std::vector<Value>& params,
                                    const std::function<void(const Cursor&)>& onRow) {
  stream(sql, params, nullptr, onRow);
}

void PostgresConnection::executeScript(std::string_view sql) {
  PGresult* result = PQexec(conn_, std::string(sql).c_str());
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail(result);
  PQclear(result);
  forgetPrepared();
}

}  // namespace qbk::db
