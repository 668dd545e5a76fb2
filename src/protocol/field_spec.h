// How a field of a packet or of a direct query is described: name, type, size, the label a
// person reads, and where it comes from. Written as tables, one field a line.
#pragma once

#include <span>
#include <string_view>

#include "data/value.h"

namespace qbk::protocol {

struct FieldSpec {
  std::string_view name;
  data::FieldType type = data::FieldType::String;
  int size = 0;               // characters, for texts; 0 has no limit
  std::string_view label{};   // display label; empty shows the name
  std::string_view origin{};  // table-qualified column, informative only
  bool joined = false;        // read from another table: shown and sent back, never written

  data::FieldDef def() const { return {std::string(name), type, size}; }
};

// Text field of `size` characters.
constexpr FieldSpec text(std::string_view name, int size, std::string_view label = {},
                         std::string_view origin = {}) {
  return {name, data::FieldType::String, size, label, origin, false};
}
// Floating-point field.
constexpr FieldSpec number(std::string_view name, std::string_view label = {},
                           std::string_view origin = {}) {
  return {name, data::FieldType::Float, 0, label, origin, false};
}
constexpr FieldSpec joined(FieldSpec f) {
  f.joined = true;
  return f;
}

using FieldList = std::span<const FieldSpec>;

// The field of that name in a list; null when it has none.
const FieldSpec* findField(FieldList fields, std::string_view name);

}  // namespace qbk::protocol
