// The code tables as a part of the bank screen: their fields, loads, the command bar at
// their sub-tabs and the send of every saved change.
#include "module/codes/code_tables.h"

#include "host/search.h"
#include "module/frame/field_specs.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

using data::DataSetState;
using host::Finish;
namespace method = protocol::method;
namespace cache = protocol::cache;

CodeTables::CodeTables(TfrmBanco& screen) : ScreenPart(screen) {
  declareFields(cdsErrCnabPag, protocol::packets::errCnabPag,
                {.listed = {"CDERRCNABP", "DSERRCNABP"}});
  declareFields(cdsErrCnabRec, protocol::packets::errCnabRec,
                {.listed = {"CDERRCNABR", "DSERRCNABR"}});
  declareFields(cdsInstruCobr, protocol::packets::instruCobr,
                {.listed = {"NMINSTCOBR", "CDINSTCOBR"}});
  declareFieldsOf(cdsCodigoRec, protocol::packets::errCnabRec, {"CDERRCNABR"});
  declareFields(cdsCdInstrucaoCob, protocol::packets::cdInstrucaoCob);
}

void CodeTables::registerDataSources(forms::FormBuilder& b) {
  for (data::DataSource* ds : {&dtsErrCnabPag, &dtsErrCnabRec, &dtsInstruCobr})
    b.addDataSource(ds->name(), ds);
}

void CodeTables::bind(const forms::Form& form) {
  c_.resolve(form);
  cdsErrCnabPag.beforePost = [this](data::RecordSet&) { cdsErrCnabPagBeforePost(); };
  cdsErrCnabPag.afterPost = [this](data::RecordSet&) { cdsErrCnabPagAfterPost(); };
  cdsErrCnabPag.afterDelete = [this](data::RecordSet&) { cdsErrCnabPagAfterDelete(); };
  cdsErrCnabRec.beforePost = [this](data::RecordSet&) { cdsErrCnabRecBeforePost(); };
  cdsErrCnabRec.afterPost = [this](data::RecordSet&) { cdsErrCnabRecAfterPost(); };
  cdsErrCnabRec.afterDelete = [this](data::RecordSet&) { cdsErrCnabRecAfterDelete(); };
  cdsInstruCobr.beforePost = [this](data::RecordSet&) { cdsInstruCobrBeforePost(); };
  cdsInstruCobr.afterPost = [this](data::RecordSet&) { cdsInstruCobrAfterDelete(); };
  cdsInstruCobr.afterDelete = [this](data::RecordSet&) { cdsInstruCobrAfterDelete(); };
  cdsInstruCobr.afterCancel = [this](data::RecordSet&) { cdsInstruCobrAfterCancel(); };
  dtsErrCnabPag.onStateChange = [this](data::DataSource&) { dtsErrCnabPagStateChange(); };
  dtsErrCnabRec.onStateChange = [this](data::DataSource&) { dtsErrCnabRecStateChange(); };
  dtsInstruCobr.onStateChange = [this](data::DataSource&) { dtsInstruCobrStateChange(); };
  // Rows are deleted by the Excluir command alone, as on the bank list.
  c_.dbgInstruCobr->onKeyDown = [this](forms::Grid&, int& key, forms::Shift shift) {
    screen_.dbgPadraoKeyDown(key, shift);
  };
}

void CodeTables::markKeyFields() {
  cdsErrCnabPag.fieldByName("CDERRCNABP").tag = kKeyFieldTag;
  cdsErrCnabRec.fieldByName("CDERRCNABR").tag = kKeyFieldTag;
  cdsInstruCobr.fieldByName("CDINSTCOBR").tag = kKeyFieldTag;
}

void CodeTables::loadReturnCodes() {
  const std::string banco = screen_.bank().codigoBanco();
  if (!cdsErrCnabPag.editing()) screen_.fetch(cdsErrCnabPag, method::GetErrCnabPag, {banco});
  if (!cdsErrCnabRec.editing()) screen_.fetch(cdsErrCnabRec, method::GetErrCnabRec, {banco});
}

void CodeTables::setPayablesGridEnabled(bool enabled) {
  c_.dbgErrCnabPag->setEnabled(enabled);
}

void CodeTables::shown(PlaceId place) {
  switch (place) {
    case PlaceId::Payables:
      dtsErrCnabPagStateChange();
      break;
    case PlaceId::Receivables:
      dtsErrCnabRecStateChange();
      break;
    case PlaceId::Instructions:
      verificar(place);
      dtsInstruCobrStateChange();
      break;
    default:
      break;
  }
}

// ---- the places' commands ----------------------------------------------------------------

CodeTables::Table CodeTables::table(PlaceId place) {
  switch (place) {
    case PlaceId::Payables:
      return {cdsErrCnabPag, *c_.dbgErrCnabPag, "DSERRCNABP", "DSERRCNABP", method::GetErrCnabPag};
    case PlaceId::Receivables:
      return {cdsErrCnabRec, *c_.dbgErrCnabRec, "DSERRCNABR", "DSERRCNABR", method::GetErrCnabRec};
    default:
      return {cdsInstruCobr, *c_.dbgInstruCobr, "CDINSTCOBR", "NMINSTCOBR", method::GetInstruCobr};
  }
}

