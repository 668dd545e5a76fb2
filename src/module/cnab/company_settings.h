// Each company's CNAB settings for the current bank (cdsEmprBanc) on the "Dados por
// Empresa" sub-tab: the company grid and the "Dados" page, the bank-specific layout
// controls, the instruction search list and the look-ups of suppliers, write-off types and
// current accounts.
#pragma once

#include <string>

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/keys.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "forms/static_controls.h"
#include "host/query.h"
#include "module/frame/controls.h"
#include "module/frame/screen_part.h"

namespace qbk::module {

class CompanySettings : public ScreenPart {
 public:
  explicit CompanySettings(TfrmBanco& screen);

  void registerDataSources(forms::FormBuilder& b) override;
  void bind(const forms::Form& form) override;
  void created() override;
  void bankChanged() override;
  void shown(PlaceId place) override;

  // Record sets come before the data sources that show them, so the sources go first when
  // the screen is destroyed.
  data::RecordSet cdsEmprBanc{"cdsEmprBanc"};
  data::RecordSet cdsPesqInstru{"cdsPesqInstru"};
  // The search lists of the "Dados" page: suppliers, write-off types and the company's
  // current accounts.
  host::TADOIBQuery qryFornecedor{"qryFornecedor"};
  host::TADOIBQuery qryPesqTbBaixa{"qryPesqTbBaixa"};
  host::TADOIBQuery qryContCorr{"qryContCorr"};
  // One write-off type, by code, for the check of a typed one.
  host::TADOIBQuery qryVdTipoBaixa{"qryVdTipoBaixa"};
  // Only the edit mask of its code field is set here; the chart-of-accounts choice that
  // reads it is not part of this screen.
  host::TADOIBQuery qryContCtbl{"qryContCtbl"};

  data::DataSource dtsEmprBanc{"dtsEmprBanc", &cdsEmprBanc};
  data::DataSource dtsPesqInstru{"dtsPesqInstru", &cdsPesqInstru};
  data::DataSource dtsFornecedor{"dtsFornecedor", &qryFornecedor};
  data::DataSource dtsPesqTpBaixa{"dtsPesqTpBaixa", &qryPesqTbBaixa};
  data::DataSource dtsContCorr{"dtsContCorr", &qryContCorr};

  // ---- the place's commands ------------------------------------------------------------
  void alterar();
  void confirmar();
  void cancelar();
  void procurar();
  void verificar();

  // ---- handlers ------------------------------------------------------------------------
  // Another place came to the front: the inner tabs' menu entries lose their checks.
  void leftCompanies();
  void pgcCNABEnter();
  void pgcEmpresaChange();
  void dtsEmprBancStateChange();
  void mnuEmpresaClick();
  void mnuDadosClick();
  void cdsEmprBancBeforePost();
  void cdsEmprBancAfterPost();
  void cdsEmprBancBeforeDelete();
  void cdsEmprBancAfterDelete();
  void cdsEmprBancNewRecord();
  // Shows the supplier group for clearing house "399" with the 266-position layout, hides
  // it for "399" otherwise; other banks are left alone.
  void HabDadosFornBanc();
  void dbeVarCartCobExit();
  void dbrgLayCnabChange();
  void dbgEmprBancEnter();
  // Key filters: the key is dropped by setting it to 0.
  void dbeDiasKeyPress(char32_t& key);
  void dbeCodCompKeyPress(char32_t& key);
  void cbbPadrAgendKeyPress(char32_t& key);
  void dbgEmprBancKeyDown(int& key, forms::Shift shift);

  // ---- collection instructions -----------------------------------------------------------
  void btpPesqInstruBeforePesq();
  void btpPesqInstruAfterPesq(forms::DBEdit& edit);
  void dbeInstExit(forms::DBEdit& edit);
  // A non-empty code must be one of the bank's instructions, and the two codes must differ.
  void Vd_InstruCobr(forms::DBEdit& edit);

  // ---- supplier link ---------------------------------------------------------------------
  void Vd_FornBanc();
  void Vd_NrInsJurForn();
  void btpPesqFornBancBeforePesq();
  void btpPesqFornBancAfterPesq();
  void dbeCdFornBancEnter();
  void dbeCdFornBancExit();

  // ---- write-off type and current account ------------------------------------------------
  void btnTipoBaixaBeforePesq();
  void btnTipoBaixaAfterPesq();
  void dbeCdTpBaixaChange();
  void Vd_TipoBaixa();
  void btnContCorrBeforePesq();
  void btnContCorrAfterPesq();
  void dbeReduContChange();
  void Vd_CdReduCont();

