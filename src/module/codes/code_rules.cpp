// The rows of the code tables: their code and description checks (when a column is left
// and before a post), where the focus goes for a new row, the keys the grids let through,
// and the lists following the current bank.
#include "host/errors_ui.h"
#include "host/strings.h"
#include "module/codes/code_tables.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

using data::DataSetState;
namespace method = protocol::method;

void CodeTables::focusColumn(forms::Grid& grid, std::string_view field) {
  grid.setSelectedField(field);
  grid.setFocus();
}

bool CodeTables::anyEditing() const {
  return cdsErrCnabPag.editing() || cdsErrCnabRec.editing() || cdsInstruCobr.editing();
}

// ---- checks ------------------------------------------------------------------------------

void CodeTables::checkReturnCode(const CodeCheck& check, bool strict) {
  if (check.rows.state() != DataSetState::Insert) return;
  try {
    // Asked exactly as typed: return codes are the bank's own texts, not numbers to pad.
    const std::string code = check.rows.fieldByName(check.field).asString();
    if (host::EmptyString(code)) {
      if (strict) host::MensErro(screen_.msgPadrao.Msg("Cod_inf"), true);
      return;
    }
    screen_.fetch(check.answer, check.method, {screen_.bank().codigoBanco(), code});
    if (!check.answer.isEmpty()) host::MensErro(screen_.msgPadrao.Msg(check.duplicateKey), true);
  } catch (...) {
    focusColumn(check.grid, check.field);
    throw;
  }
}

void CodeTables::Vd_CodigoPag(bool strict) {
  checkReturnCode({cdsErrCnabPag, *c_.dbgErrCnabPag, "CDERRCNABP", method::GetCodigoPag,
                   cdsCodigoPag, "Err_jc"},
                  strict);
}

void CodeTables::Vd_CodigoRec(bool strict) {
  checkReturnCode({cdsErrCnabRec, *c_.dbgErrCnabRec, "CDERRCNABR", method::GetCodigoRec,
                   cdsCodigoRec, "COD_JA_CAD"},
                  strict);
}

void CodeTables::Vd_DescErro() {
  const bool payables = screen_.isCurrent(PlaceId::Payables);
  const data::RecordSet& rows = payables ? cdsErrCnabPag : cdsErrCnabRec;
  const char* field = payables ? "DSERRCNABP" : "DSERRCNABR";
  if (!host::EmptyString(rows.fieldByName(field).asString())) return;
  focusColumn(payables ? *c_.dbgErrCnabPag : *c_.dbgErrCnabRec, field);
  host::MensErro(screen_.msgPadrao.Msg("Desc_ni"), true);
}

void CodeTables::Vd_CdInstrucaoCob(bool strict) {
  if (cdsInstruCobr.state() != DataSetState::Insert) return;
  try {
    data::Field& code = cdsInstruCobr.fieldByName("CDINSTCOBR");
    const bool empty = host::EmptyString(code.asString());
    // "1" and "01" are one instruction: the duplicate check must see the stored form.
    code.setString(host::Ajusta(code.asString(), 2));
    if (empty) {
      if (strict) host::MensErro(screen_.msgPadrao.Msg("Instrucao_inf"), true);
      return;
    }
    screen_.fetch(cdsCdInstrucaoCob, method::VerifInstru,
                  {screen_.bank().codigoBanco(), code.asString()});
    if (!cdsCdInstrucaoCob.isEmpty()) host::MensErro(screen_.msgPadrao.Msg("Instrucao_CAD"), true);
  } catch (...) {
    focusColumn(*c_.dbgInstruCobr, "CDINSTCOBR");
    throw;
  }
}

// ---- a new row ---------------------------------------------------------------------------

void CodeTables::cdsErrCnabPagAfterInsert() {
  focusColumn(*c_.dbgErrCnabPag, "CDERRCNABP");
}

void CodeTables::cdsErrCnabRecAfterInsert() {
  focusColumn(*c_.dbgErrCnabRec, "CDERRCNABR");
}

void CodeTables::cdsInstruCobrBeforeInsert() {
  focusColumn(*c_.dbgInstruCobr, "CDINSTCOBR");
}

// ---- the grids ---------------------------------------------------------------------------

namespace {

bool leaving(const forms::Grid& grid, std::string_view fieldName) {
  const data::Field* field = grid.selectedField();
  return field && field->name() == fieldName;
}

}  // namespace

// A duplicate is reported as the code cell is left; an empty code waits for the post, so
// the person may fill the other cells first.
void CodeTables::dbgErrCnabPagColExit() {
  if (leaving(*c_.dbgErrCnabPag, "CDERRCNABP")) Vd_CodigoPag(false);
}

void CodeTables::dbgErrCnabRecColExit() {
  if (leaving(*c_.dbgErrCnabRec, "CDERRCNABR")) Vd_CodigoRec(false);
}

void CodeTables::dbgInstruCobrColExit() {
  if (leaving(*c_.dbgInstruCobr, "CDINSTCOBR")) Vd_CdInstrucaoCob(false);
}

void CodeTables::dbgErrCnabPagKeyPress(forms::Grid& grid, char32_t& key) {
  const data::Field* field = grid.selectedField();
  const data::RecordSet* rows = grid.dataSet();
  if (!field || !rows || (field->tag & kKeyFieldTag) == 0) return;
  if (rows->state() == DataSetState::Insert) return;
  if (key != forms::chars::Tab && key != forms::chars::Enter) key = 0;
}

void CodeTables::dbgErrCnabRecKeyDown(int& key, forms::Shift shift) {
  if (key == forms::vk::Delete && shift.ctrl) key = 0;
}

// ---- the bank ----------------------------------------------------------------------------

void CodeTables::bankChanged() {
  const PlaceId here = screen_.places().current().id;
  const bool onCnab = here == PlaceId::Companies || here == PlaceId::Payables ||
                      here == PlaceId::Receivables || here == PlaceId::Instructions;
  if (!onCnab) return;
  // Both return-code lists came with the "CNAB" tab, so both follow; the instructions
  // are read each time their sub-tab comes to the front, so only when it is.
  loadReturnCodes();
  if (here == PlaceId::Instructions && !cdsInstruCobr.editing()) verificar(here);
  if (here != PlaceId::Companies) Controle_Butoes();
}

}  // namespace qbk::module
