#include "module/frame/field_specs.h"

namespace qbk::module {

void declareFields(data::RecordSet& rs, std::initializer_list<FieldSpec> fields) {
  for (const FieldSpec& spec : fields) {
    data::Field& f = rs.addField(spec.name, spec.type, spec.size);
    f.displayLabel = spec.label;
    f.origin = spec.origin;
    f.visible = spec.visible;
    f.editMask = spec.editMask;
  }
}

}  // namespace qbk::module
