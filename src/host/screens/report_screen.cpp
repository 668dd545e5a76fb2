#include "host/screens/report_screen.h"

#include <chrono>

#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/static_controls.h"
#include "host/config.h"
#include "host/errors_ui.h"
#include "host/progress.h"
#include "host/report/report_query.h"
#include "host/screens/application.h"
#include "host/user_interface.h"

namespace qbk::host {

namespace {

// "QBK512-Bancos do Sul.qr2": the title as it was typed, less what a file name cannot hold.
std::string copyFileName(const std::string& code, const std::string& title) {
  std::string name = code + "-";
  for (char c : title)
    name += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name + ".qr2";
}

}  // namespace

TfrmDadosGerRel::TfrmDadosGerRel(Application& app)
    : Screen(app), msgMensagensPadroes(standardMessages()) {
  rpddPadrao.form = this;
}

void TfrmDadosGerRel::bindEvents() {
  auto onButton = [this](const char* name, void (TfrmDadosGerRel::*handler)()) {
    form().find<forms::CommandButton>(name).onClick = [this, handler](forms::CommandButton&) {
      (this->*handler)();
    };
  };
  onButton("sbtPrint", &TfrmDadosGerRel::sbtPrintClick);
  onButton("sbtPreview", &TfrmDadosGerRel::sbtPreviewClick);
  onButton("sbtSalvarComo", &TfrmDadosGerRel::sbtSalvarComoClick);
  onButton("sbtReportEdit", &TfrmDadosGerRel::sbtReportEditClick);
  onButton("sbtFechar", &TfrmDadosGerRel::sbtFecharClick);
}

void TfrmDadosGerRel::FormActivate() {}

std::string TfrmDadosGerRel::reportCode() const {
  return form().find<forms::Label>("lblCodRel").caption();
}

int TfrmDadosGerRel::opcaoIndex() const {
  return form().find<forms::ComboBox>("cbbOpcao").itemIndex();
}

std::filesystem::path TfrmDadosGerRel::definitionFile() {
  const std::string dir = ReportDir();
  const std::string code = reportCode();
  std::filesystem::path file = report::findReportDefinition(dir, code);
  if (file.empty()) {
    MensErro(formatMessage(reportMessages().Msg("Arq_Rel_Err"), {code, dir}), true);
  }
  return file;
}

report::ReportRun TfrmDadosGerRel::runReport() {
  report::ReportRun run;
  run.file = definitionFile();
  run.definition = report::loadReportDefinition(run.file);
  run.params = report::ReportParams(run.definition);
  bool flag = true;
  if (rpddPadrao.onBeforeGetQueryParams) rpddPadrao.onBeforeGetQueryParams(run.params, flag);
  ShowAviScope indicator(this, kAviFetch);
  run.data = report::runReportQuery(app().sharedDatabase(), run.definition, run.params);
  run.document = report::layoutReport(run.definition, run.data);
  return run;
}

void TfrmDadosGerRel::present(report::ReportAction action) {
  lastRun_ = runReport();
  if (const auto& presenter = report::reportPresenter()) presenter(action, *lastRun_, this);
}

void TfrmDadosGerRel::sbtPrintClick() {
  present(report::ReportAction::Print);
}

void TfrmDadosGerRel::sbtPreviewClick() {
  present(report::ReportAction::Preview);
}

void TfrmDadosGerRel::sbtSalvarComoClick() {
  const std::filesystem::path file = definitionFile();
  report::ReportDefinition definition = report::loadReportDefinition(file);
  const TMessages& msg = reportMessages();
  const auto title =
      userInterface().askText(msg.Msg("NovoCaption"), msg.Msg("NovoPrompt"), definition.title);
  if (!title || title->find_first_not_of(' ') == std::string::npos) return;
  definition.title = *title;
  const std::filesystem::path copy =
      file.parent_path() /
      copyFileName(definition.code.empty() ? reportCode() : definition.code, *title);
  std::error_code ec;
  if (std::filesystem::exists(copy, ec) &&
      !userInterface().confirm("Já existe o relatório " + copy.filename().string() +
                               ". Deseja substituí-lo?")) {
    return;
  }
  report::saveReportDefinition(definition, copy);
  savedCopy_ = copy;
  userInterface().showInfo("Relatório salvo em " + copy.string() + ".");
}

void TfrmDadosGerRel::sbtReportEditClick() {
  const std::filesystem::path file = definitionFile();
  repaint();
  rpddPadrao.EditReport(file.string(), std::chrono::system_clock::now());
}

void TfrmDadosGerRel::sbtFecharClick() {
  close();
}

}  // namespace qbk::host
