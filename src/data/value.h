// Typed cell values shared by record sets, packets, deltas and the server.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qbk::data {

enum class FieldType { String, Float };

// A cell: null (monostate), a UTF-8 text or a floating-point number.
// Null and the empty text are different values.
using Value = std::variant<std::monostate, std::string, double>;
using Row = std::vector<Value>;

inline bool isNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

// Column description as it travels in packets and deltas. For text columns `size`
// counts characters (code points), not bytes; for numbers it is 0.
struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;

  bool operator==(const FieldDef&) const = default;
};

// Number of code points of a UTF-8 text.
std::size_t utf8Length(std::string_view text);

// The first `chars` code points of a UTF-8 text; never cuts inside a character.
std::string_view utf8Prefix(std::string_view text, std::size_t chars);

// True when the text is well-formed UTF-8.
bool utf8Valid(std::string_view text);

// Text form of a number as the screens show it: "3", "2.5", "-0.125".
std::string formatNumber(double value);

}  // namespace qbk::data
