#include "module/dda/dda_fields.h"

#include "module/frame/field_specs.h"

namespace qbk::module {

void declareDDAFields(data::RecordSet& cdsDDA) {
  declareFields(cdsDDA, {
                            text("DSDIRIMPARQDDA", 250),
                            text("DSEMAILDDA", 250),
                            text("DSDIRIMPARQDDALOCAL", 250),
                            hidden(text("CDBANCO", 20)),
                        });
}

}  // namespace qbk::module
