// A main tab or a CNAB sub-tab came to the front: the mode rules for it, the menu checks,
// and the data of the place, loaded for the current bank only when it comes to the front.
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

void TfrmBanco::checkPlaceMenus() {
  const Place& here = places_.current();
  for (const Place& p : places_.all())
    if (p.menuItem) p.menuItem->setChecked(p.id == here.id);
  c_.mnuCNABPag->setChecked(c_.pgcPadrao->activePage() == &*c_.tshCNAB);
  if (here.id != PlaceId::Companies) cnab_.leftCompanies();
}

void TfrmBanco::pgcPadraoChange() {
  TfrmPadrao::pgcPadraoChange();
  if (!bank_.cdsBanco.editing()) dtsPadraoStateChange();
  c_.dbnPadrao->setEnabled(dtsPadrao.state() == data::DataSetState::Browse);
  checkPlaceMenus();
  c_.mnuFolhaDados->setEnabled(c_.tshFolhaDados->enabled());
  c_.mnuFormulario->setEnabled(c_.tshFormulario->enabled());

  if (c_.pgcPadrao->activePage() == &*c_.tshCNAB) {
    codes_.loadReturnCodes();
    pgcCNABChange();
  }
  if (isCurrent(PlaceId::DDA)) dda_.shown(PlaceId::DDA);
  if (!isCurrent(PlaceId::Form)) bank_.setStandardMessageEnabled(false);
}

void TfrmBanco::pgcCNABChange() {
  checkPlaceMenus();
  const PlaceId here = places_.current().id;
  if (here == PlaceId::Companies) {
    cnab_.shown(here);
  } else {
    if (!bank_.cdsBanco.editing()) dtsPadraoStateChange();
    codes_.shown(here);
  }
}

void TfrmBanco::showPlace(PlaceId id) {
  const Place& place = places_.at(id);
  if (places_.isCurrent(id)) return;
  c_.pgcPadrao->setActivePage(place.mainSheet);
  if (place.subSheet) c_.pgcCNAB->setActivePage(place.subSheet);
  // The main-tab handling runs the sub-tab handling itself.
  pgcPadraoChange();
}

void TfrmBanco::mnuFolhaDadosClick() {
  TfrmPadrao::mnuFolhaDadosClick();
  pgcPadraoChange();
}

void TfrmBanco::mnuFormularioClick() {
  TfrmPadrao::mnuFormularioClick();
  c_.pgcPadrao->setActivePage(&*c_.tshFormulario);
  pgcPadraoChange();
}

void TfrmBanco::mnuDadosEmprClick() {
  showPlace(PlaceId::Companies);
}

void TfrmBanco::mnuErroRetornoPagClick() {
  showPlace(PlaceId::Payables);
}

void TfrmBanco::mnuErroRetornoRecClick() {
  showPlace(PlaceId::Receivables);
}

void TfrmBanco::mnuInstruCobrClick() {
  showPlace(PlaceId::Instructions);
}

}  // namespace qbk::module
