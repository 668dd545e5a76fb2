// The mode rules of the banks: what the state of cdsBanco (browse, edit, insert, none at
// all) enables on the screen.
#include "host/config.h"
#include "module/bank/bank_record.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

using data::DataSetState;

void BankRecord::setModelEditEnabled(bool enabled) {
  c_.sbtEdit->setEnabled(enabled && host::ModuloAtiv() != "/");
  c_.mnuEdit->setEnabled(c_.sbtEdit->enabled());
}

void BankRecord::setStandardMessageEnabled(bool enabled) {
  c_.sbtAtualizarMsg->setEnabled(enabled);
}

void BankRecord::applyModeRules() {
  const DataSetState mode = screen_.dtsPadrao.state();
  const bool editing = mode == DataSetState::Edit || mode == DataSetState::Insert;
  const bool banks = !semBancos();
  const bool onForm = screen_.isCurrent(PlaceId::Form);

  // A bank's code is typed only when the bank is inserted.
  c_.dbeCodigo->setEnabled(mode == DataSetState::Insert);
  c_.lblCodigo->setEnabled(mode == DataSetState::Insert);

  setModelEditEnabled(!editing && banks);
  if (screen_.isCurrent(PlaceId::DDA)) screen_.setCommandEnabled("Excluir", false);
  if (onForm && banks) c_.sbtAtualizarMsg->setEnabled(!editing);
  if (!cdsBanco.editing()) syncAgencyCheckBox();

  if (!banks) {
    // Nothing but the first bank can be started: no list to search, no form to show.
    c_.pgcPadrao->setActivePage(&*c_.tshFolhaDados);
    screen_.setCommandEnabled("Procurar", false);
    screen_.setCommandEnabled("Ordenar", false);
  }
}

}  // namespace qbk::module
