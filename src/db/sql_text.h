// Rewriting SQL text outside its quoted parts, for the parameter markers of each engine and
// of the direct queries.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qbk::db {

// Copies `sql` into a new text. Quoted texts, quoted names and comments are copied
// untouched, so nothing inside a value or a comment is ever taken for a marker. At every
// other position `onCode(rest, out)` is asked first: it may append to `out` and return how
// many characters of `rest` it consumed; 0 copies the character as it is.
std::string rewriteOutsideQuotes(
    std::string_view sql,
    const std::function<std::size_t(std::string_view rest, std::string& out)>& onCode);

}  // namespace qbk::db
