// The DDA tab: the command bar and tab locking while the DDA row is edited, the local
// directory check, and the send of a saved change.
#include <filesystem>
#include <system_error>

#include "forms/edits.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "host/errors_ui.h"
#include "host/strings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

using data::DataSetState;

void TfrmBanco::dtsDDAStateChange() {
  forms::Form::UpdateLock freeze(form());
  const DataSetState state = cdsDDA.state();
  const bool edit = state == DataSetState::Edit;

  setModelEditEnabled(!edit);
  setCommandEnabled("Confirmar", edit);
  setCommandEnabled("Cancelar", edit);
  for (const char* command : {"Incluir", "Excluir", "Procurar", "Ordenar"})
    setCommandEnabled(command, false);
  setCommandEnabled("Alterar", state == DataSetState::Browse && !cdsDDA.isEmpty());
  // The DDA row belongs to the current bank: the bank must not change under it.
  ctl<forms::Navigator>("dbnPadrao").setEnabled(false);

  for (const char* tab : {"tshFolhaDados", "tshFormulario", "tshCNAB", "tshDadosEmpr",
                          "tshErroRetornoPag", "tshErroRetornoRec", "tshInstruCobr", "tshEmpresa"})
    sheet(tab).setEnabled(!edit);
  for (const char* item : {"mnuFolhaDados", "mnuFormulario", "mnuCNABPag", "mnuDadosEmpr",
                           "mnuErroRetornoPag", "mnuErroRetornoRec", "mnuEmpresa"})
    menu(item).setEnabled(!edit);

  keepPrintOff();
}

void TfrmBanco::vd_diretorio() {
  auto& edit = ctl<forms::Edit>("dbeDirLocal");
  const std::string& dir = edit.text();
  std::error_code ec;
  if (host::EmptyString(dir) || std::filesystem::is_directory(dir, ec)) return;
  edit.setFocus();
  host::MensErro(msgPadrao.Msg("dire_inv"), true);
}

void TfrmBanco::cdsDDAAfterPost() {
  apply(cdsDDA, {.method = "SetBancoDDA",
                 .cacheName = "EMPRBANC",
                 .finish = {host::Finish::Hide, host::Finish::Repaint, host::Finish::Merge,
                            host::Finish::Cache}});
}

}  // namespace qbk::module
