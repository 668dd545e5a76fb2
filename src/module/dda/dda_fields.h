// The DDA settings of the current bank: import directories and the recipient e-mail.
#pragma once

#include "data/record_set.h"

namespace qbk::module {

void declareDDAFields(data::RecordSet& cdsDDA);

}  // namespace qbk::module
