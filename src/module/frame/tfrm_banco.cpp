#include "module/frame/tfrm_banco.h"

#include "host/config.h"
#include "host/progress.h"
#include "module/frame/module_entry.h"
#include "protocol/bank_object.h"

namespace qbk::host::resource {
extern const std::string_view msgPadraoBanco;
}

namespace qbk::module {

TfrmBanco::TfrmBanco(host::Application& app)
    : TfrmPadrao(app),
      msgPadrao(host::resource::msgPadraoBanco),
      bank_(*this),
      cnab_(*this),
      codes_(*this),
      dda_(*this),
      parts_{&bank_, &cnab_, &codes_, &dda_} {
  // Before the form is built, so that the controls of dtsPadrao follow the banks.
  dtsPadrao.setDataSet(&bank_.cdsBanco);
  reloadMainData = [this] { fetch(bank_.cdsBanco, protocol::method::GetBanco); };
  netBanco.beforeConnect = [this](host::NetConnection&) { netBancoBeforeConnect(); };
  buildPlaces();
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
  for (ScreenPart* part : parts_) part->registerDataSources(b);
}

void TfrmBanco::bindEvents() {
  TfrmPadrao::bindEvents();
  c_.resolve(form());
  places_.resolve(form());
  ways_.resolve(form());
  for (ScreenPart* part : parts_) part->bind(form());

  auto click = [this](forms::MenuItem& item, void (TfrmBanco::*handler)()) {
    item.onClick = [this, handler](forms::MenuItem&) { (this->*handler)(); };
  };
  click(*c_.mnuDadosEmpr, &TfrmBanco::mnuDadosEmprClick);
  click(*c_.mnuErroRetornoPag, &TfrmBanco::mnuErroRetornoPagClick);
  click(*c_.mnuErroRetornoRec, &TfrmBanco::mnuErroRetornoRecClick);
  click(*c_.mnuInstruCobr, &TfrmBanco::mnuInstruCobrClick);
  c_.pgcCNAB->onChange = [this](forms::PageControl&) { pgcCNABChange(); };
}

// ---- life cycle ------------------------------------------------------------------------

void TfrmBanco::FormCreate() {
  TfrmPadrao::FormCreate();
  {
    host::ShowAviScope indicator(nullptr, host::kAviConnect);
    netBanco.connect();
  }
  PrimeiraAtivacao = true;
  for (ScreenPart* part : parts_) part->created();
  if (host::ModuloAtiv() == "/") c_.tshCNAB->setTabVisible(false);
}

void TfrmBanco::netBancoBeforeConnect() {
  netBanco.host = host::WebURL();
  netBanco.port = host::WebPort();
}

void TfrmBanco::FormActivate() {
  repaint();
  if (!PrimeiraAtivacao) return;
  codes_.markKeyFields();
  {
    host::ShowAviScope indicator(nullptr, host::kAviFetch);
    fetch(bank_.cdsBanco, protocol::method::GetBanco);
  }
  bank_.insertFixedFundIfMissing();
  PrimeiraAtivacao = false;
}

void TfrmBanco::FormClose() {
  netBanco.disconnect();
  TfrmPadrao::FormClose();
  BancoCriado = false;
  // Closing releases the screen; a reference kept past that would point at nothing.
  if (frmBanco == this) frmBanco = nullptr;
}

// ---- what the parts share ----------------------------------------------------------------

void TfrmBanco::lockWays() {
  ways_.apply(places_.edited(), bank_.semBancos());
  bank_.setBankListImportEnabled(!places_.edited() &&
                                 bank_.cdsBanco.state() == data::DataSetState::Browse);
}

void TfrmBanco::apply(data::RecordSet& rs, host::ApplySpec plan) {
  plan.progress.text = msgPadrao.Msg("Atual_Oper");
  plan.progress.show = [this](const std::string& text) {
    host::ActiveShowAvi(this, host::kAviUpdate, text);
  };
  plan.progress.hide = [] { host::DeactiveShowAvi(); };
  plan.progress.repaint = [this] { repaint(); };
  try {
    host::applyUpdates(netBanco, rs, plan);
  } catch (...) {
    // The cancelled changes may have taken rows away without a change of state (the
    // first bank of an empty table, say): the rules of the place must see the rows left.
    if (const Place* place = places_.showing(rs); place && place->actions.stateChanged) {
      try {
        place->actions.stateChanged();
      } catch (...) {
      }
    }
    throw;
  }
}

void TfrmBanco::fetch(data::RecordSet& rs, std::string_view method, data::VariantArray args) {
  host::fetchInto(netBanco, rs, method, std::move(args));
}

void TfrmBanco::bankChanged() {
  for (ScreenPart* part : parts_) part->bankChanged();
}

}  // namespace qbk::module
