// The payables write-off type and the payment current account of a company, used when DDA
// files are imported: typed or picked, checked against the database, with their names and
// the account's bank, agency, number and description copied into the row. The account may
// be at any bank, not only the one on screen.
#include "host/errors_ui.h"
#include "host/strings.h"
#include "module/cnab/company_settings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

namespace {

// The account's columns in the order they are copied, the code first: writing the code
// clears the other copies (the edit's change handler), so they must follow it.
constexpr std::pair<const char*, const char*> kAccountCopies[] = {
    {"CDREDUCONT", "CDREDUCONT"}, {"CDBANCO", "CDBANCODDA"},    {"CDAGENCIA", "CDAGENCIA"},
    {"CDCONTCORR", "CDCONTCORR"}, {"DSCONTCORR", "DSCONTCORR"},
};

}  // namespace

void CompanySettings::btnTipoBaixaBeforePesq() {
  // Read afresh at every search.
  qryPesqTbBaixa.close();
  qryPesqTbBaixa.open();
}

void CompanySettings::btnTipoBaixaAfterPesq() {
  editRow();
  field("CDTPBAIXAPAG").setString(qryPesqTbBaixa.fieldByName("CDTPBAIXAPAG").asString());
  field("NMTPBAIXAPAG").setString(qryPesqTbBaixa.fieldByName("NMTPBAIXAPAG").asString());
}

void CompanySettings::dbeCdTpBaixaChange() {
  // A name shown beside a code typed anew would belong to another type.
  if (cdsEmprBanc.editing()) field("NMTPBAIXAPAG").clear();
}

void CompanySettings::Vd_TipoBaixa() {
  auto& edit = *c_.dbeCdTpBaixa;
  // The type is optional.
  if (!cdsEmprBanc.editing() || host::EmptyString(edit.text())) return;
  field("CDTPBAIXAPAG").setString(host::Ajusta(edit.text(), 2));
  checkingIn(edit, [&] {
    qryVdTipoBaixa.close();
    qryVdTipoBaixa.paramByName("CDTPBAIXAPAG") = edit.text();
    qryVdTipoBaixa.open();
    if (qryVdTipoBaixa.isEmpty()) host::MensErro(screen_.msgPadrao.Msg("TPBX_N_CAD"), true);
    field("CDTPBAIXAPAG").setString(qryVdTipoBaixa.fieldByName("CDTPBAIXAPAG").asString());
    field("NMTPBAIXAPAG").setString(qryVdTipoBaixa.fieldByName("NMTPBAIXAPAG").asString());
  });
}

void CompanySettings::btnContCorrBeforePesq() {
  // Every account of the company, at any bank; the search button opens the query.
  qryContCorr.close();
  qryContCorr.paramByName("P_CDEMPRESA") = field("CDEMPRESA").asString();
  qryContCorr.paramByName("P_CDREDUCONT") = "";
  qryContCorr.paramByName("P_TCDREDUCONT") = "T";
}

void CompanySettings::btnContCorrAfterPesq() {
  editRow();
  for (const auto& [column, target] : kAccountCopies)
    field(target).setString(qryContCorr.fieldByName(column).asString());
}

void CompanySettings::dbeReduContChange() {
  if (!cdsEmprBanc.editing()) return;
  for (const char* copy : {"CDBANCODDA", "CDAGENCIA", "CDCONTCORR", "DSCONTCORR"})
    field(copy).clear();
}

void CompanySettings::Vd_CdReduCont() {
  if (!cdsEmprBanc.editing()) return;
  auto& edit = *c_.dbeReduCont;
  checkingIn(edit, [&] {
    field("CDREDUCONT").setString(host::Ajusta(edit.text(), 3));
    // The account is optional.
    if (host::EmptyString(field("CDREDUCONT").asString())) return;
    qryContCorr.close();
    qryContCorr.paramByName("P_CDEMPRESA") = field("CDEMPRESA").asString();
    qryContCorr.paramByName("P_CDREDUCONT") = edit.text();
    qryContCorr.paramByName("P_TCDREDUCONT") = "";
    qryContCorr.open();
    if (qryContCorr.isEmpty()) host::MensErro(screen_.msgPadrao.Msg("CDREDU_NC"), true);
    for (const auto& [column, target] : kAccountCopies)
      field(target).setString(qryContCorr.fieldByName(column).asString());
  });
}

void CompanySettings::bindLookups() {
  auto before = [this](forms::SearchButton& button, void (CompanySettings::*handler)()) {
    button.beforeSearch = [this, handler](forms::SearchButton&, bool&) { (this->*handler)(); };
  };
  auto after = [this](forms::SearchButton& button, void (CompanySettings::*handler)()) {
    button.afterSearch = [this, handler](forms::SearchButton&) { (this->*handler)(); };
  };
  auto exit = [this](forms::Control& edit, void (CompanySettings::*handler)()) {
    edit.onExit = [this, handler](forms::Control&) { (this->*handler)(); };
  };

  before(*c_.btpPesqPriInstru, &CompanySettings::btpPesqInstruBeforePesq);
  before(*c_.btpPesqSegInstru, &CompanySettings::btpPesqInstruBeforePesq);
  c_.btpPesqPriInstru->afterSearch = [this](forms::SearchButton&) {
    btpPesqInstruAfterPesq(*c_.dbeInst1);
  };
  c_.btpPesqSegInstru->afterSearch = [this](forms::SearchButton&) {
    btpPesqInstruAfterPesq(*c_.dbeInst2);
  };
  c_.dbeInst1->onExit = [this](forms::Control&) { dbeInstExit(*c_.dbeInst1); };
  c_.dbeInst2->onExit = [this](forms::Control&) { dbeInstExit(*c_.dbeInst2); };

  before(*c_.btpPesqFornBanc, &CompanySettings::btpPesqFornBancBeforePesq);
  after(*c_.btpPesqFornBanc, &CompanySettings::btpPesqFornBancAfterPesq);
  c_.dbeCdFornBanc->onEnter = [this](forms::Control&) { dbeCdFornBancEnter(); };
  exit(*c_.dbeCdFornBanc, &CompanySettings::dbeCdFornBancExit);

  before(*c_.btnTipoBaixa, &CompanySettings::btnTipoBaixaBeforePesq);
  after(*c_.btnTipoBaixa, &CompanySettings::btnTipoBaixaAfterPesq);
  c_.dbeCdTpBaixa->onChange = [this](forms::Edit&) { dbeCdTpBaixaChange(); };
  exit(*c_.dbeCdTpBaixa, &CompanySettings::Vd_TipoBaixa);
  before(*c_.btnContCorr, &CompanySettings::btnContCorrBeforePesq);
  after(*c_.btnContCorr, &CompanySettings::btnContCorrAfterPesq);
  c_.dbeReduCont->onChange = [this](forms::Edit&) { dbeReduContChange(); };
  exit(*c_.dbeReduCont, &CompanySettings::Vd_CdReduCont);
}

}  // namespace qbk::module
