// The banks: the record set cdsBanco that the list and "Dados Principais" show, its checks
// and its save, the agency and account masks, the print models and what follows when
// another bank becomes current.
#pragma once

#include <string>
#include <string_view>

#include "data/record_set.h"
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "forms/static_controls.h"
#include "host/query.h"
#include "host/report_designer.h"
#include "module/frame/controls.h"
#include "module/frame/screen_part.h"

namespace qbk::module {

// The fixed-fund bank: created on the first activation when missing, never deleted.
inline constexpr const char* kBancoFundoFixo = "999";

class BankRecord : public ScreenPart {
 public:
  explicit BankRecord(TfrmBanco& screen);
  ~BankRecord() override;

  void bind(const forms::Form& form) override;
  void created() override;

  // Shown by the base screen's dtsPadrao.
  data::RecordSet cdsBanco{"cdsBanco"};
  // One bank code, by code (P_CDBANCO).
  host::TADOIBQuery qryChavPrim{"qryChavPrim"};
  // The report designer of the print models; the model-editing commands open it.
  host::TReportDesignerDialog rddModelos;

  // ---- what the other parts read ----------------------------------------------------------
  // The current bank's code, as the server methods of its dependants take it.
  std::string codigoBanco() const;
  // Its clearing-house code, which decides the bank-specific CNAB controls.
  std::string codigoCompensacao() const;
  // A bank being inserted counts as present: the rules for an empty list would otherwise
  // take the first bank's form away while it is typed.
  bool semBancos() const;
  // Model editing is never offered under the module code "/".
  void setModelEditEnabled(bool enabled);
  // The standard-message update is offered only on "Dados Principais".
  void setStandardMessageEnabled(bool enabled);
  // "Importar Lista de Bancos..." is open only while nothing is edited.
  void setBankListImportEnabled(bool enabled);
  // What the mode of the banks decides of this part's controls (the shell's mode rules
  // run it).
  void applyModeRules();
  // Inserts the fixed-fund bank through the ordinary save, when the table lacks it.
  void insertFixedFundIfMissing();
  // The actions of the command bar on the list and on "Dados Principais".
  void incluir();
  void alterar();
  void confirmar();
  void excluir();
  // Deleting anything of the fixed-fund bank is refused, whatever the place.
  void refuseFixedFundDeletion();
  // Confirmar's checks of the current bank, before the base posts it (also run first when
  // an instruction is confirmed).
  void confirmChecks();

  // ---- checks --------------------------------------------------------------------------
  void Codigo_Banco(bool strict);
  void Desc_Banco(bool strict);
  void Vd_CdCnabP(bool strict);
  void Mascara_Banco(bool strict);
  void Mascara_Agencia(bool strict);
  void Vd_tamanho_agencia();

  // ---- handlers ------------------------------------------------------------------------
  void dbeCodigoExit();
  void dbeBancoExit();
  void dbeMascaraCCExit();
  void dbeMascAgenciaExit();
  void dbeBancConvExit();
  void cdsBancoBeforeInsert();
  void cdsBancoBeforeEdit();
  void cdsBancoBeforePost();
  void cdsBancoAfterPost();
  void cdsBancoAfterDelete();
  void cdsBancoAfterCancel();
  void cdsBancoAfterScroll();
  void sbtAtualizarMsgClick();
  // Key filters: the key may be changed or dropped (set to 0).
  void dbeBancCNABKeyPress(forms::Edit& edit, char32_t& key);
  void dbeDiaProKeyPress(forms::Edit& edit, char32_t& key);
  void dbeMascaraCCKeyPress(forms::Edit& edit, char32_t& key);
  void dbeMascAgenciaKeyPress(forms::Edit& edit, char32_t& key);
  void chkVerifAgenClick();
  void mnuImportarBancosClick();

  // ---- print models --------------------------------------------------------------------
  void btpModChequeClick();
  void btpModBolCompClick();
  void btpModBolPreiClick();
  void btpModBorCobClick();
  void BtpModBorPagClick();
  void BtpModBorCheClick();
  void btpLogMarClick();
  void sbtEditClick();
  void mnuEditClick();
  void mnuModChequeClick();
  void mnuModBolCompClick();
  void mnuModBolpreiClick();
  void Vd_EditModCheque();
  void Vd_EditModBolComp();
  void Vd_EditModBolPrei();
  void EditaModelo(const std::string& path);

