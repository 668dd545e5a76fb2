#include "module/codes/code_fields.h"

#include "module/frame/field_specs.h"

namespace qbk::module {

void declareErrCnabPagFields(data::RecordSet& cdsErrCnabPag) {
  declareFields(cdsErrCnabPag, {
                                   hidden(text("CDBANCO", 3, "", "ERRCNABP.CDBANCO")),
                                   text("CDERRCNABP", 10, "Código", "ERRCNABP.CDERRCNABP"),
                                   text("DSERRCNABP", 200, "Descrição"),
                               });
}

void declareErrCnabRecFields(data::RecordSet& cdsErrCnabRec) {
  declareFields(cdsErrCnabRec, {
                                   hidden(text("CDBANCO", 3, "", "ERRCNABR.CDBANCO")),
                                   text("CDERRCNABR", 10, "Código", "ERRCNABR.CDERRCNABR"),
                                   text("DSERRCNABR", 200, "Descrição"),
                               });
}

void declareInstruCobrFields(data::RecordSet& cdsInstruCobr) {
  declareFields(cdsInstruCobr, {
                                   hidden(text("CDBANCO", 3)),
                                   text("NMINSTCOBR", 100, "Nome"),
                                   text("CDINSTCOBR", 2, "Código"),
                               });
}

void declareCodigoRecFields(data::RecordSet& cdsCodigoRec) {
  declareFields(cdsCodigoRec, {text("CDERRCNABR", 10, "", "ERRCNABR.CDERRCNABR")});
}

void declareCdInstrucaoCobFields(data::RecordSet& cdsCdInstrucaoCob) {
  declareFields(cdsCdInstrucaoCob, {
                                       text("CDBANCO", 3),
                                       text("CDINSTCOBR", 2),
                                       text("NMINSTCOBR", 100),
                                   });
}

}  // namespace qbk::module
