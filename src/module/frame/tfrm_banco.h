// The bank maintenance screen: the banks (cdsBanco on the list and "Dados Principais"
// tabs) and, for the current bank, the company CNAB settings, the return-occurrence codes,
// the collection instructions and the DDA settings, each in its own record set and all
// served by the one command bar of the base screen.
//
// One class; its handlers are defined in the folder of the subsystem they belong to:
// frame/ (life cycle, command routing, mode rules, main tab navigation), bank/, cnab/,
// codes/ and dda/.
#pragma once

#include <string>
#include <string_view>

#include "data/data_source.h"
#include "data/record_set.h"
#include "host/messages.h"
#include "host/net_connection.h"
#include "host/query.h"
#include "host/report_designer.h"
#include "host/screens/base_screen.h"
#include "host/server_calls.h"

namespace qbk::forms {
class CheckBox;
class Edit;
class CommandButton;
class Grid;
class MenuItem;
class PageControl;
class TabSheet;
}  // namespace qbk::forms

namespace qbk::module {

class TfrmBanco : public host::TfrmPadrao {
 public:
  static constexpr const char* kClassName = "TfrmBanco";

  explicit TfrmBanco(host::Application& app);
  ~TfrmBanco() override;

  std::string resourceName() const override { return kClassName; }
  void registerDataSources(forms::FormBuilder& b) override;
  void bindEvents() override;

  // ---- record sets, data sources, queries ------------------------------------------------
  // Record sets come before the data sources that show them, so the sources go first when
  // the screen is destroyed.
  data::RecordSet cdsBanco{"cdsBanco"};  // shown by the base's dtsPadrao
  data::RecordSet cdsEmprBanc{"cdsEmprBanc"};
  data::RecordSet cdsErrCnabPag{"cdsErrCnabPag"};
  data::RecordSet cdsErrCnabRec{"cdsErrCnabRec"};
  data::RecordSet cdsInstruCobr{"cdsInstruCobr"};
  data::RecordSet cdsDDA{"cdsDDA"};
  data::RecordSet cdsPesqInstru{"cdsPesqInstru"};
  data::RecordSet cdsCodigoPag{"cdsCodigoPag"};
  data::RecordSet cdsCodigoRec{"cdsCodigoRec"};
  data::RecordSet cdsCdInstrucaoCob{"cdsCdInstrucaoCob"};

  data::DataSource dtsEmprBanc{"dtsEmprBanc", &cdsEmprBanc};
  data::DataSource dtsErrCnabPag{"dtsErrCnabPag", &cdsErrCnabPag};
  data::DataSource dtsErrCnabRec{"dtsErrCnabRec", &cdsErrCnabRec};
  data::DataSource dtsInstruCobr{"dtsInstruCobr", &cdsInstruCobr};
  data::DataSource dtsDDA{"dtsDDA", &cdsDDA};
  data::DataSource dtsPesqInstru{"dtsPesqInstru", &cdsPesqInstru};

  host::TADOIBQuery qryChavPrim{"qryChavPrim"};
  // Only the edit mask of its code field is set here; the chart-of-accounts choice that
  // reads it is not part of this screen.
  host::TADOIBQuery qryContCtbl{"qryContCtbl"};

  // The search lists of the company data page ("Dados"): suppliers, write-off types and the
  // company's current accounts.
  host::TADOIBQuery qryFornecedor{"qryFornecedor"};
  host::TADOIBQuery qryPesqTbBaixa{"qryPesqTbBaixa"};
  host::TADOIBQuery qryContCorr{"qryContCorr"};
  data::DataSource dtsFornecedor{"dtsFornecedor", &qryFornecedor};
  data::DataSource dtsPesqTpBaixa{"dtsPesqTpBaixa", &qryPesqTbBaixa};
  data::DataSource dtsContCorr{"dtsContCorr", &qryContCorr};

  host::TMessages msgPadrao;
  host::NetConnection netBanco;
  // The report designer of the print models; the model-editing commands open it.
  host::TReportDesignerDialog rddModelos;

  // ---- life cycle (frame/) ---------------------------------------------------------------
  void FormCreate() override;
  void FormActivate() override;
  void FormClose() override;
  void netBancoBeforeConnect();
  // True until the first activation has loaded the banks.
  bool primeiraAtivacao() const { return PrimeiraAtivacao; }

  // ---- commands and mode rules (frame/) -------------------------------------------------
  void sbtIncluirClick() override;
  void sbtAlterarClick() override;
  void sbtExcluirClick() override;
  void sbtConfirmarClick() override;
  void sbtCancelarClick() override;
  void sbtProcurarClick() override;
  void sbtOrdenarClick() override;
  void sbtVerificarClick() override;
  void sbtImprimirClick() override;
  void mnuFolhaDadosClick() override;
  void mnuFormularioClick() override;
  void dbnPadraoClick(forms::NavButton button) override;
  void dbgPadraoKeyDown(int& key, forms::Shift shift) override;
  void dtsPadraoStateChange() override;
  void Controle_Butoes();
  void pgcPadraoChange() override;

