#include "module/frame/tfrm_banco.h"

#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "host/config.h"
#include "host/progress.h"
#include "module/bank/bank_fields.h"
#include "module/cnab/cnab_fields.h"
#include "module/cnab/cnab_queries.h"
#include "module/codes/code_fields.h"
#include "module/dda/dda_fields.h"
#include "module/frame/field_specs.h"
#include "module/frame/module_entry.h"

namespace qbk::host::resource {
extern const std::string_view msgPadraoBanco;
}

namespace qbk::module {

using forms::CommandButton;
using forms::MenuItem;
using forms::PageControl;
using forms::TabSheet;

TfrmBanco::TfrmBanco(host::Application& app)
    : TfrmPadrao(app), msgPadrao(host::resource::msgPadraoBanco) {
  declareBancoFields(cdsBanco);
  declareEmprBancFields(cdsEmprBanc);
  declareErrCnabPagFields(cdsErrCnabPag);
  declareErrCnabRecFields(cdsErrCnabRec);
  declareInstruCobrFields(cdsInstruCobr);
  declareDDAFields(cdsDDA);
  declarePesqInstruFields(cdsPesqInstru);
  declareCodigoRecFields(cdsCodigoRec);
  declareCdInstrucaoCobFields(cdsCdInstrucaoCob);
  declareChavPrimQuery(qryChavPrim);
  declareFields(qryContCtbl, {text("CDCONTCTBL", 0)});
  declareFornecedorQuery(qryFornecedor);
  declarePesqTbBaixaQuery(qryPesqTbBaixa);
  declareContCorrQuery(qryContCorr);

  // Before the form is built, so that the controls of dtsPadrao follow the banks.
  dtsPadrao.setDataSet(&cdsBanco);
  reloadMainData = [this] { host::fetchInto(netBanco, cdsBanco, "GetBanco"); };
  netBanco.beforeConnect = [this](host::NetConnection&) { netBancoBeforeConnect(); };
}

TfrmBanco::~TfrmBanco() {
  // The base's data source outlives the banks: it must not report their end to handlers
  // of a screen that is half gone.
  dtsPadrao.onStateChange = nullptr;
  dtsPadrao.onDataChange = nullptr;
  dtsPadrao.setDataSet(nullptr);
}

void TfrmBanco::registerDataSources(forms::FormBuilder& b) {
  TfrmPadrao::registerDataSources(b);
  for (data::DataSource* ds :
       {&dtsEmprBanc, &dtsErrCnabPag, &dtsErrCnabRec, &dtsInstruCobr, &dtsDDA, &dtsPesqInstru,
        &dtsFornecedor, &dtsPesqTpBaixa, &dtsContCorr})
    b.addDataSource(ds->name(), ds);
}

void TfrmBanco::bindEvents() {
  TfrmPadrao::bindEvents();
  auto bind = [](data::RecordSet::Handler& event, auto handler) {
    event = [handler](data::RecordSet&) { handler(); };
  };

  // Record sets.
  bind(cdsBanco.beforeInsert, [this] { cdsBancoBeforeInsert(); });
  bind(cdsBanco.beforeEdit, [this] { cdsBancoBeforeEdit(); });
  bind(cdsBanco.beforePost, [this] { cdsBancoBeforePost(); });
  bind(cdsBanco.afterPost, [this] { cdsBancoAfterPost(); });
  bind(cdsBanco.afterDelete, [this] { cdsBancoAfterDelete(); });
  bind(cdsBanco.afterCancel, [this] { cdsBancoAfterCancel(); });
  bind(cdsBanco.afterScroll, [this] { cdsBancoAfterScroll(); });
  bind(cdsEmprBanc.beforePost, [this] { cdsEmprBancBeforePost(); });
  bind(cdsEmprBanc.afterPost, [this] { cdsEmprBancAfterPost(); });
  bind(cdsEmprBanc.beforeDelete, [this] { cdsEmprBancBeforeDelete(); });
  bind(cdsEmprBanc.afterDelete, [this] { cdsEmprBancAfterDelete(); });
  bind(cdsErrCnabPag.beforePost, [this] { cdsErrCnabPagBeforePost(); });
  bind(cdsErrCnabPag.afterPost, [this] { cdsErrCnabPagAfterPost(); });
  bind(cdsErrCnabPag.afterDelete, [this] { cdsErrCnabPagAfterDelete(); });
  bind(cdsErrCnabRec.beforePost, [this] { cdsErrCnabRecBeforePost(); });
  bind(cdsErrCnabRec.afterPost, [this] { cdsErrCnabRecAfterPost(); });
  bind(cdsErrCnabRec.afterDelete, [this] { cdsErrCnabRecAfterDelete(); });
  bind(cdsInstruCobr.beforePost, [this] { cdsInstruCobrBeforePost(); });
  bind(cdsInstruCobr.afterPost, [this] { cdsInstruCobrAfterDelete(); });
  bind(cdsInstruCobr.afterDelete, [this] { cdsInstruCobrAfterDelete(); });
  bind(cdsInstruCobr.afterCancel, [this] { cdsInstruCobrAfterCancel(); });
  bind(cdsDDA.afterPost, [this] { cdsDDAAfterPost(); });

  // Data sources.
  dtsEmprBanc.onStateChange = [this](data::DataSource&) { dtsEmprBancStateChange(); };
  dtsErrCnabPag.onStateChange = [this](data::DataSource&) { dtsErrCnabPagStateChange(); };
  dtsErrCnabRec.onStateChange = [this](data::DataSource&) { dtsErrCnabRecStateChange(); };
  dtsInstruCobr.onStateChange = [this](data::DataSource&) { dtsInstruCobrStateChange(); };
  dtsDDA.onStateChange = [this](data::DataSource&) { dtsDDAStateChange(); };

  // Controls of this screen.
  auto exit = [this](std::string_view edit, void (TfrmBanco::*handler)()) {
    ctl<forms::Edit>(edit).onExit = [this, handler](forms::Control&) { (this->*handler)(); };
  };
  exit("dbeCodigo", &TfrmBanco::dbeCodigoExit);
  exit("dbeBanco", &TfrmBanco::dbeBancoExit);
  exit("dbeMascaraCC", &TfrmBanco::dbeMascaraCCExit);
  exit("dbeMascAgencia", &TfrmBanco::dbeMascAgenciaExit);
  exit("dbeDirLocal", &TfrmBanco::vd_diretorio);
  bindBankEvents();

  ctl<CommandButton>("sbtEdit").onClick = [this](CommandButton&) { sbtEditClick(); };
  ctl<CommandButton>("sbtAtualizarMsg").onClick = [this](CommandButton&) {
    sbtAtualizarMsgClick();
  };
  auto click = [this](std::string_view item, void (TfrmBanco::*handler)()) {
    menu(item).onClick = [this, handler](MenuItem&) { (this->*handler)(); };
  };
  click("mnuEdit", &TfrmBanco::mnuEditClick);
  click("mnuDadosEmpr", &TfrmBanco::mnuDadosEmprClick);
  click("mnuEmpresa", &TfrmBanco::mnuEmpresaClick);
  click("mnuDados", &TfrmBanco::mnuDadosClick);
  click("mnuErroRetornoPag", &TfrmBanco::mnuErroRetornoPagClick);
  click("mnuErroRetornoRec", &TfrmBanco::mnuErroRetornoRecClick);
  click("mnuInstruCobr", &TfrmBanco::mnuInstruCobrClick);

  pages("pgcCNAB").onChange = [this](PageControl&) { pgcCNABChange(); };
  pages("pgcCNAB").onEnter = [this](forms::Control&) { pgcCNABEnter(); };
  pages("pgcEmpresa").onChange = [this](PageControl&) { pgcEmpresaChange(); };

  ctl<forms::Navigator>("dbnEmprBanc").onClick = [this](forms::Navigator&, forms::NavButton b) {
    dbnPadraoClick(b);
  };
  ctl<forms::Grid>("dbgInstruCobr").onKeyDown = [this](forms::Grid&, int& key, forms::Shift shift) {
    dbgPadraoKeyDown(key, shift);
  };
}

// ---- life cycle ------------------------------------------------------------------------

void TfrmBanco::FormCreate() {
  TfrmPadrao::FormCreate();
  {
    host::ShowAviScope indicator(nullptr, host::kAviConnect);
    netBanco.connect();
  }
  PrimeiraAtivacao = true;
  rddModelos.form = this;
  qryContCtbl.fieldByName("CDCONTCTBL").editMask = host::DBPict(2);
  if (host::ModuloAtiv() == "/") sheet("tshCNAB").setTabVisible(false);
}

void TfrmBanco::netBancoBeforeConnect() {
  netBanco.host = host::WebURL();
  netBanco.port = host::WebPort();
}

void TfrmBanco::FormActivate() {
  repaint();
  if (!PrimeiraAtivacao) return;

  for (auto [rs, code] :
       {std::pair{&cdsErrCnabPag, "CDERRCNABP"}, std::pair{&cdsErrCnabRec, "CDERRCNABR"},
        std::pair{&cdsInstruCobr, "CDINSTCOBR"}})
    rs->fieldByName(code).tag = kKeyFieldTag;

  {
    host::ShowAviScope indicator(nullptr, host::kAviFetch);
    host::fetchInto(netBanco, cdsBanco, "GetBanco");
  }

  qryChavPrim.close();
  qryChavPrim.paramByName("P_CDBANCO") = kBancoFundoFixo;
  qryChavPrim.open();
  if (qryChavPrim.isEmpty()) {
    // The ordinary save checks run on it; the agency mask is supplied because they refuse
    // a bank without one. "9999" is the plain four-digit agency most banks use.
    cdsBanco.insert();
    cdsBanco.fieldByName("CDBANCO").setString(kBancoFundoFixo);
    cdsBanco.fieldByName("NMBANCO").setString(msgPadrao.Msg("NMBANCO"));
    cdsBanco.fieldByName("CDPICTCONT").setString("9999-9");
    cdsBanco.fieldByName("CDBANCCNAB").setString(kBancoFundoFixo);
    cdsBanco.fieldByName("CDPICTAGEN").setString("9999");
    cdsBanco.post();
    pages("pgcPadrao").setActivePage(&sheet("tshFolhaDados"));
    pgcPadraoChange();
  }
  PrimeiraAtivacao = false;
}

void TfrmBanco::FormClose() {
  netBanco.disconnect();
  TfrmPadrao::FormClose();
  BancoCriado = false;
  // Closing releases the screen; a reference kept past that would point at nothing.
  if (frmBanco == this) frmBanco = nullptr;
}

// ---- shared helpers --------------------------------------------------------------------

TabSheet& TfrmBanco::sheet(std::string_view name) const {
  return ctl<TabSheet>(name);
}

MenuItem& TfrmBanco::menu(std::string_view name) const {
  return ctl<MenuItem>(name);
}

PageControl& TfrmBanco::pages(std::string_view name) const {
  return ctl<PageControl>(name);
}

bool TfrmBanco::mainTabIs(std::string_view name) const {
  const TabSheet* active = pages("pgcPadrao").activePage();
  return active && active->name() == name;
}

bool TfrmBanco::cnabSubTabIs(std::string_view name) const {
  const TabSheet* active = pages("pgcCNAB").activePage();
  return active && active->name() == name;
}

TfrmBanco::Place TfrmBanco::place() const {
  if (mainTabIs("tshFormulario")) return Place::Form;
  if (mainTabIs("tshDDA")) return Place::DDA;
  if (mainTabIs("tshCNAB")) {
    if (cnabSubTabIs("tshErroRetornoPag")) return Place::CnabPayables;
    if (cnabSubTabIs("tshErroRetornoRec")) return Place::CnabReceivables;
    if (cnabSubTabIs("tshInstruCobr")) return Place::CnabInstructions;
    return Place::CnabCompany;
  }
  return Place::List;
}

std::string TfrmBanco::codigoBanco() const {
  return cdsBanco.fieldByName("CDBANCO").asString();
}

bool TfrmBanco::semBancos() const {
  return cdsBanco.isEmpty() && cdsBanco.state() != data::DataSetState::Insert;
}

host::ProgressHooks TfrmBanco::updateProgress() {
  host::ProgressHooks hooks;
  hooks.text = msgPadrao.Msg("Atual_Oper");
  hooks.show = [this](const std::string& text) {
    host::ActiveShowAvi(this, host::kAviUpdate, text);
  };
  hooks.hide = [] { host::DeactiveShowAvi(); };
  hooks.repaint = [this] { repaint(); };
  return hooks;
}

void TfrmBanco::apply(data::RecordSet& rs, host::ApplySpec plan) {
  plan.progress = updateProgress();
  host::applyUpdates(netBanco, rs, plan);
}

void TfrmBanco::setModelEditEnabled(bool enabled) {
  auto& sbtEdit = ctl<CommandButton>("sbtEdit");
  sbtEdit.setEnabled(enabled && host::ModuloAtiv() != "/");
  menu("mnuEdit").setEnabled(sbtEdit.enabled());
}

void TfrmBanco::keepPrintOff() {
  setCommandEnabled("Imprimir", false);
}

}  // namespace qbk::module
