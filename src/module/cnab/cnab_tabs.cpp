// The "CNAB" tab's sub-tabs and the company inner tabs: what each loads when it comes to
// the front, the menu entries that lead there, and the command bar while a company's
// settings are edited.
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

using data::DataSetState;

void TfrmBanco::pgcCNABChange() {
  const bool company = cnabSubTabIs("tshDadosEmpr");
  menu("mnuDadosEmpr").setChecked(company);
  menu("mnuErroRetornoPag").setChecked(cnabSubTabIs("tshErroRetornoPag"));
  menu("mnuErroRetornoRec").setChecked(cnabSubTabIs("tshErroRetornoRec"));
  menu("mnuInstruCobr").setChecked(cnabSubTabIs("tshInstruCobr"));
  if (!company) {
    menu("mnuDados").setChecked(false);
    menu("mnuEmpresa").setChecked(false);
  }

  if (company) {
    host::fetchInto(netBanco, cdsEmprBanc, "GetEmprBanc", {codigoBanco()});
    // The bank-specific controls of the company data are arranged with the CNAB layout
    // rules, by the bank's clearing-house code.
    dtsEmprBancStateChange();
    pgcEmpresaChange();
  } else if (!cdsBanco.editing()) {
    dtsPadraoStateChange();
  }
  if (cnabSubTabIs("tshErroRetornoPag")) dtsErrCnabPagStateChange();
  if (cnabSubTabIs("tshErroRetornoRec")) dtsErrCnabRecStateChange();
  if (cnabSubTabIs("tshInstruCobr")) {
    host::fetchInto(netBanco, cdsInstruCobr, "GetInstruCobr", {codigoBanco()});
    dtsInstruCobrStateChange();
  }
}

void TfrmBanco::pgcCNABEnter() {
  if (cnabSubTabIs("tshDadosEmpr")) dtsEmprBancStateChange();
}

void TfrmBanco::pgcEmpresaChange() {
  const forms::TabSheet* inner = pages("pgcEmpresa").activePage();
  menu("mnuDados").setChecked(inner && inner->name() == "tshDados");
  menu("mnuEmpresa").setChecked(inner && inner->name() == "tshEmpresa");
}

void TfrmBanco::dtsEmprBancStateChange() {
  forms::Form::UpdateLock freeze(form());
  const DataSetState state = cdsEmprBanc.state();
  const bool browse = state == DataSetState::Browse;
  const bool editing = cdsEmprBanc.editing();

  setModelEditEnabled(state != DataSetState::Edit);
  setCommandEnabled("Confirmar", state == DataSetState::Edit);
  setCommandEnabled("Cancelar", state == DataSetState::Edit);
  setCommandEnabled("Incluir", false);
  setCommandEnabled("Excluir", false);
  const bool rows = browse && !cdsEmprBanc.isEmpty();
  setCommandEnabled("Alterar", rows);
  setCommandEnabled("Procurar", rows);
  setCommandEnabled("Ordenar", rows);
  ctl<forms::Navigator>("dbnPadrao").setEnabled(browse);
  ctl<forms::Navigator>("dbnEmprBanc").setEnabled(browse);

  // A company being edited keeps the person on its data until Confirmar or Cancelar.
  for (const char* tab : {"tshFolhaDados", "tshFormulario", "tshDDA", "tshErroRetornoPag",
                          "tshErroRetornoRec", "tshInstruCobr", "tshEmpresa"})
    sheet(tab).setEnabled(!editing);
  for (const char* item :
       {"mnuFolhaDados", "mnuFormulario", "mnuErroRetornoPag", "mnuErroRetornoRec", "mnuEmpresa"})
    menu(item).setEnabled(!editing);

  keepPrintOff();
}

// ---- menu navigation -------------------------------------------------------------------

void TfrmBanco::showCnabPage(std::string_view subTab, std::string_view innerTab) {
  // Already on screen: nothing to do. (A page in front of its page control is not on
  // screen while another main tab is, so the entry still leads there.)
  const bool subTabShown = mainTabIs("tshCNAB") && cnabSubTabIs(subTab);
  if (innerTab.empty() ? subTabShown
                       : subTabShown && pages("pgcEmpresa").activePage() == &sheet(innerTab))
    return;
  pages("pgcPadrao").setActivePage(&sheet("tshCNAB"));
  pages("pgcCNAB").setActivePage(&sheet(subTab));
  if (!innerTab.empty()) pages("pgcEmpresa").setActivePage(&sheet(innerTab));
  // The main-tab handling runs the sub-tab handling itself.
  pgcPadraoChange();
  if (!innerTab.empty()) pgcEmpresaChange();
}

void TfrmBanco::mnuDadosEmprClick() {
  showCnabPage("tshDadosEmpr");
}

void TfrmBanco::mnuEmpresaClick() {
  showCnabPage("tshDadosEmpr", "tshEmpresa");
}

void TfrmBanco::mnuDadosClick() {
  showCnabPage("tshDadosEmpr", "tshDados");
}

void TfrmBanco::mnuErroRetornoPagClick() {
  showCnabPage("tshErroRetornoPag");
}

void TfrmBanco::mnuErroRetornoRecClick() {
  showCnabPage("tshErroRetornoRec");
}

void TfrmBanco::mnuInstruCobrClick() {
  showCnabPage("tshInstruCobr");
}

}  // namespace qbk::module
