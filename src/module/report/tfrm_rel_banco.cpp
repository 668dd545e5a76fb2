#include "module/report/tfrm_rel_banco.h"

#include "forms/buttons.h"
#include "forms/choices.h"
#include "host/errors_ui.h"
#include "host/search.h"
#include "module/frame/field_specs.h"
#include "module/frame/module_entry.h"

namespace qbk::host::resource {
extern const std::string_view msgPadraoRelBanco;
}

namespace qbk::module {

std::string ListaBanco;

TfrmRelBanco::TfrmRelBanco(host::Application& app)
    : TfrmDadosGerRel(app), msgPadrao(host::resource::msgPadraoRelBanco) {
  qryBanco.SQL =
      "SELECT CDBANCO, NMBANCO\n"
      "FROM BANCO\n"
      "ORDER BY CDBANCO";
  declareFields(qryBanco, {text("CDBANCO", 3, "Código"), text("NMBANCO", 30, "Nome")});
  dtsBanco__.setDataSet(&qryBanco);
  rpddPadrao.onBeforeGetQueryParams = [this](host::report::ReportParams& params, bool& flag) {
    rpddPadraoBeforeGetQueryParams(params, flag);
  };
}

TfrmRelBanco::~TfrmRelBanco() {
  if (frmRelBanco == this) frmRelBanco = nullptr;
  dtsBanco__.setDataSet(nullptr);
}

void TfrmRelBanco::registerDataSources(forms::FormBuilder& b) {
  b.addDataSource(dtsBanco__.name(), &dtsBanco__);
}

void TfrmRelBanco::bindEvents() {
  TfrmDadosGerRel::bindEvents();
  c_.resolve(form());
  c_.rbtClienteTodos->onClick = [this](forms::RadioButton&) { rbtClienteTodosClick(); };
  c_.rbtBancoLista->onClick = [this](forms::RadioButton&) { rbtClienteTodosClick(); };
  c_.BtpBanco->onClick = [this](forms::CommandButton&) { BtpBancoClick(); };
}

void TfrmRelBanco::FormActivate() {
  if (activated_) return;
  activated_ = true;
  TfrmDadosGerRel::FormActivate();
  repaint();
  qryBanco.open();
  c_.rbtClienteTodos->setChecked(true);
  rbtClienteTodosClick();
}

void TfrmRelBanco::rbtClienteTodosClick() {
  c_.BtpBanco->setEnabled(c_.rbtBancoLista->checked());
}

void TfrmRelBanco::BtpBancoClick() {
  host::PesquisaLista(dtsBanco__, "CDBANCO", msgPadrao.Msg("BANCO"), false, ListaBanco);
}

void TfrmRelBanco::Vd_CdBanco() {
  if (c_.rbtBancoLista->checked() && ListaBanco.empty()) {
    c_.rbtBancoLista->setFocus();
    host::MensErro(msgPadrao.Msg("Banco_inf"), true);
  }
}

void TfrmRelBanco::sbtPrintClick() {
  Vd_CdBanco();
  TfrmDadosGerRel::sbtPrintClick();
}

void TfrmRelBanco::sbtPreviewClick() {
  Vd_CdBanco();
  TfrmDadosGerRel::sbtPreviewClick();
}

void TfrmRelBanco::sbtSalvarComoClick() {
  Vd_CdBanco();
  TfrmDadosGerRel::sbtSalvarComoClick();
}

void TfrmRelBanco::sbtReportEditClick() {
  Vd_CdBanco();
  TfrmDadosGerRel::sbtReportEditClick();
}

void TfrmRelBanco::rpddPadraoBeforeGetQueryParams(host::report::ReportParams& params, bool&) {
  using host::report::ExistParam;
  if (ExistParam(params, "CDBANCO")) {
    if (c_.rbtClienteTodos->checked()) {
      params.ParamByName("TCDBANCO") = "T";
      params.ParamByName("CDBANCO") = "";
    } else {
      params.ParamByName("TCDBANCO") = "";
      params.ParamByName("CDBANCO") = ListaBanco;
    }
  }
  if (opcaoIndex() == 1 && ExistParam(params, "P_TESTE")) params.ParamByName("P_TESTE") = "S";
}

}  // namespace qbk::module
