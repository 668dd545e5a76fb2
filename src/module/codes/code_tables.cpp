// The code tables as a part of the bank screen: their fields, loads, the command bar at
// their sub-tabs and the send of every saved change.
#include "module/codes/code_tables.h"

#include "host/errors_ui.h"
#include "host/search.h"
#include "host/strings.h"
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
  auto on = [this](data::RecordSet::Handler& event, void (CodeTables::*handler)()) {
    event = [this, handler](data::RecordSet&) { (this->*handler)(); };
  };
  on(cdsErrCnabPag.afterInsert, &CodeTables::cdsErrCnabPagAfterInsert);
  on(cdsErrCnabPag.beforePost, &CodeTables::cdsErrCnabPagBeforePost);
  on(cdsErrCnabPag.afterPost, &CodeTables::cdsErrCnabPagAfterPost);
  on(cdsErrCnabPag.afterDelete, &CodeTables::cdsErrCnabPagAfterDelete);
  on(cdsErrCnabRec.afterInsert, &CodeTables::cdsErrCnabRecAfterInsert);
  on(cdsErrCnabRec.beforePost, &CodeTables::cdsErrCnabRecBeforePost);
  on(cdsErrCnabRec.afterPost, &CodeTables::cdsErrCnabRecAfterPost);
  on(cdsErrCnabRec.afterDelete, &CodeTables::cdsErrCnabRecAfterDelete);
  on(cdsInstruCobr.beforeInsert, &CodeTables::cdsInstruCobrBeforeInsert);
  on(cdsInstruCobr.beforePost, &CodeTables::cdsInstruCobrBeforePost);
  on(cdsInstruCobr.afterPost, &CodeTables::cdsInstruCobrAfterDelete);
  on(cdsInstruCobr.afterDelete, &CodeTables::cdsInstruCobrAfterDelete);
  on(cdsInstruCobr.afterCancel, &CodeTables::cdsInstruCobrAfterCancel);
  dtsErrCnabPag.onStateChange = [this](data::DataSource&) { dtsErrCnabPagStateChange(); };
  dtsErrCnabRec.onStateChange = [this](data::DataSource&) { dtsErrCnabRecStateChange(); };
  dtsInstruCobr.onStateChange = [this](data::DataSource&) { dtsInstruCobrStateChange(); };

  auto colExit = [this](forms::Grid& grid, void (CodeTables::*handler)()) {
    grid.onColExit = [this, handler](forms::Grid&) { (this->*handler)(); };
  };
  colExit(*c_.dbgErrCnabPag, &CodeTables::dbgErrCnabPagColExit);
  colExit(*c_.dbgErrCnabRec, &CodeTables::dbgErrCnabRecColExit);
  colExit(*c_.dbgInstruCobr, &CodeTables::dbgInstruCobrColExit);
  for (forms::Grid* grid : {&*c_.dbgErrCnabPag, &*c_.dbgErrCnabRec, &*c_.dbgInstruCobr})
    grid->onKeyPress = [this](forms::Grid& g, char32_t& key) { dbgErrCnabPagKeyPress(g, key); };
  for (forms::Grid* grid : {&*c_.dbgErrCnabPag, &*c_.dbgErrCnabRec})
    grid->onKeyDown = [this](forms::Grid&, int& key, forms::Shift shift) {
      dbgErrCnabRecKeyDown(key, shift);
    };
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
  // A row is saved under the current bank: the bank must not move while one is typed.
  c_.dbnPadrao->setEnabled(!anyEditing() && screen_.dtsPadrao.state() == DataSetState::Browse);
  screen_.lockWays();
}

// ---- the records -------------------------------------------------------------------------

// A row always belongs to the current bank, whatever code it was read with.

void CodeTables::cdsErrCnabPagBeforePost() {
  Vd_CodigoPag(true);
  Vd_DescErro();
  cdsErrCnabPag.fieldByName("CDBANCO").setString(screen_.bank().codigoBanco());
}

void CodeTables::cdsErrCnabRecBeforePost() {
  Vd_CodigoRec(true);
  Vd_DescErro();
  cdsErrCnabRec.fieldByName("CDBANCO").setString(screen_.bank().codigoBanco());
}

void CodeTables::cdsInstruCobrBeforePost() {
  Vd_CdInstrucaoCob(true);
  cdsInstruCobr.fieldByName("CDBANCO").setString(screen_.bank().codigoBanco());
  if (!host::EmptyString(cdsInstruCobr.fieldByName("NMINSTCOBR").asString())) return;
  focusColumn(*c_.dbgInstruCobr, "NMINSTCOBR");
  host::MensErro(screen_.msgPadrao.Msg("NOME_INSTRUCAO"), true);
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
