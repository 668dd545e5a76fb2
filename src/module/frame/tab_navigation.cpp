// A main tab came to the front: the mode rules for it, the menu checks, and the data of the
// CNAB and DDA tabs, loaded for the current bank only when their tab is entered.
#include "forms/buttons.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

void TfrmBanco::pgcPadraoChange() {
  TfrmPadrao::pgcPadraoChange();
  if (!cdsBanco.editing()) dtsPadraoStateChange();
  ctl<forms::Navigator>("dbnPadrao").setEnabled(dtsPadrao.state() == data::DataSetState::Browse);

  menu("mnuFolhaDados").setChecked(mainTabIs("tshFolhaDados"));
  menu("mnuFormulario").setChecked(mainTabIs("tshFormulario"));
  menu("mnuCNABPag").setChecked(mainTabIs("tshCNAB"));
  if (!menu("mnuCNABPag").checked()) {
    for (const char* item : {"mnuDadosEmpr", "mnuErroRetornoPag", "mnuErroRetornoRec",
                             "mnuInstruCobr", "mnuDados", "mnuEmpresa"})
      menu(item).setChecked(false);
  }
  menu("mnuFolhaDados").setEnabled(sheet("tshFolhaDados").enabled());
  menu("mnuFormulario").setEnabled(sheet("tshFormulario").enabled());

  if (mainTabIs("tshCNAB")) {
    // Both code tables, whichever sub-tab is in front; one being edited keeps its rows.
    if (!cdsErrCnabPag.editing())
      host::fetchInto(netBanco, cdsErrCnabPag, "GetErrCnabPag", {codigoBanco()});
    if (!cdsErrCnabRec.editing())
      host::fetchInto(netBanco, cdsErrCnabRec, "GetErrCnabRec", {codigoBanco()});
    pgcCNABChange();
  }
  if (mainTabIs("tshDDA")) {
    const std::string flag =
        host::fetchFlaggedInto(netBanco, cdsDDA, "GetBancoDDA", {codigoBanco()});
    // The data stays loaded: the person may correct the directory right here.
    if (flag == "N")
      msgPadrao.ShowMsg("Dir_N_Existe", host::MsgType::Warning, host::MsgButtons::OK, 0);
  }
  if (!mainTabIs("tshFormulario")) ctl<forms::CommandButton>("sbtAtualizarMsg").setEnabled(false);
}

}  // namespace qbk::module
