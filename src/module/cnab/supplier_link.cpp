// The supplier that anticipates the boletos of a company on the 399 clearing house with the
// 266-position layout: typed by registration number or picked from the supplier list,
// looked up at the save, and shown formatted by its person type.
#include "module/cnab/supplier_link.h"

#include "host/errors_ui.h"
#include "host/inscricao.h"
#include "host/strings.h"
#include "module/cnab/company_settings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

std::string Nr_Codigo(std::string_view text) {
  // Alphanumeric CNPJs carry letters in their first twelve positions: they are part of the
  // number, and dropping them would find no supplier.
  return host::registrationCharacters(text);
}

std::string registrationText(const data::Field& number) {
  const data::Field* type = number.dataSet().findField("IDTPIJURFORN");
  const std::string mask = type ? host::PictPess(type->asString()) : std::string();
  return host::FormatMaskText(mask, number.asString());
}

namespace {

bool isSupplier399With266(const CompanySettings& cs, const std::string& clearing) {
  return clearing == "399" && cs.cdsEmprBanc.fieldByName("IDLAYOUTCNAB").asString() == "266";
}

}  // namespace

void CompanySettings::Vd_FornBanc() {
  if (!isSupplier399With266(*this, screen_.bank().codigoCompensacao())) return;
  if (host::EmptyString(c_.dbeCdFornBanc->text())) {
    c_.dbeCdFornBanc->setFocus();
    host::MensErro(screen_.msgPadrao.Msg("Forn_n_inf"), true);
  }
  Vd_NrInsJurForn();
}

void CompanySettings::Vd_NrInsJurForn() {
  // Confirmar is open only while the row is edited.
  if (cdsEmprBanc.state() != data::DataSetState::Edit) return;
  const std::string typed = c_.dbeCdFornBanc->text();
  if (host::EmptyString(typed)) return;
  checkingIn(*c_.dbeCdFornBanc, [&] {
    std::string number = Nr_Codigo(typed);
    const char type = host::Ajusta_Inscricao(number);
    qryFornecedor.close();
    qryFornecedor.paramByName("P_NRINSJURFORN") = number;
    qryFornecedor.paramByName("P_TNRINSJURFORN") = "N";
    qryFornecedor.open();
    if (qryFornecedor.isEmpty()) host::MensErro(screen_.msgPadrao.Msg("CDFORN_NC"), true);
    if (qryFornecedor.fieldByName("IDSITUCADA").asString() == "I")
      host::MensErro(screen_.msgPadrao.Msg("FORN_INA"), true);
    field("IDTPIJURFORN").setString(std::string(1, type));
    field("NRINSJURFORN").setString(number);
    field("NMRAZSOCFORN").setString(qryFornecedor.fieldByName("NMRAZSOCFORN").asString());
    field("CDFORNECED").setString(qryFornecedor.fieldByName("CDFORNECED").asString());
  });
}

void CompanySettings::btpPesqFornBancBeforePesq() {
  qryFornecedor.close();
  qryFornecedor.paramByName("P_TNRINSJURFORN") = "T";
  qryFornecedor.paramByName("P_NRINSJURFORN") = "";
  qryFornecedor.open();
}

void CompanySettings::btpPesqFornBancAfterPesq() {
  if (qryFornecedor.fieldByName("IDSITUCADA").asString() == "I") {
    c_.dbeCdFornBanc->setFocus();
    host::MensErro(screen_.msgPadrao.Msg("FORN_INA"), true);
  }
  editRow();
  // The whole link at once, so the box shows the number formatted; the save looks it up
  // again.
  for (const char* name : {"IDTPIJURFORN", "NRINSJURFORN", "NMRAZSOCFORN", "CDFORNECED"})
    field(name).setString(qryFornecedor.fieldByName(name).asString());
}

void CompanySettings::dbeCdFornBancEnter() {
  // What is typed is a new number: its type and name are known again only once it is
  // looked up, and it is typed without the mask's punctuation.
  if (!cdsEmprBanc.editing()) return;
  field("IDTPIJURFORN").setString("");
  field("NMRAZSOCFORN").setString("");
  const std::string stored = field("NRINSJURFORN").asString();
  const std::string trimmed(host::trimBlanks(stored));
  if (c_.dbeCdFornBanc->text() != trimmed) c_.dbeCdFornBanc->setText(trimmed);
}

void CompanySettings::dbeCdFornBancExit() {
  if (cdsEmprBanc.editing()) Vd_NrInsJurForn();
}

}  // namespace qbk::module
