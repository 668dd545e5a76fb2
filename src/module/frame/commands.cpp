// The command bar: which record set each command acts on, by the place in front, and
// which commands, tabs and menu items each mode leaves enabled.
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "host/config.h"
#include "host/errors_ui.h"
#include "host/progress.h"
#include "host/search.h"
#include "module/bank/bank_fields.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

using data::DataSetState;

namespace {

// A grid's column takes the focus, as when a person clicks the cell.
void focusColumn(forms::Grid& grid, std::string_view field) {
  grid.setSelectedField(field);
  grid.setFocus();
}

}  // namespace

void TfrmBanco::sbtIncluirClick() {
  switch (place()) {
    case Place::List:
    case Place::Form:
    case Place::DDA:
      TfrmPadrao::sbtIncluirClick();
      ctl<forms::Edit>("dbeCodigo").setFocus();
      break;
    case Place::CnabCompany:
      break;  // companies come from the company table, never from here
    case Place::CnabPayables:
      focusColumn(ctl<forms::Grid>("dbgErrCnabPag"), "DSERRCNABP");
      cdsErrCnabPag.insert();
      break;
    case Place::CnabReceivables:
      focusColumn(ctl<forms::Grid>("dbgErrCnabRec"), "DSERRCNABR");
      cdsErrCnabRec.insert();
      break;
    case Place::CnabInstructions:
      focusColumn(ctl<forms::Grid>("dbgInstruCobr"), "CDINSTCOBR");
      cdsInstruCobr.insert();
      break;
  }
}

void TfrmBanco::sbtAlterarClick() {
  switch (place()) {
    case Place::List:
    case Place::Form:
      TfrmPadrao::sbtAlterarClick();
      ctl<forms::Edit>("dbeBanco").setFocus();
      break;
    case Place::CnabCompany:
      pages("pgcEmpresa").setActivePage(&sheet("tshDados"));
      pgcEmpresaChange();
      ctl<forms::Edit>("dbeCarteira").setFocus();
      cdsEmprBanc.edit();
      break;
    case Place::CnabPayables:
      focusColumn(ctl<forms::Grid>("dbgErrCnabPag"), "DSERRCNABP");
      cdsErrCnabPag.edit();
      break;
    case Place::CnabReceivables:
      focusColumn(ctl<forms::Grid>("dbgErrCnabRec"), "DSERRCNABR");
      cdsErrCnabRec.edit();
      break;
    case Place::CnabInstructions:
      focusColumn(ctl<forms::Grid>("dbgInstruCobr"), "NMINSTCOBR");
      cdsInstruCobr.edit();
      break;
    case Place::DDA:
      ctl<forms::Edit>("dbeDirDDA").setFocus();
      cdsDDA.edit();
      break;
  }
}

void TfrmBanco::sbtConfirmarClick() {
  const Place where = place();
  if (where == Place::CnabPayables) {
    cdsErrCnabPag.post();
  } else if (where == Place::CnabReceivables) {
    cdsErrCnabRec.post();
  } else if (sheet("tshDadosEmpr").enabled()) {
    // The company tab is disabled while any other record set is edited, so this is the
    // company being edited, or nothing at all.
    cdsEmprBanc.post();
  } else if (where == Place::DDA) {
    cdsDDA.edit();
    vd_diretorio();
    cdsDDA.post();
  } else {
    dbeBancoExit();
    Codigo_Banco(true);
    dbeMascaraCCExit();
    dbeMascAgenciaExit();
    TfrmPadrao::sbtConfirmarClick();
  }
  if (cdsInstruCobr.editing()) {
    cdsInstruCobr.post();
    Controle_Butoes();
  }
}

