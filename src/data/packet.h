// Data packets (a record set's whole content) and deltas (its pending changes).
#pragma once

#include <string>
#include <vector>

#include "value.h"

namespace qbk::data {

struct Packet {
  std::vector<FieldDef> fields;
  std::vector<Row> rows;

  int fieldIndex(std::string_view name) const;  // -1 when absent
  bool operator==(const Packet&) const = default;
};

struct Change {
  enum class Op { Insert, Update, Delete };
  Op op = Op::Insert;
  Row oldRow;  // Update and Delete: the values as last read from the server
  Row newRow;  // Insert and Update: the values to store

  bool operator==(const Change&) const = default;
};

// Deletes come first, then updates, then inserts, so a key freed by a delete can be reused.
struct Delta {
  std::vector<FieldDef> fields;
  std::vector<Change> changes;

  int fieldIndex(std::string_view name) const;
  bool operator==(const Delta&) const = default;
};

}  // namespace qbk::data
