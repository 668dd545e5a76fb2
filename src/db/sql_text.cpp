#include "db/sql_text.h"

namespace qbk::db {

std::string rewriteOutsideQuotes(
    std::string_view sql,
    const std::function<std::size_t(std::string_view rest, std::string& out)>& onCode) {
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
    } else if (const std::size_t used = onCode(sql.substr(i), out); used > 0) {
      i += used;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

}  // namespace qbk::db
