// The bank record: its fields, the checks of "Dados Principais", the reactions to inserts,
// edits, posts, deletions and cancels, the send of every saved change, and the commands of
// the list and of "Dados Principais".
#include "module/bank/bank_record.h"

#include "host/errors_ui.h"
#include "host/progress.h"
#include "host/search.h"
#include "host/strings.h"
#include "module/bank/bank_list_import.h"
#include "module/bank/programmatic_change.h"
#include "module/frame/field_specs.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

namespace method = protocol::method;

BankRecord::BankRecord(TfrmBanco& screen) : ScreenPart(screen) {
  // Only the code and the name are listed; the rest is edited on "Dados Principais".
  declareFields(cdsBanco, protocol::packets::banco,
                {.listed = {"CDBANCO", "NMBANCO"}, .masks = {{"CDBANCOCONV", "999;0; "}}});
  qryChavPrim.SQL = "SELECT CDBANCO FROM BANCO WHERE (CDBANCO = :P_CDBANCO) ORDER BY CDBANCO";
  qryChavPrim.SQL_ORACLE = qryChavPrim.SQL;
  qryChavPrim.SQL_IB =
      "SELECT CDBANCO FROM BANCO, PARAM(:P_CDBANCO) P1 WHERE (CDBANCO = P1.PARAM) ORDER BY "
      "CDBANCO";
  declareFields(qryChavPrim, {text("CDBANCO", 3)});
}

BankRecord::~BankRecord() = default;

void BankRecord::created() {
  rddModelos.form = &screen_;
}

std::string BankRecord::codigoBanco() const {
  return cdsBanco.fieldByName("CDBANCO").asString();
}

std::string BankRecord::codigoCompensacao() const {
  return cdsBanco.fieldByName("CDBANCCNAB").asString();
}

bool BankRecord::semBancos() const {
  return cdsBanco.isEmpty() && cdsBanco.state() != data::DataSetState::Insert;
}

void BankRecord::insertFixedFundIfMissing() {
  qryChavPrim.close();
  qryChavPrim.paramByName("P_CDBANCO") = kBancoFundoFixo;
  qryChavPrim.open();
  if (!qryChavPrim.isEmpty()) return;
  // The ordinary save checks run on it; the agency mask is supplied because they refuse a
  // bank without one. "9999" is the plain four-digit agency most banks use.
  cdsBanco.insert();
  cdsBanco.fieldByName("CDBANCO").setString(kBancoFundoFixo);
  cdsBanco.fieldByName("NMBANCO").setString(screen_.msgPadrao.Msg("NMBANCO"));
  cdsBanco.fieldByName("CDPICTCONT").setString("9999-9");
  cdsBanco.fieldByName("CDBANCCNAB").setString(kBancoFundoFixo);
  cdsBanco.fieldByName("CDPICTAGEN").setString("9999");
  cdsBanco.post();
  screen_.showPlace(PlaceId::List);
  screen_.pgcPadraoChange();
}

// ---- checks ----------------------------------------------------------------------------

void BankRecord::focusMainField(forms::Edit& edit) {
  c_.pgcPadrao->setActivePage(&*c_.tshFormulario);
  screen_.pgcPadraoChange();
  edit.setFocus();
}

void BankRecord::storeInField(forms::DBEdit& edit, const std::string& text) {
  if (data::Field* f = edit.field()) f->setString(text);
  if (edit.text() != text) edit.setText(text);
}

void BankRecord::Codigo_Banco(bool strict) {
  // A saved bank's code never changes, so only a bank being inserted has one to check.
  if (screen_.dtsPadrao.state() != data::DataSetState::Insert) return;
  const std::string typed = c_.dbeCodigo->text();
  if (host::EmptyString(typed)) {
    if (!strict) return;
    focusMainField(*c_.dbeCodigo);
    host::MensErro(screen_.msgPadrao.Msg("CdBanc_inv"), true);
  }
  const std::string code = host::Ajusta(typed, 3);
  storeInField(*c_.dbeCodigo, code);
  qryChavPrim.close();
  qryChavPrim.paramByName("P_CDBANCO") = code;
  qryChavPrim.open();
  if (!qryChavPrim.isEmpty()) {
    focusMainField(*c_.dbeCodigo);
    host::MensErro(screen_.msgPadrao.Msg("CdBanc_jc"), true);
  }
}

void BankRecord::Desc_Banco(bool strict) {
  if (!strict || !host::EmptyString(cdsBanco.fieldByName("NMBANCO").asString())) return;
  focusMainField(*c_.dbeBanco);
  host::MensErro(screen_.msgPadrao.Msg("NOME_DEVE"), true);
}

