// The company settings as a part of the bank screen: wiring, the sub-tab coming to the
// front, the command bar while a company is edited, the inner tabs and the save.
#include "module/cnab/company_settings.h"

#include "host/config.h"
#include "host/search.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

using data::DataSetState;
namespace method = protocol::method;

void CompanySettings::registerDataSources(forms::FormBuilder& b) {
  for (data::DataSource* ds :
       {&dtsEmprBanc, &dtsPesqInstru, &dtsFornecedor, &dtsPesqTpBaixa, &dtsContCorr})
    b.addDataSource(ds->name(), ds);
}

void CompanySettings::bind(const forms::Form& form) {
  c_.resolve(form);
  cdsEmprBanc.beforePost = [this](data::RecordSet&) { cdsEmprBancBeforePost(); };
  cdsEmprBanc.afterPost = [this](data::RecordSet&) { cdsEmprBancAfterPost(); };
  cdsEmprBanc.beforeDelete = [this](data::RecordSet&) { cdsEmprBancBeforeDelete(); };
  cdsEmprBanc.afterDelete = [this](data::RecordSet&) { cdsEmprBancAfterDelete(); };
  dtsEmprBanc.onStateChange = [this](data::DataSource&) { dtsEmprBancStateChange(); };

  c_.pgcCNAB->onEnter = [this](forms::Control&) { pgcCNABEnter(); };
  c_.pgcEmpresa->onChange = [this](forms::PageControl&) { pgcEmpresaChange(); };
  c_.mnuEmpresa->onClick = [this](forms::MenuItem&) { mnuEmpresaClick(); };
  c_.mnuDados->onClick = [this](forms::MenuItem&) { mnuDadosClick(); };
  c_.dbnEmprBanc->onClick = [this](forms::Navigator&, forms::NavButton b) {
    screen_.dbnPadraoClick(b);
  };
  bindCodedFields();
  bindRules();
  bindLookups();
}

void CompanySettings::created() {
  qryContCtbl.fieldByName("CDCONTCTBL").editMask = host::DBPict(2);
}

void CompanySettings::load() {
  screen_.fetch(cdsEmprBanc, method::GetEmprBanc, {screen_.bank().codigoBanco()});
}

// ---- the place ---------------------------------------------------------------------------

void CompanySettings::reloadForBank() {
  try {
    load();
  } catch (...) {
    emptyCompanies();
    dtsEmprBancStateChange();
    throw;
  }
}

void CompanySettings::shown(PlaceId) {
  reloadForBank();
  // The bank-specific controls of the company data follow the bank's clearing house.
  const std::string clearing = screen_.bank().codigoCompensacao();
  arrangeCnabPanels(clearing);
  showVariation(clearing == "001");
  dtsEmprBancStateChange();
  pgcEmpresaChange();
}

void CompanySettings::showVariation(bool shown) {
  if (c_.lblVarCartCob->visible() == shown) return;
  c_.lblVarCartCob->setVisible(shown);
  c_.dbeVarCartCob->setVisible(shown);
}

void CompanySettings::alterar() {
  c_.pgcEmpresa->setActivePage(&*c_.tshDados);
  pgcEmpresaChange();
  c_.dbeCarteira->setFocus();
  cdsEmprBanc.edit();
}

void CompanySettings::confirmar() {
  cdsEmprBanc.post();
}

void CompanySettings::cancelar() {
  cdsEmprBanc.cancel();
}

void CompanySettings::procurar() {
  host::Procura(cdsEmprBanc);
}

void CompanySettings::verificar() {
  load();
}

// ---- state and tabs ----------------------------------------------------------------------

void CompanySettings::dtsEmprBancStateChange() {
  forms::Form::UpdateLock freeze(screen_.form());
  const DataSetState state = cdsEmprBanc.state();
  const bool browse = state == DataSetState::Browse;

  screen_.bank().setModelEditEnabled(state != DataSetState::Edit);
  screen_.setCommandEnabled("Confirmar", state == DataSetState::Edit);
  screen_.setCommandEnabled("Cancelar", state == DataSetState::Edit);
  screen_.setCommandEnabled("Incluir", false);
  screen_.setCommandEnabled("Excluir", false);
  const bool rows = browse && !cdsEmprBanc.isEmpty();
  screen_.setCommandEnabled("Alterar", rows);
  screen_.setCommandEnabled("Procurar", rows);
  screen_.setCommandEnabled("Ordenar", rows);
  c_.dbnPadrao->setEnabled(browse);
  c_.dbnEmprBanc->setEnabled(browse);
  // A company being edited keeps the person on its data until Confirmar or Cancelar.
  screen_.lockWays();
}

void CompanySettings::pgcCNABEnter() {
  if (screen_.isCurrent(PlaceId::Companies)) dtsEmprBancStateChange();
}

void CompanySettings::leftCompanies() {
  c_.mnuDados->setChecked(false);
  c_.mnuEmpresa->setChecked(false);
}

void CompanySettings::pgcEmpresaChange() {
  const forms::TabSheet* inner = c_.pgcEmpresa->activePage();
  c_.mnuDados->setChecked(inner == &*c_.tshDados);
  c_.mnuEmpresa->setChecked(inner == &*c_.tshEmpresa);
}

void CompanySettings::showInnerTab(forms::TabSheet& inner) {
  // Already on screen: nothing to do.
  if (screen_.isCurrent(PlaceId::Companies) && c_.pgcEmpresa->activePage() == &inner) return;
  c_.pgcEmpresa->setActivePage(&inner);
  screen_.showPlace(PlaceId::Companies);
  pgcEmpresaChange();
}

void CompanySettings::mnuEmpresaClick() {
  showInnerTab(*c_.tshEmpresa);
}

void CompanySettings::mnuDadosClick() {
  showInnerTab(*c_.tshDados);
}

// ---- the record --------------------------------------------------------------------------

void CompanySettings::cdsEmprBancAfterPost() {
  screen_.apply(cdsEmprBanc, {.method = method::SetEmprBanc,
                              .cacheName = protocol::cache::EmprBanc,
                              .finish = {host::Finish::Hide, host::Finish::Repaint,
                                         host::Finish::Merge, host::Finish::Cache}});
}

void CompanySettings::cdsEmprBancAfterDelete() {
  cdsEmprBancAfterPost();
}

}  // namespace qbk::module
