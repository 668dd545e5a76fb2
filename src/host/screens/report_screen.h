// The host's base report screen: a command bar (Imprimir, Visualizar, Salvar Como, Editar
// Relatório, Fechar) with the option combo box cbbOpcao, the labels of the screen code and
// the report code (lblCodTela, lblCodRel), the group box grbDadosRel that the derived
// screen fills with its choices, and the designer component rpddPadrao.
//
// Each command runs the report named by lblCodRel from the report directory: the
// definition "<code>.qr2" is read, rpddPadrao's onBeforeGetQueryParams lets the screen fill
// the parameters, the query runs on the host's shared connection and its rows are laid out
// into pages, which the report presenter prints or previews.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "host/messages.h"
#include "host/report/report_output.h"
#include "host/report_designer.h"
#include "host/screens/screen.h"

namespace qbk::host {

// Resource name of the base report screen, registered with every Application.
inline constexpr const char* kReportScreenResource = "TfrmDadosGerRel";

class TfrmDadosGerRel : public Screen {
 public:
  explicit TfrmDadosGerRel(Application& app);

  std::string resourceName() const override { return kReportScreenResource; }
  void bindEvents() override;

  // The designer: it asks for the parameters before each run and edits the definition.
  TReportDesignerDialog rpddPadrao;
  TMessages msgMensagensPadroes;

  // ---- base handlers (override to add to them; call TfrmDadosGerRel::X for the base) ----
  void FormActivate() override;
  virtual void sbtPrintClick();    // run, then print
  virtual void sbtPreviewClick();  // run, then preview
  // Asks a title ("NovoCaption", "NovoPrompt") and saves a copy of the definition with it,
  // as "<code>-<title>.qr2" beside the original (asking before replacing one). The screen
  // keeps running its own definition; the copy is there to be edited and kept.
  virtual void sbtSalvarComoClick();
  virtual void sbtReportEditClick();  // the definition in the designer
  virtual void sbtFecharClick();

  // The report code (lblCodRel) and the option picked in cbbOpcao (-1: none).
  std::string reportCode() const;
  int opcaoIndex() const;

  // The definition file of the report in ReportDir; a missing one shows "Arq_Rel_Err"
  // with the report code and the directory, and stops the command.
  std::filesystem::path definitionFile();
  // Runs the report as the commands do, without handing it to the presenter.
  report::ReportRun runReport();
  // The last report a command ran.
  const std::optional<report::ReportRun>& lastRun() const { return lastRun_; }
  // The copy Salvar Como wrote last.
  const std::filesystem::path& savedCopy() const { return savedCopy_; }

 protected:
  // The screen's own message table, which holds the texts the commands show
  // ("Arq_Rel_Err", "NovoCaption", "NovoPrompt").
  virtual const TMessages& reportMessages() const = 0;

 private:
  void present(report::ReportAction action);
  std::optional<report::ReportRun> lastRun_;
  std::filesystem::path savedCopy_;
};

}  // namespace qbk::host
