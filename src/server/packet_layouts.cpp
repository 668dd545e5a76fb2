#include "server/packet_layouts.h"

#include <stdexcept>
#include <string>

#include "protocol/packets.h"

namespace qbk::server {

using data::FieldDef;

const PacketField* PacketLayout::field(std::string_view name) const {
  for (const auto& f : fields)
    if (f.def.name == name) return &f;
  return nullptr;
}

std::vector<FieldDef> PacketLayout::fieldDefs() const {
  std::vector<FieldDef> defs;
  defs.reserve(fields.size());
  for (const auto& f : fields) defs.push_back(f.def);
  return defs;
}

namespace {

// A layout whose writable fields do not match the catalog would write the wrong column
// or none at all; refuse it the first time it is built rather than at the first delta.
PacketLayout makeLayout(const protocol::PacketSpec& packet) {
  PacketLayout layout{&table(packet.table), {}};
  for (const protocol::FieldSpec& f : packet.fields) {
    layout.fields.push_back({f.def(), f.joined});
    if (f.joined) continue;
    const ColumnSpec* c = layout.table->column(f.name);
    if (!c || c->type != f.type)
      throw std::logic_error("packet field " + std::string(f.name) + " does not match table " +
                             layout.table->name);
  }
  return layout;
}

// One layout per packet, built once on first use.
template <const protocol::PacketSpec& packet>
const PacketLayout& layoutOf() {
  static const PacketLayout layout = makeLayout(packet);
  return layout;
}

}  // namespace

namespace layouts {
const PacketLayout& banco() {
  return layoutOf<protocol::packets::banco>();
}
const PacketLayout& emprBanc() {
  return layoutOf<protocol::packets::emprBanc>();
}
const PacketLayout& errCnabPag() {
  return layoutOf<protocol::packets::errCnabPag>();
}
const PacketLayout& errCnabRec() {
  return layoutOf<protocol::packets::errCnabRec>();
}
const PacketLayout& instruCobr() {
  return layoutOf<protocol::packets::instruCobr>();
}
const PacketLayout& pesqInstru() {
  return layoutOf<protocol::packets::pesqInstru>();
}
const PacketLayout& cdInstrucaoCob() {
  return layoutOf<protocol::packets::cdInstrucaoCob>();
}
const PacketLayout& dda() {
  return layoutOf<protocol::packets::dda>();
}
}  // namespace layouts

}  // namespace qbk::server
