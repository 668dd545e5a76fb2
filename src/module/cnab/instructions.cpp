// The two default collection instructions of a company: picked from the bank's
// instruction table or typed, and checked against that table on leaving their edit and at
// the save.
#include "host/errors_ui.h"
#include "host/strings.h"
#include "module/cnab/company_settings.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

namespace method = protocol::method;

namespace {
// Not in the screen's message table, whose keys other screens share.
constexpr const char* kSemEmpresas = "Não há empresa com dados de CNAB para este banco.";
}  // namespace

void CompanySettings::btpPesqInstruBeforePesq() {
  // A row started without a company could neither be confirmed nor left (only an edited
  // row opens Confirmar and Cancelar) and would be saved without its company.
  if (cdsEmprBanc.isEmpty()) host::MensErro(kSemEmpresas, true);
  screen_.fetch(cdsPesqInstru, method::GetPesqInstru, {screen_.bank().codigoBanco(), ""});
}

void CompanySettings::btpPesqInstruAfterPesq(forms::DBEdit& edit) {
  const std::string chosen = cdsPesqInstru.fieldByName("CDINSTCOBR").asString();
  editRow();
  // Checked when the edit is left or the row confirmed, as a typed code is.
  edit.setText(chosen);
}

void CompanySettings::dbeInstExit(forms::DBEdit& edit) {
  if (cdsEmprBanc.editing()) Vd_InstruCobr(edit);
}

void CompanySettings::Vd_InstruCobr(forms::DBEdit& edit) {
  const std::string code = edit.text();
  if (host::EmptyString(code)) return;
  checkingIn(edit, [&] {
    screen_.fetch(cdsPesqInstru, method::GetPesqInstru, {screen_.bank().codigoBanco(), code});
    if (cdsPesqInstru.isEmpty()) host::MensErro(screen_.msgPadrao.Msg("INSTRU_N_CAD"), true);
    if (c_.dbeInst1->text() == c_.dbeInst2->text())
      host::MensErro(screen_.msgPadrao.Msg("1INSTRU_2INSTRU"), true);
  });
}

}  // namespace qbk::module
