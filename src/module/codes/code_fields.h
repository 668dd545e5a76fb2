// The bank's code tables: return-occurrence codes for payables and receivables, collection
// instructions, and the small look-up sets their duplicate checks load.
#pragma once

#include "data/record_set.h"

namespace qbk::module {

void declareErrCnabPagFields(data::RecordSet& cdsErrCnabPag);
void declareErrCnabRecFields(data::RecordSet& cdsErrCnabRec);
void declareInstruCobrFields(data::RecordSet& cdsInstruCobr);

// Duplicate-check answers: only whether they hold a row matters. cdsCodigoPag declares no
// field and takes whatever the server's packet carries.
void declareCodigoRecFields(data::RecordSet& cdsCodigoRec);
void declareCdInstrucaoCobFields(data::RecordSet& cdsCdInstrucaoCob);

// Tag bit of a key field: grids let it be typed into only while its row is inserted.
inline constexpr int kKeyFieldTag = 1;

}  // namespace qbk::module
