#include "db/dialects.h"

#include <string>

#include "db/sql_text.h"

namespace qbk::db {

std::string SqliteDialect::placeholders(std::string_view sql) const {
  return std::string(sql);
}

std::string SqliteDialect::textType(int size) const {
  return "VARCHAR(" + std::to_string(size) + ")";
}

std::string PostgresDialect::placeholders(std::string_view sql) const {
  int next = 0;
  return rewriteOutsideQuotes(sql, [&](std::string_view rest, std::string& out) -> std::size_t {
    if (rest.front() != '?') return 0;
    out.push_back('$');
    out.append(std::to_string(++next));
    return 1;
  });
}

std::string PostgresDialect::textType(int size) const {
  return "VARCHAR(" + std::to_string(size) + ")";
}

}  // namespace qbk::db
