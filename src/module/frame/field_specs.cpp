#include "module/frame/field_specs.h"

namespace qbk::module {

void declareFields(data::RecordSet& rs, std::initializer_list<FieldSpec> fields) {
  for (const FieldSpec& field : fields) {
    data::Field& f = rs.addField(field.name, field.type, field.size);
    f.displayLabel = field.label;
    f.origin = field.origin;
    f.visible = field.visible;
    f.editMask = field.editMask;
  }
}

}  // namespace qbk::module
