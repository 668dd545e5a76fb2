// The company row's own rules: what a save checks and fills in, the start of a new row,
// the wallet variation, and the key filters of the "Dados" page and the company grid.
#include "host/errors_ui.h"
#include "host/strings.h"
#include "module/cnab/company_settings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

void CompanySettings::bindRules() {
  cdsEmprBanc.onNewRecord = [this](data::RecordSet&) { cdsEmprBancNewRecord(); };
  c_.dbeVarCartCob->onExit = [this](forms::Control&) { dbeVarCartCobExit(); };
  c_.dbrgLayCnab->onChange = [this](forms::RadioGroup&) { dbrgLayCnabChange(); };
  c_.dbgEmprBanc->onEnter = [this](forms::Control&) { dbgEmprBancEnter(); };
  c_.dbgEmprBanc->onKeyDown = [this](forms::Grid&, int& key, forms::Shift shift) {
    dbgEmprBancKeyDown(key, shift);
  };
  auto days = [this](forms::Edit&, char32_t& key) { dbeDiasKeyPress(key); };
  c_.dbeDiasProt->onKeyPress = days;
  c_.dbeDiasDevol->onKeyPress = days;
  c_.dbeCodComp->onKeyPress = [this](forms::Edit&, char32_t& key) { dbeCodCompKeyPress(key); };
  c_.cbbPadrAgend->onKeyPress = [this](forms::ComboBox&, char32_t& key) {
    cbbPadrAgendKeyPress(key);
  };
}

void CompanySettings::cdsEmprBancNewRecord() {
  field("IDCONSDTENVREM").setString("N");
}

void CompanySettings::cdsEmprBancBeforePost() {
  Vd_FornBanc();
  // Each instruction edit is checked as it is left; the one that still has the focus has
  // not been left yet.
  if (screen_.form().activeControl() == &*c_.dbeInst1)
    Vd_InstruCobr(*c_.dbeInst1);
  else
    Vd_InstruCobr(*c_.dbeInst2);

  // The coded fields go by what they show: a code the list does not know shows nothing
  // and is replaced like a missing one.
  auto showsNothing = [this](const char* name) { return host::EmptyString(field(name).text()); };
  if (showsNothing("IDCARTCOBR")) field("IDCARTCOBR").setString("");
  if (showsNothing("IDIMPRBOLETO")) field("IDIMPRBOLETO").setString("");
  if (showsNothing("CDDIAPROTEST")) field("CDDIAPROTEST").setString(" ");
  // The row always belongs to the bank on screen, whatever the server sent in it.
  field("CDBANCO").setString(screen_.bank().codigoBanco());
  if (showsNothing("IDFORMCADBANC")) field("IDFORMCADBANC").setString("1");
  fillingDefaults_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{fillingDefaults_};
  auto byDefault = [this](const char* name, const char* value) {
    if (host::EmptyString(field(name).asString())) field(name).setString(value);
  };
  byDefault("IDLAYEXTBANCO", "200");
  byDefault("IDLAYOUTCNAB", "240");
  byDefault("IDPADRCNABREC", "1");
  byDefault("IDPADRCNABPAG", "1");
}

void CompanySettings::cdsEmprBancBeforeDelete() {
  // No control of the screen deletes a company row, and a row cannot be written outside
  // edit: the server sends every row under the bank it was asked for.
}

void CompanySettings::dbeVarCartCobExit() {
  auto& edit = *c_.dbeVarCartCob;
  if (host::EmptyString(edit.text())) return;
  const std::string variation = host::Ajusta(edit.text(), 3);
  if (cdsEmprBanc.editing()) field("NRVARIACARTCOB").setString(variation);
  if (edit.text() != variation) edit.setText(variation);
}

void CompanySettings::dbrgLayCnabChange() {
  // Another layout names another supplier, or none.
  if (cdsEmprBanc.editing() && !fillingDefaults_) {
    field("NRINSJURFORN").setString("");
    field("NMRAZSOCFORN").setString("");
    field("CDFORNECED").setString("");
  }
  HabDadosFornBanc();
}

void CompanySettings::dbgEmprBancEnter() {
  dtsEmprBancStateChange();
}

void CompanySettings::dbeDiasKeyPress(char32_t& key) {
  // A count of days: no sign, no decimals, no exponent.
  if (key == U'+' || key == U',' || key == U'-' || key == U'E' || key == U'e') key = 0;
}

void CompanySettings::dbeCodCompKeyPress(char32_t& key) {
  if ((key < U'0' || key > U'9') && key != forms::chars::Backspace) key = 0;
}

void CompanySettings::cbbPadrAgendKeyPress(char32_t& key) {
  // Picked with the mouse only: a letter would pick an entry by its first character.
  key = 0;
}

void CompanySettings::dbgEmprBancKeyDown(int& key, forms::Shift shift) {
  // Company rows are never deleted here.
  if (key == forms::vk::Delete && shift.ctrl) key = 0;
}

void CompanySettings::editRow() {
  if (!cdsEmprBanc.editing()) cdsEmprBanc.edit();
}

}  // namespace qbk::module
