// The print models of a bank: picking their files, and opening the cheque and boleto models
// in the report designer.
#include <chrono>
#include <filesystem>
#include <string>

#include "forms/buttons.h"
#include "forms/edits.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "host/config.h"
#include "host/errors_ui.h"
#include "host/strings.h"
#include "host/user_interface.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

namespace {

constexpr const char* kFiltroModelo = "Arquivos de Relatório (*.qr2)|*.qr2";
constexpr const char* kFiltroImagem = "Arquivos de Imagem (*.bmp)|*.bmp";

// Replaces each "%s" of `format` with the next argument; a text without placeholders comes
// back unchanged, and surplus placeholders stay as they are.
std::string formatText(std::string format, std::initializer_list<std::string> args) {
  std::size_t from = 0;
  for (const std::string& arg : args) {
    const auto at = format.find("%s", from);
    if (at == std::string::npos) break;
    format.replace(at, 2, arg);
    from = at + arg.size();
  }
  return format;
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(std::filesystem::u8path(path), ec);
}

}  // namespace

void TfrmBanco::pickModelFile(std::string_view edit, const std::string& filter) {
  // The bank goes into edit first: a cancelled dialog leaves it there, as it leaves any
  // edit started by a person.
  if (cdsBanco.state() == data::DataSetState::Browse) cdsBanco.edit();
  const std::optional<std::string> chosen = host::userInterface().openFile(filter, "");
  if (!chosen) return;
  // The field keeps what fits its size; the edit shows what was stored.
  ctl<forms::DBEdit>(edit).field()->setString(*chosen);
}

void TfrmBanco::btpModChequeClick() {
  pickModelFile("dbeModCheque", kFiltroModelo);
}
void TfrmBanco::btpModBolCompClick() {
  pickModelFile("dbeModBolComp", kFiltroModelo);
}
void TfrmBanco::btpModBolPreiClick() {
  pickModelFile("dbeModBolPrei", kFiltroModelo);
}
void TfrmBanco::btpModBorCobClick() {
  pickModelFile("dbeModBorCob", kFiltroModelo);
}
void TfrmBanco::BtpModBorPagClick() {
  pickModelFile("dbeModBorPag", kFiltroModelo);
}
void TfrmBanco::BtpModBorCheClick() {
  pickModelFile("dbeModBorChe", kFiltroModelo);
}
void TfrmBanco::btpLogMarClick() {
  pickModelFile("dbeModLogMar", kFiltroImagem);
}

void TfrmBanco::sbtEditClick() {
  // The model pop-up opens under the button, at its lower-left corner on the screen.
  const auto& button = ctl<forms::CommandButton>("sbtEdit");
  int x = button.left();
  int y = button.top() + button.height();
  for (const forms::Control* p = button.parent(); p; p = p->parent()) {
    x += p->left();
    y += p->top();
  }
  ctl<forms::PopupMenu>("pmnEditModelo").popup(form().left() + x, form().top() + y);
}

void TfrmBanco::mnuEditClick() {
  ctl<forms::CommandButton>("sbtEdit").click();
}

namespace {

struct ModelRow {
  const char* edit;
  const char* field;
  const char* messageKey;
};
constexpr ModelRow kCheque{"dbeModCheque", "DSARQCHEQUE", "Cheque_inf"};
constexpr ModelRow kBolComp{"dbeModBolComp", "DSARQBOLCOMP", "Bcomp_inf"};
constexpr ModelRow kBolPrei{"dbeModBolPrei", "DSARQBOLPREI", "Bprei_inf"};

}  // namespace

void TfrmBanco::requireModelNamed(std::string_view edit, const char* messageKey) {
  if (!ctl<forms::Edit>(edit).text().empty()) return;
  pages("pgcPadrao").setActivePage(&sheet("tshFormulario"));
  ctl<forms::Edit>(edit).setFocus();
  host::MensErro(msgPadrao.Msg(messageKey), true);
}

void TfrmBanco::Vd_EditModCheque() {
  requireModelNamed(kCheque.edit, kCheque.messageKey);
}
void TfrmBanco::Vd_EditModBolComp() {
  requireModelNamed(kBolComp.edit, kBolComp.messageKey);
}
void TfrmBanco::Vd_EditModBolPrei() {
  requireModelNamed(kBolPrei.edit, kBolPrei.messageKey);
}

void TfrmBanco::mnuModChequeClick() {
  Vd_EditModCheque();
  EditaModelo(cdsBanco.fieldByName(kCheque.field).asString());
}
void TfrmBanco::mnuModBolCompClick() {
  Vd_EditModBolComp();
  EditaModelo(cdsBanco.fieldByName(kBolComp.field).asString());
}
void TfrmBanco::mnuModBolpreiClick() {
  Vd_EditModBolPrei();
  EditaModelo(cdsBanco.fieldByName(kBolPrei.field).asString());
}

void TfrmBanco::EditaModelo(const std::string& path) {
  if (fileExists(path)) {
    repaint();
    rddModelos.EditReport(path, std::chrono::system_clock::now());
    return;
  }
  host::userInterface().showError(
      formatText(msgPadrao.Msg("Arq_Rel_Err"), {path, host::ReportDir()}));
}

}  // namespace qbk::module