 private:
  struct Controls : ControlTable {
    Ctl<forms::PageControl> pgcCNAB{*this, "pgcCNAB"};
    Ctl<forms::PageControl> pgcEmpresa{*this, "pgcEmpresa"};
    Ctl<forms::TabSheet> tshEmpresa{*this, "tshEmpresa"};
    Ctl<forms::TabSheet> tshDados{*this, "tshDados"};
    Ctl<forms::MenuItem> mnuEmpresa{*this, "mnuEmpresa"};
    Ctl<forms::MenuItem> mnuDados{*this, "mnuDados"};
    Ctl<forms::DBEdit> dbeCarteira{*this, "dbeCarteira"};
    Ctl<forms::Navigator> dbnEmprBanc{*this, "dbnEmprBanc"};
    Ctl<forms::Navigator> dbnPadrao{*this, "dbnPadrao"};
    Ctl<forms::Notebook> ntbLayout{*this, "ntbLayout"};
    Ctl<forms::Notebook> ntbLayoutPag{*this, "ntbLayoutPag"};
    Ctl<forms::Notebook> ntbDadosBanc{*this, "ntbDadosBanc"};
    Ctl<forms::RadioGroup> rdbLayoutCnabPag{*this, "rdbLayoutCnabPag"};
    Ctl<forms::RadioGroup> dbrgLayCnab{*this, "dbrgLayCnab"};
    Ctl<forms::GroupBox> grbFornBanc{*this, "grbFornBanc"};
    Ctl<forms::DBCheckBox> ckcLinhaComplemtentar{*this, "ckcLinhaComplemtentar"};
    Ctl<forms::DBCheckBox> ckcRegistroSCobranca{*this, "ckcRegistroSCobranca"};
    Ctl<forms::DBCheckBox> ckcLinhaCobEmail{*this, "ckcLinhaCobEmail"};
    Ctl<forms::Label> lblPadrAgend{*this, "lblPadrAgend"};
    Ctl<forms::DBComboBox> cbbPadrAgend{*this, "cbbPadrAgend"};
    Ctl<forms::Label> lblVarCartCob{*this, "lblVarCartCob"};
    Ctl<forms::DBEdit> dbeVarCartCob{*this, "dbeVarCartCob"};
    Ctl<forms::DBRadioGroup> dbrLayoutPagBradesco{*this, "dbrLayoutPagBradesco"};
    Ctl<forms::Grid> dbgEmprBanc{*this, "dbgEmprBanc"};
    Ctl<forms::DBEdit> dbeDiasProt{*this, "dbeDiasProt"};
    Ctl<forms::DBEdit> dbeDiasDevol{*this, "dbeDiasDevol"};
    Ctl<forms::DBEdit> dbeCodComp{*this, "dbeCodComp"};
    Ctl<forms::DBComboBox> dbcImpBoleto{*this, "dbcImpBoleto"};
    Ctl<forms::DBComboBox> dbcTpCarteira{*this, "dbcTpCarteira"};
    Ctl<forms::DBComboBox> dbcCdProtesto{*this, "dbcCdProtesto"};
    Ctl<forms::DBComboBox> cbbFmCadastro{*this, "cbbFmCadastro"};
    Ctl<forms::DBComboBox> dbcCdDevol{*this, "dbcCdDevol"};
    Ctl<forms::DBEdit> dbeInst1{*this, "dbeInst1"};
    Ctl<forms::DBEdit> dbeInst2{*this, "dbeInst2"};
    Ctl<forms::SearchButton> btpPesqPriInstru{*this, "btpPesqPriInstru"};
    Ctl<forms::SearchButton> btpPesqSegInstru{*this, "btpPesqSegInstru"};
    Ctl<forms::DBEdit> dbeCdFornBanc{*this, "dbeCdFornBanc"};
    Ctl<forms::DBEdit> dbeNmFornBanc{*this, "dbeNmFornBanc"};
    Ctl<forms::SearchButton> btpPesqFornBanc{*this, "btpPesqFornBanc"};
    Ctl<forms::DBEdit> dbeCdTpBaixa{*this, "dbeCdTpBaixa"};
    Ctl<forms::SearchButton> btnTipoBaixa{*this, "btnTipoBaixa"};
    Ctl<forms::DBEdit> dbeReduCont{*this, "dbeReduCont"};
    Ctl<forms::SearchButton> btnContCorr{*this, "btnContCorr"};
  } c_;

  data::Field& field(std::string_view name) { return cdsEmprBanc.fieldByName(name); }
  // The six coded fields' display and entry conversions, tied to their lists.
  void bindCodedFields();
  void bindRules();
  void bindLookups();
  // Runs a check; whatever it raises first puts the focus back on the edit.
  template <class F>
  void checkingIn(forms::Control& edit, F&& check) {
    try {
      check();
    } catch (...) {
      edit.setFocus();
      throw;
    }
  }
  // The current company row into edit (no effect when it is already being edited).
  void editRow();
  // True while the save fills in the layout defaults: a layout supplied that way is no
  // choice of the person, and resets no supplier.
  bool fillingDefaults_ = false;

  // Loads the current bank's companies.
  void load();
  // Loads them when they come on screen or follow another bank: a refused load leaves no
  // rows, since those on screen may be another bank's.
  void reloadForBank();
  void emptyCompanies();
  // The variation edit of clearing house "001", shown only for it.
  void showVariation(bool shown);
  // Arranges the bank-specific controls of the "Dados" page by the clearing-house code.
  void arrangeCnabPanels(const std::string& clearingCode);
  // Brings an inner tab to the front from the menu, with the tab-change handling.
  void showInnerTab(forms::TabSheet& inner);
};

}  // namespace qbk::module
