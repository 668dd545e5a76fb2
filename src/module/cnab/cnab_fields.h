// The company CNAB settings of the current bank (cdsEmprBanc) and the instruction search
// list the company's two instructions are picked from (cdsPesqInstru).
#pragma once

#include "data/record_set.h"

namespace qbk::module {

void declareEmprBancFields(data::RecordSet& cdsEmprBanc);
void declarePesqInstruFields(data::RecordSet& cdsPesqInstru);

}  // namespace qbk::module
