// The command bar: each command acts at the place in front (Confirmar and Cancelar at the
// place being edited), as the table of places says.
#include "forms/keys.h"
#include "host/messages.h"
#include "host/progress.h"
#include "host/screens/application.h"
#include "module/frame/module_entry.h"
#include "module/frame/tfrm_banco.h"
#include "module/report/tfrm_rel_banco.h"

namespace qbk::module {

namespace {

bool confirmed(host::TMessages& messages, const char* key) {
  return messages.ShowMsg(key, host::MsgType::Confirmation, host::MsgButtons::YesNo, 0) ==
         host::mrYes;
}

}  // namespace

void TfrmBanco::sbtIncluirClick() {
  run(places_.current().actions.incluir);
}

void TfrmBanco::sbtAlterarClick() {
  run(places_.current().actions.alterar);
}

void TfrmBanco::sbtConfirmarClick() {
  const Place* edited = places_.edited();
  run((edited ? *edited : places_.current()).actions.confirmar);
}

void TfrmBanco::sbtCancelarClick() {
  if (!confirmed(msgMensagensPadroes, "Canc")) return;
  const Place* edited = places_.edited();
  run((edited ? *edited : places_.current()).actions.cancelar);
}

void TfrmBanco::sbtExcluirClick() {
  // Nothing is deleted while a bank is edited, nor when there is none.
  if (bank_.cdsBanco.isEmpty() || bank_.cdsBanco.state() != data::DataSetState::Browse) return;
  if (!confirmed(msgMensagensPadroes, "Excl")) return;
  run(places_.current().actions.excluir);
}

void TfrmBanco::sbtOrdenarClick() {
  // The lists keep the order the server gives them, by key.
}

void TfrmBanco::sbtImprimirClick() {
  host::Application& host = app();
  frmRelBanco = &host.create<TfrmRelBanco>(TfrmRelBanco::kClassName);
  host.showModal(*frmRelBanco);
}

void TfrmBanco::sbtVerificarClick() {
  host::ShowAviScope indicator(this, host::kAviUpdate, msgPadrao.Msg("Atual_Oper"));
  run(places_.current().actions.verificar);
}

void TfrmBanco::sbtProcurarClick() {
  run(places_.current().actions.procurar);
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
  c_.mnuFolhaDados->setChecked(isCurrent(PlaceId::List));
  c_.mnuFormulario->setChecked(isCurrent(PlaceId::Form));
  c_.mnuCNABPag->setChecked(c_.pgcPadrao->activePage() == &*c_.tshCNAB);
  bank_.applyModeRules();
  codes_.setPayablesGridEnabled(dtsPadrao.state() == data::DataSetState::Browse);
  lockWays();
}

}  // namespace qbk::module
