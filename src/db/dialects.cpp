#include "db/dialects.h"

#include <string>

namespace qbk::db {

namespace {

// Calls `onParameter(out)` for every `?` that is a parameter and copies everything else to
// `out`. Quoted texts, quoted names and comments are copied untouched, so a `?` inside a
// value or a comment is never taken for a parameter.
template <typename OnParameter>
std::string rewriteParameters(std::string_view sql, OnParameter onParameter) {
  std::string out;
  out.reserve(sql.size() + 16);
  std::size_t i = 0;
  const std::size_t n = sql.size();
  auto copyUntil = [&](std::size_t end) {
    out.append(sql.substr(i, end - i));
    i = end;
  };
  while (i < n) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      // A doubled quote inside is the quote itself; the scan treats it as closing and
      // reopening, which copies the same characters.
      const std::size_t close = sql.find(c, i + 1);
      copyUntil(close == std::string_view::npos ? n : close + 1);
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      const std::size_t eol = sql.find('\n', i);
      copyUntil(eol == std::string_view::npos ? n : eol + 1);
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const std::size_t close = sql.find("*/", i + 2);
      copyUntil(close == std::string_view::npos ? n : close + 2);
    } else if (c == '?') {
      onParameter(out);
      ++i;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string SqliteDialect::placeholders(std::string_view sql) const {
  return std::string(sql);
}

std::string SqliteDialect::textType(int size) const {
  return "VARCHAR(" + std::to_string(size) + ")";
}

std::string PostgresDialect::placeholders(std::string_view sql) const {
  int next = 0;
  return rewriteParameters(sql, [&](std::string& out) {
    out.push_back('$');
    out.append(std::to_string(++next));
  });
}

std::string PostgresDialect::textType(int size) const {
  return "VARCHAR(" + std::to_string(size) + ")";
}

}  // namespace qbk::db