void TfrmBanco::sbtCancelarClick() {
  if (msgMensagensPadroes.ShowMsg("Canc", host::MsgType::Confirmation, host::MsgButtons::YesNo,
                                  0) != host::mrYes)
    return;
  const Place where = place();
  if (where == Place::CnabPayables) {
    cdsErrCnabPag.cancel();
  } else if (where == Place::CnabReceivables) {
    cdsErrCnabRec.cancel();
  } else if (sheet("tshDadosEmpr").enabled()) {
    cdsEmprBanc.cancel();
  } else if (where == Place::DDA) {
    cdsDDA.cancel();
  } else {
    cdsBanco.cancel();
  }
  if (cnabSubTabIs("tshInstruCobr")) {
    cdsInstruCobr.cancel();
    // The instructions' command rules only where the instructions are the place: on
    // another main tab they would set the bank's commands by the instruction set.
    if (where == Place::CnabInstructions) Controle_Butoes();
  }
}

void TfrmBanco::sbtExcluirClick() {
  if (cdsBanco.isEmpty() || cdsBanco.state() != DataSetState::Browse) return;
  if (msgMensagensPadroes.ShowMsg("Excl", host::MsgType::Confirmation, host::MsgButtons::YesNo,
                                  0) != host::mrYes)
    return;
  const Place where = place();
  if (where == Place::CnabPayables) {
    if (!cdsErrCnabPag.isEmpty()) cdsErrCnabPag.deleteRecord();
  } else if (where == Place::CnabReceivables) {
    if (!cdsErrCnabRec.isEmpty()) cdsErrCnabRec.deleteRecord();
  } else if (codigoBanco() == kBancoFundoFixo) {
    host::MensErro(msgPadrao.Msg("BCOFUNDFIX_DEL"), true);
  }

  if (mainTabIs("tshCNAB")) {
    if (where == Place::CnabInstructions && !cdsInstruCobr.isEmpty()) {
      cdsInstruCobr.deleteRecord();
      Controle_Butoes();
    }
  } else {
    cdsBanco.deleteRecord();
    dtsPadraoStateChange();
  }
}

void TfrmBanco::sbtOrdenarClick() {
  // The lists keep the order the server gives them, by key.
}

void TfrmBanco::sbtImprimirClick() {
  // The bank report screen is not part of the module yet; the mode rules keep this off.
}

void TfrmBanco::sbtVerificarClick() {
  host::ShowAviScope indicator(this, host::kAviUpdate, msgPadrao.Msg("Atual_Oper"));
  const std::string banco = codigoBanco();
  switch (place()) {
    case Place::List:
    case Place::Form:
    case Place::DDA:
      host::fetchInto(netBanco, cdsBanco, "GetBanco");
      break;
    case Place::CnabCompany:
      host::fetchInto(netBanco, cdsEmprBanc, "GetEmprBanc", {banco});
      break;
    case Place::CnabPayables:
      host::fetchInto(netBanco, cdsErrCnabPag, "GetErrCnabPag", {banco});
      break;
    case Place::CnabReceivables:
      host::fetchInto(netBanco, cdsErrCnabRec, "GetErrCnabRec", {banco});
      break;
    case Place::CnabInstructions:
      host::fetchInto(netBanco, cdsInstruCobr, "GetInstruCobr", {banco});
      break;
  }
}

void TfrmBanco::sbtProcurarClick() {
  switch (place()) {
    case Place::List:
    case Place::Form:
    case Place::DDA:
      TfrmPadrao::sbtProcurarClick();
      break;
    case Place::CnabCompany:
      host::Procura(cdsEmprBanc);
      break;
    case Place::CnabPayables:
      host::Procura(cdsErrCnabPag);
      break;
    case Place::CnabReceivables:
      host::Procura(cdsErrCnabRec);
      break;
    case Place::CnabInstructions:
      host::Procura(cdsInstruCobr);
      break;
  }
}

void TfrmBanco::mnuFolhaDadosClick() {
  TfrmPadrao::mnuFolhaDadosClick();
  pgcPadraoChange();
}

void TfrmBanco::mnuFormularioClick() {
  TfrmPadrao::mnuFormularioClick();
  pages("pgcPadrao").setActivePage(&sheet("tshFormulario"));
  pgcPadraoChange();
}

void TfrmBanco::dbnPadraoClick(forms::NavButton) {
  // The navigator has already moved; nothing else follows a move here.
}