  // Sets chkVerifAgen from the agency mask under the programmatic-change mark.
  void syncAgencyCheckBox();

 private:
  struct Controls : ControlTable {
    Ctl<forms::PageControl> pgcPadrao{*this, "pgcPadrao"};
    Ctl<forms::TabSheet> tshFolhaDados{*this, "tshFolhaDados"};
    Ctl<forms::TabSheet> tshFormulario{*this, "tshFormulario"};
    Ctl<forms::TabSheet> tshCNAB{*this, "tshCNAB"};
    Ctl<forms::Label> lblCodigo{*this, "lblCodigo"};
    Ctl<forms::DBEdit> dbeCodigo{*this, "dbeCodigo"};
    Ctl<forms::DBEdit> dbeBanco{*this, "dbeBanco"};
    Ctl<forms::DBEdit> dbeMascaraCC{*this, "dbeMascaraCC"};
    Ctl<forms::DBEdit> dbeMascAgencia{*this, "dbeMascAgencia"};
    Ctl<forms::CheckBox> chkVerifAgen{*this, "chkVerifAgen"};
    Ctl<forms::DBEdit> dbeBancCNAB{*this, "dbeBancCNAB"};
    Ctl<forms::DBEdit> dbeBancConv{*this, "dbeBancConv"};
    Ctl<forms::DBEdit> dbeDiaPro{*this, "dbeDiaPro"};
    Ctl<forms::DBEdit> dbeModLogMar{*this, "dbeModLogMar"};
    Ctl<forms::DBEdit> dbeModCheque{*this, "dbeModCheque"};
    Ctl<forms::DBEdit> dbeModBolComp{*this, "dbeModBolComp"};
    Ctl<forms::DBEdit> dbeModBolPrei{*this, "dbeModBolPrei"};
    Ctl<forms::DBEdit> dbeModBorCob{*this, "dbeModBorCob"};
    Ctl<forms::DBEdit> dbeModBorPag{*this, "dbeModBorPag"};
    Ctl<forms::DBEdit> dbeModBorChe{*this, "dbeModBorChe"};
    Ctl<forms::SearchButton> btpLogMar{*this, "btpLogMar"};
    Ctl<forms::SearchButton> btpModCheque{*this, "btpModCheque"};
    Ctl<forms::SearchButton> btpModBolComp{*this, "btpModBolComp"};
    Ctl<forms::SearchButton> btpModBolPrei{*this, "btpModBolPrei"};
    Ctl<forms::SearchButton> btpModBorCob{*this, "btpModBorCob"};
    Ctl<forms::SearchButton> BtpModBorPag{*this, "BtpModBorPag"};
    Ctl<forms::SearchButton> BtpModBorChe{*this, "BtpModBorChe"};
    Ctl<forms::CommandButton> sbtEdit{*this, "sbtEdit"};
    Ctl<forms::MenuItem> mnuEdit{*this, "mnuEdit"};
    Ctl<forms::PopupMenu> pmnEditModelo{*this, "pmnEditModelo"};
    Ctl<forms::MenuItem> mnuModCheque{*this, "mnuModCheque"};
    Ctl<forms::MenuItem> mnuModBolComp{*this, "mnuModBolComp"};
    Ctl<forms::MenuItem> mnuModBolprei{*this, "mnuModBolprei"};
    Ctl<forms::CommandButton> sbtAtualizarMsg{*this, "sbtAtualizarMsg"};
    Ctl<forms::MenuItem> mnuImportarBancos{*this, "mnuImportarBancos"};
  } c_;

  // Brings "Dados Principais" to the front with the main-tab change handling, then focuses
  // the edit: where every failed check of the bank's main fields puts the person.
  void focusMainField(forms::Edit& edit);
  // Writes a normalised text to the field behind a data-aware edit (which then shows it).
  void storeInField(forms::DBEdit& edit, const std::string& text);
  // A model to be opened must be named: else the person is taken to its edit.
  void requireModelNamed(forms::Edit& edit, const char* messageKey);
  // Picks a file for one print-model row (the same for the seven rows).
  void pickModelFile(forms::DBEdit& edit, const std::string& filter);
  // Sends a saved (with the follow-up of a save) or deleted bank.
  void send(bool afterPost);
};

}  // namespace qbk::module
