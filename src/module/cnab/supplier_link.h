// Registration numbers of the supplier link, kept apart so they can be tested alone.
#pragma once

#include <string>
#include <string_view>

#include "data/record_set.h"

namespace qbk::module {

// The characters of a registration number that belong to it: digits and, for an
// alphanumeric CNPJ, the letters A to Z (upper-cased). Punctuation of the masks and
// anything else is dropped.
std::string Nr_Codigo(std::string_view text);

// A registration number as people read it: formatted with the mask of the person type
// stored beside it (IDTPIJURFORN of the same record set), as stored when there is none.
std::string registrationText(const data::Field& number);

}  // namespace qbk::module
