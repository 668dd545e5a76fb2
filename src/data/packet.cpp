#include "packet.h"

namespace qbk::data {

namespace {
int indexOf(const std::vector<FieldDef>& fields, std::string_view name) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name) return static_cast<int>(i);
  return -1;
}
}  // namespace

int Packet::fieldIndex(std::string_view name) const { return indexOf(fields, name); }
int Delta::fieldIndex(std::string_view name) const { return indexOf(fields, name); }

}  // namespace qbk::data
