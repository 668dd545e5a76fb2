// The bank record's reactions to inserts, edits, posts, deletions and cancels, the send of
// every saved change, and the commands of the "Dados Principais" tab.
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "host/errors_ui.h"
#include "host/progress.h"
#include "host/strings.h"
#include "module/bank/programmatic_change.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

// ---- checks ----------------------------------------------------------------------------

void TfrmBanco::focusMainField(std::string_view edit) {
  pages("pgcPadrao").setActivePage(&sheet("tshFormulario"));
  pgcPadraoChange();
  ctl<forms::Edit>(edit).setFocus();
}

void TfrmBanco::storeInField(std::string_view edit, const std::string& text) {
  auto& e = ctl<forms::DBEdit>(edit);
  if (data::Field* f = e.field()) f->setString(text);
  if (e.text() != text) e.setText(text);
}

void TfrmBanco::Codigo_Banco(bool strict) {
  // A saved bank's code never changes, so only a bank being inserted has one to check.
  if (dtsPadrao.state() != data::DataSetState::Insert) return;
  const std::string typed = ctl<forms::Edit>("dbeCodigo").text();
  if (host::EmptyString(typed)) {
    if (!strict) return;
    focusMainField("dbeCodigo");
    host::MensErro(msgPadrao.Msg("CdBanc_inv"), true);
  }
  const std::string code = host::Ajusta(typed, 3);
  storeInField("dbeCodigo", code);
  qryChavPrim.close();
  qryChavPrim.paramByName("P_CDBANCO") = code;
  qryChavPrim.open();
  if (!qryChavPrim.isEmpty()) {
    focusMainField("dbeCodigo");
    host::MensErro(msgPadrao.Msg("CdBanc_jc"), true);
  }
}

void TfrmBanco::Desc_Banco(bool strict) {
  if (!strict || !host::EmptyString(cdsBanco.fieldByName("NMBANCO").asString())) return;
  focusMainField("dbeBanco");
  host::MensErro(msgPadrao.Msg("NOME_DEVE"), true);
}

void TfrmBanco::Vd_CdCnabP(bool strict) {
  if (!cdsBanco.editing()) return;
  try {
    const std::string typed = ctl<forms::Edit>("dbeBancCNAB").text();
    if (host::EmptyString(typed)) {
      if (strict) host::MensErro(msgPadrao.Msg("CdBancCnab_INF"), true);
      return;
    }
    // Several bank records may share one clearing house (two agreements with the same
    // bank, for instance): the code is normalised, never refused for being in use.
    const data::Field& field = cdsBanco.fieldByName("CDBANCCNAB");
    storeInField("dbeBancCNAB", host::Ajusta(typed, field.size()));
  } catch (...) {
    ctl<forms::Edit>("dbeBancCNAB").setFocus();
    throw;
  }
}

void TfrmBanco::dbeCodigoExit() {
  Codigo_Banco(false);
}

void TfrmBanco::dbeBancoExit() {
  Desc_Banco(false);
}

void TfrmBanco::dbeMascaraCCExit() {
  Mascara_Banco(false);
}

void TfrmBanco::dbeMascAgenciaExit() {
  Mascara_Agencia(false);
  Vd_tamanho_agencia();
}

void TfrmBanco::dbeBancConvExit() {
  // Blank normalises to "", which the save sends as null: no agreement bank.
  if (!cdsBanco.editing()) return;
  storeInField("dbeBancConv", host::Ajusta(ctl<forms::Edit>("dbeBancConv").text(), 3));
}

// ---- record set events -----------------------------------------------------------------

void TfrmBanco::cdsBancoBeforeInsert() {
  // The form tab is disabled while there is no bank; the first one is typed there.
  if (cdsBanco.isEmpty()) sheet("tshFormulario").setEnabled(true);
  cdsBancoBeforeEdit();
}

void TfrmBanco::cdsBancoBeforeEdit() {
  // Back in browse mode the mode rules enable it again.
  sheet("tshCNAB").setEnabled(false);
}