void TfrmBanco::dbgPadraoKeyDown(int& key, forms::Shift shift) {
  TfrmPadrao::dbgPadraoKeyDown(key, shift);
  // Rows are deleted by the Excluir command alone, after its question.
  if (key == forms::vk::Delete) key = 0;
}

void TfrmBanco::dtsPadraoStateChange() {
  TfrmPadrao::dtsPadraoStateChange();
  forms::Form::UpdateLock freeze(form());

  const DataSetState mode = dtsPadrao.state();
  const bool editing = mode == DataSetState::Edit || mode == DataSetState::Insert;
  const bool banks = !semBancos();

  menu("mnuFolhaDados").setChecked(mainTabIs("tshFolhaDados"));
  menu("mnuFormulario").setChecked(mainTabIs("tshFormulario"));
  menu("mnuCNABPag").setChecked(mainTabIs("tshCNAB"));

  // A bank's code is typed only when the bank is inserted.
  ctl<forms::Edit>("dbeCodigo").setEnabled(mode == DataSetState::Insert);
  ctl<forms::Control>("lblCodigo").setEnabled(mode == DataSetState::Insert);

  setModelEditEnabled(!editing && banks);

  if (mainTabIs("tshDDA")) setCommandEnabled("Excluir", false);
  if (mainTabIs("tshFormulario") && banks)
    ctl<forms::CommandButton>("sbtAtualizarMsg").setEnabled(!editing);
  if (!cdsBanco.editing()) syncAgencyCheckBox();

  if (banks) {
    sheet("tshFolhaDados").setEnabled(!editing);
    menu("mnuFolhaDados").setEnabled(!editing);
  } else {
    pages("pgcPadrao").setActivePage(&sheet("tshFolhaDados"));
    sheet("tshFolhaDados").setEnabled(false);
    sheet("tshFormulario").setEnabled(false);
  }

  ctl<forms::Grid>("dbgErrCnabPag").setEnabled(mode == DataSetState::Browse);

  for (const char* tab :
       {"tshCNAB", "tshDDA", "tshDadosEmpr", "tshErroRetornoPag", "tshErroRetornoRec"})
    sheet(tab).setEnabled(!editing);
  for (const char* item : {"mnuCNABPag", "mnuDadosEmpr", "mnuErroRetornoPag", "mnuErroRetornoRec"})
    menu(item).setEnabled(!editing);

  keepPrintOff();
}

void TfrmBanco::Controle_Butoes() {
  forms::Form::UpdateLock freeze(form());
  const bool onInstructions = cnabSubTabIs("tshInstruCobr");
  const bool browse = cdsInstruCobr.state() == DataSetState::Browse;
  const bool rows = !cdsInstruCobr.isEmpty();
  const bool editing = cdsInstruCobr.editing();

  setCommandEnabled("Incluir", onInstructions && browse);
  setCommandEnabled("Alterar", onInstructions && rows && browse);
  setCommandEnabled("Excluir", onInstructions && rows && browse);
  setCommandEnabled("Procurar", rows && browse);
  setCommandEnabled("Ordenar", rows && browse);
  setCommandEnabled("Confirmar", editing);
  setCommandEnabled("Cancelar", editing);
  setModelEditEnabled(false);

  for (const char* tab : {"tshErroRetornoRec", "tshErroRetornoPag", "tshDadosEmpr", "tshFolhaDados",
                          "tshFormulario", "tshDDA"})
    sheet(tab).setEnabled(!editing);
  for (auto [item, tab] :
       {std::pair{"mnuErroRetornoPag", "tshErroRetornoPag"},
        std::pair{"mnuErroRetornoRec", "tshErroRetornoRec"},
        std::pair{"mnuDadosEmpr", "tshDadosEmpr"}, std::pair{"mnuFolhaDados", "tshFolhaDados"},
        std::pair{"mnuFormulario", "tshFormulario"}})
    menu(item).setEnabled(sheet(tab).enabled());

  keepPrintOff();
}

}  // namespace qbk::module
