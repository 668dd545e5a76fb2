#include "host/screens/base_screen.h"

#include "forms/buttons.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "host/progress.h"
#include "host/screens/application.h"
#include "host/search.h"

namespace qbk::host {

namespace {

using data::DataSetState;

std::string named(std::string_view prefix, std::string_view command) {
  std::string out(prefix);
  out.append(command);
  return out;
}

}  // namespace

TfrmPadrao::TfrmPadrao(Application& app) : Screen(app), msgMensagensPadroes(standardMessages()) {}

TfrmPadrao::~TfrmPadrao() {
  dtsPadrao.onStateChange = nullptr;
}

void TfrmPadrao::registerDataSources(forms::FormBuilder& b) {
  b.addDataSource("dtsPadrao", &dtsPadrao);
}

void TfrmPadrao::bindEvents() {
  auto onButton = [this](std::string_view command, void (TfrmPadrao::*handler)()) {
    ctl<forms::CommandButton>(named("sbt", command)).onClick =
        [this, handler](forms::CommandButton&) { (this->*handler)(); };
    if (auto* item = form().tryFind<forms::MenuItem>(named("mnu", command))) {
      item->onClick = [this, handler](forms::MenuItem&) { (this->*handler)(); };
    }
  };
  onButton("Incluir", &TfrmPadrao::sbtIncluirClick);
  onButton("Alterar", &TfrmPadrao::sbtAlterarClick);
  onButton("Excluir", &TfrmPadrao::sbtExcluirClick);
  onButton("Confirmar", &TfrmPadrao::sbtConfirmarClick);
  onButton("Cancelar", &TfrmPadrao::sbtCancelarClick);
  onButton("Procurar", &TfrmPadrao::sbtProcurarClick);
  onButton("Ordenar", &TfrmPadrao::sbtOrdenarClick);
  onButton("Verificar", &TfrmPadrao::sbtVerificarClick);
  onButton("Imprimir", &TfrmPadrao::sbtImprimirClick);
  onButton("Ajuda", &TfrmPadrao::sbtAjudaClick);
  onButton("Fechar", &TfrmPadrao::sbtFecharClick);

  ctl<forms::MenuItem>("mnuFolhaDados").onClick = [this](forms::MenuItem&) {
    mnuFolhaDadosClick();
  };
  ctl<forms::MenuItem>("mnuFormulario").onClick = [this](forms::MenuItem&) {
    mnuFormularioClick();
  };
  ctl<forms::PageControl>("pgcPadrao").onChange = [this](forms::PageControl&) {
    pgcPadraoChange();
  };
  ctl<forms::Grid>("dbgPadrao").onKeyDown = [this](forms::Grid&, int& key, forms::Shift shift) {
    dbgPadraoKeyDown(key, shift);
  };
  ctl<forms::Navigator>("dbnPadrao").onClick = [this](forms::Navigator&, forms::NavButton b) {
    dbnPadraoClick(b);
  };
}

void TfrmPadrao::FormCreate() {
  // The derived screen's members may already be gone when its record set reports its end.
  dtsPadrao.onStateChange = [this](data::DataSource&) {
    if (!released()) dtsPadraoStateChange();
  };
  ctl<forms::PageControl>("pgcPadrao").setActivePage(&ctl<forms::TabSheet>("tshFolhaDados"));
  TfrmPadrao::pgcPadraoChange();
  TfrmPadrao::dtsPadraoStateChange();
}

bool TfrmPadrao::FormCloseQuery() {
  return confirmCancel();
}

void TfrmPadrao::FormClose() {}

void TfrmPadrao::pgcPadraoChange() {
  const forms::TabSheet* front = ctl<forms::PageControl>("pgcPadrao").activePage();
  ctl<forms::MenuItem>("mnuFolhaDados").setChecked(front == &ctl<forms::TabSheet>("tshFolhaDados"));
  ctl<forms::MenuItem>("mnuFormulario").setChecked(front == &ctl<forms::TabSheet>("tshFormulario"));
}

void TfrmPadrao::dtsPadraoStateChange() {
  const DataSetState state = dtsPadrao.state();
  const data::RecordSet* set = dtsPadrao.dataSet();
  const bool browsing = state == DataSetState::Browse;
  const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
  const bool hasRecords = browsing && set && !set->isEmpty();

  setCommandEnabled("Incluir", browsing);
  setCommandEnabled("Alterar", hasRecords);
  setCommandEnabled("Excluir", hasRecords);
  setCommandEnabled("Confirmar", editing);
  setCommandEnabled("Cancelar", editing);
  setCommandEnabled("Procurar", browsing);
  setCommandEnabled("Ordenar", browsing);
  setCommandEnabled("Verificar", browsing);
  setCommandEnabled("Imprimir", browsing);
  setCommandEnabled("Ajuda", browsing);
  setCommandEnabled("Fechar", !editing);
  ctl<forms::Navigator>("dbnPadrao").setEnabled(browsing);
}

void TfrmPadrao::sbtIncluirClick() {
  data::RecordSet* set = dtsPadrao.dataSet();
  if (!set || set->state() != DataSetState::Browse) return;
  showPage(ctl<forms::TabSheet>("tshFormulario"));
  set->insert();
}

void TfrmPadrao::sbtAlterarClick() {
  data::RecordSet* set = dtsPadrao.dataSet();
  if (!set || set->state() != DataSetState::Browse || set->isEmpty()) return;
  showPage(ctl<forms::TabSheet>("tshFormulario"));
  set->edit();
}

void TfrmPadrao::sbtExcluirClick() {
  data::RecordSet* set = dtsPadrao.dataSet();
  if (!set || set->state() != DataSetState::Browse || set->isEmpty()) return;
  if (msgMensagensPadroes.ShowMsg("Excl", MsgType::Confirmation, MsgButtons::YesNo) != mrYes) {
    return;
  }
  set->deleteRecord();
}

void TfrmPadrao::sbtConfirmarClick() {
  data::RecordSet* set = dtsPadrao.dataSet();
  if (set && set->editing()) set->post();
}

void TfrmPadrao::sbtCancelarClick() {
  confirmCancel();
}

bool TfrmPadrao::confirmCancel() {
  data::RecordSet* set = dtsPadrao.dataSet();
  if (!set || !set->editing()) return true;
  if (msgMensagensPadroes.ShowMsg("Canc", MsgType::Confirmation, MsgButtons::YesNo) != mrYes)
    return false;
  set->cancel();
  return true;
}

void TfrmPadrao::sbtProcurarClick() {
  if (data::RecordSet* set = dtsPadrao.dataSet()) Procura(*set);
}

void TfrmPadrao::sbtOrdenarClick() {}

void TfrmPadrao::sbtVerificarClick() {
  if (!reloadMainData) return;
  ShowAviScope indicator(this, kAviUpdate, msgMensagensPadroes.Msg("Atual_Oper"));
  reloadMainData();
}

void TfrmPadrao::sbtImprimirClick() {}

void TfrmPadrao::sbtAjudaClick() {}

void TfrmPadrao::sbtFecharClick() {
  close();
}

void TfrmPadrao::mnuFolhaDadosClick() {
  showPage(ctl<forms::TabSheet>("tshFolhaDados"));
}

void TfrmPadrao::mnuFormularioClick() {
  showPage(ctl<forms::TabSheet>("tshFormulario"));
}

void TfrmPadrao::dbgPadraoKeyDown(int& key, forms::Shift shift) {
  if (key != forms::vk::Return || shift.ctrl || shift.alt) return;
  const auto& item = ctl<forms::MenuItem>("mnuFormulario");
  if (!item.isEffectivelyEnabled() || !ctl<forms::TabSheet>("tshFormulario").enabled()) return;
  key = 0;
  mnuFormularioClick();
}

void TfrmPadrao::dbnPadraoClick(forms::NavButton) {}

void TfrmPadrao::setCommandEnabled(std::string_view command, bool enabled) {
  auto& button = ctl<forms::CommandButton>(named("sbt", command));
  if (auto* item = form().tryFind<forms::MenuItem>(named("mnu", command))) {
    item->setEnabled(enabled);
    if (button.menuItem() == item) {
      button.followMenuItem();
      return;
    }
  }
  button.setEnabled(enabled);
}

bool TfrmPadrao::commandEnabled(std::string_view command) const {
  return ctl<forms::CommandButton>(named("sbt", command)).enabled();
}

void TfrmPadrao::showPage(forms::TabSheet& page) {
  page.pageControl().setActivePage(&page);
  TfrmPadrao::pgcPadraoChange();
}

}  // namespace qbk::host
