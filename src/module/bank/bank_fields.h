// The bank record set cdsBanco and the direct query that looks a bank code up.
#pragma once

#include "data/record_set.h"

namespace qbk::host {
class TADOIBQuery;
}

namespace qbk::module {

// The fixed-fund bank: created on the first activation when missing, never deleted.
inline constexpr const char* kBancoFundoFixo = "999";

void declareBancoFields(data::RecordSet& cdsBanco);

// qryChavPrim: one bank code, by code (parameter P_CDBANCO).
void declareChavPrimQuery(host::TADOIBQuery& qryChavPrim);

}  // namespace qbk::module