void BankRecord::Vd_CdCnabP(bool strict) {
  if (!cdsBanco.editing()) return;
  try {
    const std::string typed = c_.dbeBancCNAB->text();
    if (host::EmptyString(typed)) {
      if (strict) host::MensErro(screen_.msgPadrao.Msg("CdBancCnab_INF"), true);
      return;
    }
    // Several bank records may share one clearing house (two agreements with the same
    // bank, for instance): the code is normalised, never refused for being in use.
    const data::Field& field = cdsBanco.fieldByName("CDBANCCNAB");
    storeInField(*c_.dbeBancCNAB, host::Ajusta(typed, field.size()));
  } catch (...) {
    c_.dbeBancCNAB->setFocus();
    throw;
  }
}

void BankRecord::confirmChecks() {
  dbeBancoExit();
  Codigo_Banco(true);
  dbeMascaraCCExit();
  dbeMascAgenciaExit();
}

void BankRecord::dbeCodigoExit() {
  Codigo_Banco(false);
}

void BankRecord::dbeBancoExit() {
  Desc_Banco(false);
}

void BankRecord::dbeMascaraCCExit() {
  Mascara_Banco(false);
}

void BankRecord::dbeMascAgenciaExit() {
  Mascara_Agencia(false);
  Vd_tamanho_agencia();
}

void BankRecord::dbeBancConvExit() {
  // Blank normalises to "", which the save sends as null: no agreement bank.
  if (!cdsBanco.editing()) return;
  storeInField(*c_.dbeBancConv, host::Ajusta(c_.dbeBancConv->text(), 3));
}

// ---- the place's commands ----------------------------------------------------------------

void BankRecord::incluir() {
  screen_.TfrmPadrao::sbtIncluirClick();
  c_.dbeCodigo->setFocus();
}

void BankRecord::alterar() {
  screen_.TfrmPadrao::sbtAlterarClick();
  c_.dbeBanco->setFocus();
}

void BankRecord::confirmar() {
  confirmChecks();
  screen_.TfrmPadrao::sbtConfirmarClick();
}

void BankRecord::refuseFixedFundDeletion() {
  if (codigoBanco() == kBancoFundoFixo)
    host::MensErro(screen_.msgPadrao.Msg("BCOFUNDFIX_DEL"), true);
}

void BankRecord::excluir() {
  refuseFixedFundDeletion();
  cdsBanco.deleteRecord();
  screen_.dtsPadraoStateChange();
}

// ---- record set events -----------------------------------------------------------------

void BankRecord::cdsBancoBeforeInsert() {
  // The form tab is disabled while there is no bank; the first one is typed there.
  if (cdsBanco.isEmpty()) c_.tshFormulario->setEnabled(true);
  cdsBancoBeforeEdit();
}

void BankRecord::cdsBancoBeforeEdit() {
  // Back in browse mode the mode rules enable it again.
  c_.tshCNAB->setEnabled(false);
}

void BankRecord::cdsBancoBeforePost() {
  Codigo_Banco(true);
  Desc_Banco(true);
  Mascara_Banco(true);
  Mascara_Agencia(true);
  Vd_CdCnabP(true);
  // Blank optional fields travel as null, and SetBanco is told which ones they are.
  host::Seta_Campo_Null(cdsBanco);
}

void BankRecord::send(bool afterPost) {
  host::ApplySpec plan{
      .method = method::SetBanco,
      .cacheName = protocol::cache::Banco,
      .finish = {host::Finish::Cache, host::Finish::Hide, host::Finish::Repaint,
                 host::Finish::Merge},
      .extraArgs = [this] { return host::nullFieldNames(cdsBanco, host::kBancoNullableFields); }};
  if (afterPost) {
    plan.followUp = [this] {
      syncAgencyCheckBox();
      cdsBancoAfterScroll();
    };
    plan.followUpFailureCancels = true;
  }
  screen_.apply(cdsBanco, std::move(plan));
}

void BankRecord::cdsBancoAfterPost() {
  send(true);
}

void BankRecord::cdsBancoAfterDelete() {
  send(false);
}

void BankRecord::cdsBancoAfterCancel() {
  cdsBanco.cancelUpdates();
  syncAgencyCheckBox();
}

// ---- commands of the tab ---------------------------------------------------------------

void BankRecord::sbtAtualizarMsgClick() {
  host::ShowAviScope indicator(nullptr, host::kAviFetch);
  host::execProcedure(screen_.netBanco, method::ExecProcMsgPadraoBanco, {codigoCompensacao()});
}