namespace {

// A grid's column takes the focus, as when a person clicks the cell.
void focusColumn(forms::Grid& grid, std::string_view field) {
  grid.setSelectedField(field);
  grid.setFocus();
}

}  // namespace

void CodeTables::incluir(PlaceId place) {
  const Table t = table(place);
  focusColumn(t.grid, t.insertColumn);
  t.rows.insert();
}

void CodeTables::alterar(PlaceId place) {
  const Table t = table(place);
  focusColumn(t.grid, t.editColumn);
  t.rows.edit();
}

void CodeTables::confirmar(PlaceId place) {
  table(place).rows.post();
}

void CodeTables::cancelar(PlaceId place) {
  table(place).rows.cancel();
}

void CodeTables::confirmarInstrucao() {
  // The bank's own checks run first, as for every Confirmar off the other CNAB tables.
  screen_.bank().confirmChecks();
  screen_.TfrmPadrao::sbtConfirmarClick();
  if (cdsInstruCobr.editing()) {
    cdsInstruCobr.post();
    Controle_Butoes();
  }
}

void CodeTables::cancelarInstrucao() {
  cdsInstruCobr.cancel();
  Controle_Butoes();
}

void CodeTables::excluir(PlaceId place) {
  data::RecordSet& rows = table(place).rows;
  if (rows.isEmpty()) return;
  rows.deleteRecord();
  if (place == PlaceId::Instructions) Controle_Butoes();
}

void CodeTables::procurar(PlaceId place) {
  host::Procura(table(place).rows);
}

void CodeTables::verificar(PlaceId place) {
  const Table t = table(place);
  screen_.fetch(t.rows, t.getMethod, {screen_.bank().codigoBanco()});
}

// ---- state -------------------------------------------------------------------------------

void CodeTables::dtsErrCnabPagStateChange() {
  if (screen_.isCurrent(PlaceId::Payables)) Controle_Butoes();
}

void CodeTables::dtsErrCnabRecStateChange() {
  if (screen_.isCurrent(PlaceId::Receivables)) Controle_Butoes();
}

void CodeTables::dtsInstruCobrStateChange() {
  if (screen_.isCurrent(PlaceId::Instructions)) Controle_Butoes();
}

void CodeTables::Controle_Butoes() {
  forms::Form::UpdateLock freeze(screen_.form());
  const bool onInstructions = screen_.isCurrent(PlaceId::Instructions);
  const bool browse = cdsInstruCobr.state() == DataSetState::Browse;
  const bool rows = !cdsInstruCobr.isEmpty();
  const bool editing = cdsInstruCobr.editing();

  screen_.setCommandEnabled("Incluir", onInstructions && browse);
  screen_.setCommandEnabled("Alterar", onInstructions && rows && browse);
  screen_.setCommandEnabled("Excluir", onInstructions && rows && browse);
  screen_.setCommandEnabled("Procurar", rows && browse);
  screen_.setCommandEnabled("Ordenar", rows && browse);
  screen_.setCommandEnabled("Confirmar", editing);
  screen_.setCommandEnabled("Cancelar", editing);
  screen_.bank().setModelEditEnabled(false);
  screen_.lockWays();
}

// ---- the records -------------------------------------------------------------------------

// The code and description checks of each table come with the code tables' rules; a row
// always belongs to the current bank.

void CodeTables::cdsErrCnabPagBeforePost() {
  cdsErrCnabPag.fieldByName("CDBANCO").setString(screen_.bank().codigoBanco());
}

void CodeTables::cdsErrCnabRecBeforePost() {
  cdsErrCnabRec.fieldByName("CDBANCO").setString(screen_.bank().codigoBanco());
}

void CodeTables::cdsInstruCobrBeforePost() {
  cdsInstruCobr.fieldByName("CDBANCO").setString(screen_.bank().codigoBanco());
}

void CodeTables::cdsErrCnabPagAfterPost() {
  screen_.apply(cdsErrCnabPag, {.method = method::SetErrCnabPag,
                                .cacheName = cache::ErrCnabPag,
                                .finish = {Finish::Hide, Finish::Merge, Finish::Cache}});
}

void CodeTables::cdsErrCnabPagAfterDelete() {
  screen_.apply(cdsErrCnabPag,
                {.method = method::SetErrCnabPag,
                 .cacheName = cache::Deletion,
                 .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache},
                 .followUp = [this] { dtsErrCnabPagStateChange(); }});
}

void CodeTables::cdsErrCnabRecAfterPost() {
  screen_.apply(cdsErrCnabRec,
                {.method = method::SetErrCnabRec,
                 .cacheName = cache::ErrCnabRec,
                 .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache}});
}

void CodeTables::cdsErrCnabRecAfterDelete() {
  screen_.apply(cdsErrCnabRec,
                {.method = method::SetErrCnabRec,
                 .cacheName = cache::Deletion,
                 .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache},
                 .followUp = [this] { dtsErrCnabRecStateChange(); }});
}

void CodeTables::cdsInstruCobrAfterDelete() {
  screen_.apply(cdsInstruCobr,
                {.method = method::SetInstruCobr,
                 .cacheName = cache::InstruCobr,
                 .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache}});
}

void CodeTables::cdsInstruCobrAfterCancel() {
  cdsInstruCobr.cancelUpdates();
}

}  // namespace qbk::module
