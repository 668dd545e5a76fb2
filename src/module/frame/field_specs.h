// Declaring the fields of the screen's record sets: from a packet of the bank object (the
// sizes and labels the server uses too) or, for a direct query, from the query's own
// table; with how the screen presents them.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "data/record_set.h"
#include "protocol/packets.h"

namespace qbk::module {

using protocol::FieldSpec;
using protocol::number;
using protocol::text;

// What the screen adds to a field description.
struct FieldLook {
  // The fields grids and the record search list; empty lists every field.
  std::initializer_list<std::string_view> listed{};
  // Entry masks by field.
  std::initializer_list<std::pair<std::string_view, std::string_view>> masks{};
};

// Declares the fields on an inactive record set, in the order given.
void declareFields(data::RecordSet& rs, protocol::FieldList fields, const FieldLook& look = {});
void declareFields(data::RecordSet& rs, std::initializer_list<FieldSpec> fields,
                   const FieldLook& look = {});
void declareFields(data::RecordSet& rs, const protocol::PacketSpec& packet,
                   const FieldLook& look = {});
// Only the named fields of a packet, in the order named (a look-up set that reads one
// column of the answer).
void declareFieldsOf(data::RecordSet& rs, const protocol::PacketSpec& packet,
                     std::initializer_list<std::string_view> names);

}  // namespace qbk::module
