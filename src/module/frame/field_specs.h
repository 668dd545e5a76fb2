// Field declarations of the screen's record sets, written as tables so that each record
// set's fields stand in one place, in declaration order.
#pragma once

#include <initializer_list>
#include <string>

#include "data/record_set.h"

namespace qbk::module {

struct FieldSpec {
  const char* name;
  data::FieldType type = data::FieldType::String;
  int size = 0;
  const char* label = "";   // display label; "" shows the field name
  const char* origin = "";  // table-qualified column, informative only
  bool visible = true;      // whether grids and the record search list the field
  const char* editMask = "";
};

// Text field of `size` characters.
constexpr FieldSpec text(const char* name, int size, const char* label = "",
                         const char* origin = "", bool visible = true) {
  return {name, data::FieldType::String, size, label, origin, visible, ""};
}
// Floating-point field.
constexpr FieldSpec number(const char* name, const char* label = "", const char* origin = "",
                           bool visible = true) {
  return {name, data::FieldType::Float, 0, label, origin, visible, ""};
}
constexpr FieldSpec hidden(FieldSpec f) {
  f.visible = false;
  return f;
}
constexpr FieldSpec masked(FieldSpec f, const char* editMask) {
  f.editMask = editMask;
  return f;
}

// Declares the fields on an inactive record set, in the order given.
void declareFields(data::RecordSet& rs, std::initializer_list<FieldSpec> fields);

}  // namespace qbk::module
