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

// A reference from some columns of a table to the key of another.
struct ForeignKeySpec {
  std::vector<std::string> columns;
  std::string table;                    // the referenced table
  std::vector<std::string> references;  // its key columns, in the order of `columns`
  bool cascadeDelete = false;           // the rows go with the referenced row
};

struct TableSpec {
  std::string name;
  std::vector<ColumnSpec> columns;
  std::vector<std::string> key;
  std::vector<ForeignKeySpec> foreignKeys;

  const ColumnSpec* column(std::string_view name) const;
  bool isKey(std::string_view column) const;
};

// Every table, in creation order.
const std::vector<TableSpec>& catalog();
// The table of that name; throws std::out_of_range for an unknown name.
const TableSpec& table(std::string_view name);

}  // namespace qbk::server