void TfrmBanco::cdsBancoBeforePost() {
  Codigo_Banco(true);
  Desc_Banco(true);
  Mascara_Banco(true);
  Mascara_Agencia(true);
  Vd_CdCnabP(true);
  // Blank optional fields travel as null, and SetBanco is told which ones they are.
  host::Seta_Campo_Null(cdsBanco);
}

void TfrmBanco::cdsBancoAfterPost() {
  apply(cdsBanco,
        {.method = "SetBanco",
         .cacheName = "BANCO",
         .finish = {host::Finish::Cache, host::Finish::Hide, host::Finish::Repaint,
                    host::Finish::Merge},
         .extraArgs = [this] { return host::nullFieldNames(cdsBanco, host::kBancoNullableFields); },
         .followUp =
             [this] {
               syncAgencyCheckBox();
               cdsBancoAfterScroll();
             },
         .followUpFailureCancels = true});
}

void TfrmBanco::cdsBancoAfterDelete() {
  apply(cdsBanco, {.method = "SetBanco",
                   .cacheName = "BANCO",
                   .finish = {host::Finish::Cache, host::Finish::Hide, host::Finish::Repaint,
                              host::Finish::Merge},
                   .extraArgs = [this] {
                     return host::nullFieldNames(cdsBanco, host::kBancoNullableFields);
                   }});
}

void TfrmBanco::cdsBancoAfterCancel() {
  cdsBanco.cancelUpdates();
  syncAgencyCheckBox();
}

// ---- commands of the tab ---------------------------------------------------------------

void TfrmBanco::sbtAtualizarMsgClick() {
  host::ShowAviScope indicator(nullptr, host::kAviFetch);
  host::execProcedure(netBanco, "ExecProcMsgPadraoBanco",
                      {cdsBanco.fieldByName("CDBANCCNAB").asString()});
}

// ---- wiring ------------------------------------------------------------------------------

void TfrmBanco::bindBankEvents() {
  ctl<forms::Edit>("dbeBancConv").onExit = [this](forms::Control&) { dbeBancConvExit(); };
  auto keys = [this](std::string_view edit, void (TfrmBanco::*handler)(forms::Edit&, char32_t&)) {
    ctl<forms::Edit>(edit).onKeyPress = [this, handler](forms::Edit& e, char32_t& key) {
      (this->*handler)(e, key);
    };
  };
  keys("dbeBancCNAB", &TfrmBanco::dbeBancCNABKeyPress);
  keys("dbeDiaPro", &TfrmBanco::dbeDiaProKeyPress);
  keys("dbeMascaraCC", &TfrmBanco::dbeMascaraCCKeyPress);
  keys("dbeMascAgencia", &TfrmBanco::dbeMascAgenciaKeyPress);
  ctl<forms::CheckBox>("chkVerifAgen").onClick = [this](forms::CheckBox&) { chkVerifAgenClick(); };

  auto pick = [this](std::string_view button, void (TfrmBanco::*handler)()) {
    ctl<forms::CommandButton>(button).onClick = [this, handler](forms::CommandButton&) {
      (this->*handler)();
    };
  };
  pick("btpModCheque", &TfrmBanco::btpModChequeClick);
  pick("btpModBolComp", &TfrmBanco::btpModBolCompClick);
  pick("btpModBolPrei", &TfrmBanco::btpModBolPreiClick);
  pick("btpModBorCob", &TfrmBanco::btpModBorCobClick);
  pick("BtpModBorPag", &TfrmBanco::BtpModBorPagClick);
  pick("BtpModBorChe", &TfrmBanco::BtpModBorCheClick);
  pick("btpLogMar", &TfrmBanco::btpLogMarClick);

  auto item = [this](std::string_view name, void (TfrmBanco::*handler)()) {
    ctl<forms::MenuItem>(name).onClick = [this, handler](forms::MenuItem&) { (this->*handler)(); };
  };
  item("mnuModCheque", &TfrmBanco::mnuModChequeClick);
  item("mnuModBolComp", &TfrmBanco::mnuModBolCompClick);
  item("mnuModBolprei", &TfrmBanco::mnuModBolpreiClick);
}

}  // namespace qbk::module