void BankRecord::setBankListImportEnabled(bool enabled) {
  c_.mnuImportarBancos->setEnabled(enabled);
}

void BankRecord::mnuImportarBancosClick() {
  if (screen_.places().edited() || cdsBanco.state() != data::DataSetState::Browse) return;
  if (!importBankList(cdsBanco, screen_.netBanco, screen_.msgPadrao, &screen_).applied) return;
  // The banks were read again: the dependants follow the current bank, and the rules for a
  // table that was empty may no longer hold.
  cdsBancoAfterScroll();
  const Place& list = screen_.places().at(PlaceId::List);
  if (list.actions.stateChanged) list.actions.stateChanged();
}

// ---- wiring ------------------------------------------------------------------------------

void BankRecord::bind(const forms::Form& form) {
  c_.resolve(form);
  auto on = [this](data::RecordSet::Handler& event, void (BankRecord::*handler)()) {
    event = [this, handler](data::RecordSet&) { (this->*handler)(); };
  };
  on(cdsBanco.beforeInsert, &BankRecord::cdsBancoBeforeInsert);
  on(cdsBanco.beforeEdit, &BankRecord::cdsBancoBeforeEdit);
  on(cdsBanco.beforePost, &BankRecord::cdsBancoBeforePost);
  on(cdsBanco.afterPost, &BankRecord::cdsBancoAfterPost);
  on(cdsBanco.afterDelete, &BankRecord::cdsBancoAfterDelete);
  on(cdsBanco.afterCancel, &BankRecord::cdsBancoAfterCancel);
  on(cdsBanco.afterScroll, &BankRecord::cdsBancoAfterScroll);

  auto exit = [this](forms::Edit& edit, void (BankRecord::*handler)()) {
    edit.onExit = [this, handler](forms::Control&) { (this->*handler)(); };
  };
  exit(*c_.dbeCodigo, &BankRecord::dbeCodigoExit);
  exit(*c_.dbeBanco, &BankRecord::dbeBancoExit);
  exit(*c_.dbeMascaraCC, &BankRecord::dbeMascaraCCExit);
  exit(*c_.dbeMascAgencia, &BankRecord::dbeMascAgenciaExit);
  exit(*c_.dbeBancConv, &BankRecord::dbeBancConvExit);

  auto keys = [this](forms::Edit& edit, void (BankRecord::*handler)(forms::Edit&, char32_t&)) {
    edit.onKeyPress = [this, handler](forms::Edit& e, char32_t& key) { (this->*handler)(e, key); };
  };
  keys(*c_.dbeBancCNAB, &BankRecord::dbeBancCNABKeyPress);
  keys(*c_.dbeDiaPro, &BankRecord::dbeDiaProKeyPress);
  keys(*c_.dbeMascaraCC, &BankRecord::dbeMascaraCCKeyPress);
  keys(*c_.dbeMascAgencia, &BankRecord::dbeMascAgenciaKeyPress);
  c_.chkVerifAgen->onClick = [this](forms::CheckBox&) { chkVerifAgenClick(); };

  auto click = [this](forms::CommandButton& button, void (BankRecord::*handler)()) {
    button.onClick = [this, handler](forms::CommandButton&) { (this->*handler)(); };
  };
  click(*c_.btpModCheque, &BankRecord::btpModChequeClick);
  click(*c_.btpModBolComp, &BankRecord::btpModBolCompClick);
  click(*c_.btpModBolPrei, &BankRecord::btpModBolPreiClick);
  click(*c_.btpModBorCob, &BankRecord::btpModBorCobClick);
  click(*c_.BtpModBorPag, &BankRecord::BtpModBorPagClick);
  click(*c_.BtpModBorChe, &BankRecord::BtpModBorCheClick);
  click(*c_.btpLogMar, &BankRecord::btpLogMarClick);
  click(*c_.sbtEdit, &BankRecord::sbtEditClick);
  click(*c_.sbtAtualizarMsg, &BankRecord::sbtAtualizarMsgClick);

  auto item = [this](forms::MenuItem& entry, void (BankRecord::*handler)()) {
    entry.onClick = [this, handler](forms::MenuItem&) { (this->*handler)(); };
  };
  item(*c_.mnuEdit, &BankRecord::mnuEditClick);
  item(*c_.mnuModCheque, &BankRecord::mnuModChequeClick);
  item(*c_.mnuModBolComp, &BankRecord::mnuModBolCompClick);
  item(*c_.mnuModBolprei, &BankRecord::mnuModBolpreiClick);
  item(*c_.mnuImportarBancos, &BankRecord::mnuImportarBancosClick);
}

}  // namespace qbk::module
