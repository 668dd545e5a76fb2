// The tables the server keeps: names, columns, sizes and keys. The schema scripts and the
// delta resolver both come from this one description, so they cannot disagree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/value.h"

namespace qbk::server {

struct ColumnSpec {
  std::string name;
  data::FieldType type = data::FieldType::String;
  int size = 0;  // characters, for text columns
  bool notNull = false;
};

struct TableSpec {
  std::string name;
  std::vector<ColumnSpec> columns;
  std::vector<std::string> key;

  const ColumnSpec* column(std::string_view name) const;
  bool isKey(std::string_view column) const;
};

// Every table, in creation order.
const std::vector<TableSpec>& catalog();
// The table of that name; throws std::out_of_range for an unknown name.
const TableSpec& table(std::string_view name);

}  // namespace qbk::server
