// The account and agency masks: "9" and "a" are positions, one "-" separates the number
// from its check-digit part, and "a" may stand only in that part.
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/keys.h"
#include "host/errors_ui.h"
#include "host/strings.h"
#include "module/bank/bank_record.h"
#include "module/bank/programmatic_change.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

namespace {

// At most this many "9" or "a" in an agency mask.
constexpr int kMaxAgencySignificant = 5;
constexpr std::size_t kMaxAgencyCheckDigits = 2;

// An "a" before the separator: a letter in the number part. Without a separator the mask is
// taken as all number and any "a" passes, as typed masks such as "99a" always did.
bool letterBeforeSeparator(const std::string& mask) {
  const auto a = mask.find('a');
  const auto dash = mask.find('-');
  return a != std::string::npos && dash != std::string::npos && a < dash;
}

void filterMaskKey(const forms::Edit& edit, char32_t& key) {
  const std::string& text = edit.text();
  const auto dash = text.find('-');
  if (key == U'A') key = U'a';
  if (key == U'a' &&
      (dash == std::string::npos || static_cast<std::size_t>(edit.selStart()) < dash + 1)) {
    key = 0;
    return;
  }
  if (key != U'9' && key != U'a' && key != U'-' && key != forms::chars::Backspace) {
    key = 0;
    return;
  }
  if (key == U'-' && dash != std::string::npos) key = 0;
}

void digitsOnly(char32_t& key) {
  if ((key < U'0' || key > U'9') && key != forms::chars::Backspace) key = 0;
}

}  // namespace

void BankRecord::dbeMascaraCCKeyPress(forms::Edit& edit, char32_t& key) {
  filterMaskKey(edit, key);
}

void BankRecord::dbeMascAgenciaKeyPress(forms::Edit& edit, char32_t& key) {
  filterMaskKey(edit, key);
}

void BankRecord::dbeBancCNABKeyPress(forms::Edit&, char32_t& key) {
  digitsOnly(key);
}

void BankRecord::dbeDiaProKeyPress(forms::Edit&, char32_t& key) {
  digitsOnly(key);
}

void BankRecord::Mascara_Banco(bool strict) {
  const std::string mask = c_.dbeMascaraCC->text();
  const char* failure = nullptr;
  if (host::EmptyString(mask)) {
    if (strict) failure = "MascCC_inv";
  } else if (letterBeforeSeparator(mask)) {
    failure = "MASK_INV";
  }
  if (!failure) return;
  screen_.mnuFormularioClick();
  c_.dbeMascaraCC->setFocus();
  host::MensErro(screen_.msgPadrao.Msg(failure), true);
}

void BankRecord::Mascara_Agencia(bool strict) {
  if (!strict) return;
  const std::string mask = c_.dbeMascAgencia->text();
  const char* failure = nullptr;
  if (host::EmptyString(mask)) {
    failure = "MascAgen_inv";
  } else if (const auto dash = mask.find('-'); dash != std::string::npos) {
    {
      ProgrammaticChange mark(cdsBanco);
      c_.chkVerifAgen->setChecked(true);
    }
    const std::size_t checkDigits = mask.size() - dash - 1;
    if (checkDigits == 0 || checkDigits > kMaxAgencyCheckDigits)
      failure = "DIG_INV";
    else if (letterBeforeSeparator(mask))
      failure = "MASK_INV";
  }
  if (!failure) return;
  screen_.mnuFormularioClick();
  c_.dbeMascAgencia->setFocus();
  host::MensErro(screen_.msgPadrao.Msg(failure), true);
}

void BankRecord::Vd_tamanho_agencia() {
  const std::string mask = c_.dbeMascAgencia->text();
  if (host::EmptyString(mask)) return;
  int significant = 0;
  for (char c : mask)
    if (c == '9' || c == 'a') ++significant;
  if (significant <= kMaxAgencySignificant) return;
  c_.dbeMascAgencia->setFocus();
  host::MensErro(screen_.msgPadrao.Msg("PictProd_maior"), true);
}

void BankRecord::chkVerifAgenClick() {
  if (cdsBanco.tag != kProgrammaticChange && cdsBanco.state() == data::DataSetState::Browse)
    cdsBanco.edit();
  if (!cdsBanco.editing()) return;
  data::Field& field = cdsBanco.fieldByName("CDPICTAGEN");
  std::string mask = field.asString();
  const auto dash = mask.find('-');
  const bool checked = c_.chkVerifAgen->checked();
  if (checked && dash == std::string::npos) {
    field.setString(mask + "-");
  } else if (!checked && dash != std::string::npos) {
    // What followed the separator stays: "9999-9" becomes "99999".
    mask.erase(dash, 1);
    field.setString(mask);
  }
}

}  // namespace qbk::module