  // ---- the bank record (bank/) -----------------------------------------------------------
  void Codigo_Banco(bool strict);
  void Desc_Banco(bool strict);
  void Vd_CdCnabP(bool strict);
  void Mascara_Banco(bool strict);
  void Mascara_Agencia(bool strict);
  void Vd_tamanho_agencia();
  void dbeCodigoExit();
  void dbeBancoExit();
  void dbeMascaraCCExit();
  void dbeMascAgenciaExit();
  void cdsBancoBeforeInsert();
  void cdsBancoBeforeEdit();
  void cdsBancoBeforePost();
  void cdsBancoAfterPost();
  void cdsBancoAfterDelete();
  void cdsBancoAfterCancel();
  void cdsBancoAfterScroll();
  void sbtAtualizarMsgClick();
  void dbeBancConvExit();
  // Key filters: the key may be changed or dropped (set to 0).
  void dbeBancCNABKeyPress(forms::Edit& edit, char32_t& key);
  void dbeDiaProKeyPress(forms::Edit& edit, char32_t& key);
  void dbeMascaraCCKeyPress(forms::Edit& edit, char32_t& key);
  void dbeMascAgenciaKeyPress(forms::Edit& edit, char32_t& key);
  void chkVerifAgenClick();

  // ---- print models (bank/) ---------------------------------------------------------------
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

  // ---- bank selection (bank/) -------------------------------------------------------------
  // Shows the supplier group of the company data for clearing house "399" with the
  // 266-position layout, hides it for "399" otherwise; other banks are left alone.
  void HabDadosFornBanc();

  // ---- company CNAB settings (cnab/) ----------------------------------------------------
  void pgcCNABChange();
  void pgcCNABEnter();
  void pgcEmpresaChange();
  void dtsEmprBancStateChange();
  void mnuDadosEmprClick();
  void mnuEmpresaClick();
  void mnuDadosClick();
  void mnuErroRetornoPagClick();
  void mnuErroRetornoRecClick();
  void mnuInstruCobrClick();
  void cdsEmprBancBeforePost();
  void cdsEmprBancAfterPost();
  void cdsEmprBancBeforeDelete();
  void cdsEmprBancAfterDelete();

  // ---- code tables (codes/) --------------------------------------------------------------
  void dtsErrCnabPagStateChange();
  void dtsErrCnabRecStateChange();
  void dtsInstruCobrStateChange();
  void cdsErrCnabPagBeforePost();
  void cdsErrCnabPagAfterPost();
  void cdsErrCnabPagAfterDelete();
  void cdsErrCnabRecBeforePost();
  void cdsErrCnabRecAfterPost();
  void cdsErrCnabRecAfterDelete();
  void cdsInstruCobrBeforePost();
  void cdsInstruCobrAfterDelete();  // after post and after delete alike
  void cdsInstruCobrAfterCancel();

  // ---- DDA settings (dda/) ---------------------------------------------------------------
  void dtsDDAStateChange();
  void cdsDDAAfterPost();
  void vd_diretorio();

 private:
  // Where the person is: the main tab in front and, on "CNAB", the sub-tab in front. The
  // command bar acts on the record set of the place.
  enum class Place {
    List,
    Form,
    CnabCompany,
    CnabPayables,
    CnabReceivables,
    CnabInstructions,
    DDA
  };
  Place place() const;
  bool mainTabIs(std::string_view sheet) const;
  bool cnabSubTabIs(std::string_view sheet) const;

  // The current bank's code, as the server methods of its dependants take it.
  std::string codigoBanco() const;
  // A bank being inserted counts as present: the rules for an empty list would otherwise
  // take the first bank's form away while it is typed.
  bool semBancos() const;

  // The indicator of a send, over this screen with the text of "Atual_Oper".
  host::ProgressHooks updateProgress();
  // Sends the pending changes of a record set (apply sequence).
  void apply(data::RecordSet& rs, host::ApplySpec plan);

  // Sets chkVerifAgen from the agency mask under the programmatic-change mark.
  void syncAgencyCheckBox();
  // Brings "Dados Principais" to the front with the main-tab change handling, then focuses
  // the edit: where every failed check of the bank's main fields puts the person.
  void focusMainField(std::string_view edit);
  // Writes a normalised text to the field behind a data-aware edit (which then shows it).
  void storeInField(std::string_view edit, const std::string& text);
  // A model to be opened must be named: else the person is taken to its edit.
  void requireModelNamed(std::string_view edit, const char* messageKey);
  // Wires the controls of "Dados Principais" and the model commands to their handlers.
  void bindBankEvents();
  // Picks a file for one print-model row (the same for the seven rows).
  void pickModelFile(std::string_view edit, const std::string& filter);
  // Arranges the bank-specific CNAB panels of the company data by the clearing-house code.
  void arrangeCnabPanels(const std::string& clearingCode);
  // Model editing is never offered under the module code "/".
  void setModelEditEnabled(bool enabled);
  // The bank report screen is not available yet: no rule turns printing on.
  void keepPrintOff();
  // Brings a CNAB sub-tab (and, for the company tab, an inner tab) to the front from the
  // menu, with the tab-change handling a click would run.
  void showCnabPage(std::string_view subTab, std::string_view innerTab = {});

  forms::TabSheet& sheet(std::string_view name) const;
  forms::MenuItem& menu(std::string_view name) const;
  forms::PageControl& pages(std::string_view name) const;

  bool PrimeiraAtivacao = true;
};

}  // namespace qbk::module
