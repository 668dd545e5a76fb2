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
#include "module/bank/bank_record.h"
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

void BankRecord::pickModelFile(forms::DBEdit& edit, const std::string& filter) {
  // The bank goes into edit first: a cancelled dialog leaves it there, as it leaves any
  // edit started by a person.
  if (cdsBanco.state() == data::DataSetState::Browse) cdsBanco.edit();
  const std::optional<std::string> chosen = host::userInterface().openFile(filter, "");
  if (!chosen) return;
  data::Field& field = *edit.field();
  // A cut path would name another file: the choice is refused and the field kept.
  const std::size_t length = data::utf8Length(*chosen);
  if (field.size() > 0 && length > static_cast<std::size_t>(field.size())) {
    edit.setFocus();
    host::MensErro("O caminho escolhido tem " + std::to_string(length) +
                       " caracteres, mas o campo \"" + field.label() + "\" aceita no máximo " +
                       std::to_string(field.size()) +
                       ". Escolha um arquivo com caminho mais curto.",
                   true);
  }
  field.setString(*chosen);
}

void BankRecord::btpModChequeClick() {
  pickModelFile(*c_.dbeModCheque, kFiltroModelo);
}
void BankRecord::btpModBolCompClick() {
  pickModelFile(*c_.dbeModBolComp, kFiltroModelo);
}
void BankRecord::btpModBolPreiClick() {
  pickModelFile(*c_.dbeModBolPrei, kFiltroModelo);
}
void BankRecord::btpModBorCobClick() {
  pickModelFile(*c_.dbeModBorCob, kFiltroModelo);
}
void BankRecord::BtpModBorPagClick() {
  pickModelFile(*c_.dbeModBorPag, kFiltroModelo);
}
void BankRecord::BtpModBorCheClick() {
  pickModelFile(*c_.dbeModBorChe, kFiltroModelo);
}
void BankRecord::btpLogMarClick() {
  pickModelFile(*c_.dbeModLogMar, kFiltroImagem);
}

void BankRecord::sbtEditClick() {
  // The model pop-up opens under the button, at its lower-left corner on the screen.
  const auto& button = *c_.sbtEdit;
  int x = button.left();
  int y = button.top() + button.height();
  for (const forms::Control* p = button.parent(); p; p = p->parent()) {
    x += p->left();
    y += p->top();
  }
  c_.pmnEditModelo->popup(screen_.form().left() + x, screen_.form().top() + y);
}

void BankRecord::mnuEditClick() {
  c_.sbtEdit->click();
}

void BankRecord::requireModelNamed(forms::Edit& edit, const char* messageKey) {
  if (!edit.text().empty()) return;
  c_.pgcPadrao->setActivePage(&*c_.tshFormulario);
  edit.setFocus();
  host::MensErro(screen_.msgPadrao.Msg(messageKey), true);
}

void BankRecord::Vd_EditModCheque() {
  requireModelNamed(*c_.dbeModCheque, "Cheque_inf");
}
void BankRecord::Vd_EditModBolComp() {
  requireModelNamed(*c_.dbeModBolComp, "Bcomp_inf");
}
void BankRecord::Vd_EditModBolPrei() {
  requireModelNamed(*c_.dbeModBolPrei, "Bprei_inf");
}

void BankRecord::mnuModChequeClick() {
  Vd_EditModCheque();
  EditaModelo(cdsBanco.fieldByName("DSARQCHEQUE").asString());
}
void BankRecord::mnuModBolCompClick() {
  Vd_EditModBolComp();
  EditaModelo(cdsBanco.fieldByName("DSARQBOLCOMP").asString());
}
void BankRecord::mnuModBolpreiClick() {
  Vd_EditModBolPrei();
  EditaModelo(cdsBanco.fieldByName("DSARQBOLPREI").asString());
}

void BankRecord::EditaModelo(const std::string& path) {
  if (fileExists(path)) {
    screen_.repaint();
    rddModelos.EditReport(path, std::chrono::system_clock::now());
    return;
  }
  host::userInterface().showError(
      formatText(screen_.msgPadrao.Msg("Arq_Rel_Err"), {path, host::ReportDir()}));
}

}  // namespace qbk::module
