#include "module/frame/field_specs.h"

#include <algorithm>
#include <string>

#include "data/errors.h"

namespace qbk::module {

namespace {

void declareOne(data::RecordSet& rs, const FieldSpec& declared, const FieldLook& look) {
  data::Field& f = rs.addField(std::string(declared.name), declared.type, declared.size);
  f.displayLabel = declared.label;
  f.origin = declared.origin;
  f.visible = look.listed.size() == 0 ||
              std::find(look.listed.begin(), look.listed.end(), declared.name) != look.listed.end();
  for (const auto& [field, mask] : look.masks)
    if (field == declared.name) f.editMask = mask;
}

}  // namespace

void declareFields(data::RecordSet& rs, protocol::FieldList fields, const FieldLook& look) {
  for (const FieldSpec& declared : fields) declareOne(rs, declared, look);
}

void declareFields(data::RecordSet& rs, std::initializer_list<FieldSpec> fields,
                   const FieldLook& look) {
  declareFields(rs, protocol::FieldList(fields.begin(), fields.size()), look);
}

void declareFields(data::RecordSet& rs, const protocol::PacketSpec& packet, const FieldLook& look) {
  declareFields(rs, packet.fields, look);
}

void declareFieldsOf(data::RecordSet& rs, const protocol::PacketSpec& packet,
                     std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    const FieldSpec* declared = packet.field(name);
    if (!declared)
      throw Error("Campo '" + std::string(name) + "' não existe no pacote de " +
                  std::string(packet.table) + ".");
    declareOne(rs, *declared, {});
  }
}

}  // namespace qbk::module
