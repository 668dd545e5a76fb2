// The bank maintenance screen: a shell over one part per subsystem.
//
// The shell owns the form, the connection to the bank object, the message table, the life
// cycle, the table of places with the ways between them, and the routing of the command
// bar. The parts own everything else:
//   bank/   BankRecord       the banks (list and "Dados Principais"), masks, print models
//   cnab/   CompanySettings  each company's CNAB settings for the current bank
//   codes/  CodeTables       return-occurrence codes and collection instructions
//   dda/    DdaSettings      the DDA import settings
// A click on the command bar reaches the action of the place in front; a change of the
// current bank reaches every part through bankChanged().
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/messages.h"
#include "host/net_connection.h"
#include "host/screens/base_screen.h"
#include "host/server_calls.h"
#include "module/bank/bank_record.h"
#include "module/cnab/company_settings.h"
#include "module/codes/code_tables.h"
#include "module/dda/dda_settings.h"
#include "module/frame/controls.h"
#include "module/frame/places.h"

namespace qbk::module {

class TfrmBanco : public host::TfrmPadrao {
 public:
  static constexpr const char* kClassName = "TfrmBanco";

  explicit TfrmBanco(host::Application& app);
  ~TfrmBanco() override;

  std::string resourceName() const override { return kClassName; }
  void registerDataSources(forms::FormBuilder& b) override;
  void bindEvents() override;

  host::TMessages msgPadrao;
  host::NetConnection netBanco;

  // ---- the parts -------------------------------------------------------------------------
  BankRecord& bank() { return bank_; }
  CompanySettings& cnab() { return cnab_; }
  CodeTables& codes() { return codes_; }
  DdaSettings& dda() { return dda_; }
  const BankRecord& bank() const { return bank_; }

  // ---- life cycle ----------------------------------------------------------------------
  void FormCreate() override;
  void FormActivate() override;
  void FormClose() override;
  void netBancoBeforeConnect();
  // True until the first activation has loaded the banks.
  bool primeiraAtivacao() const { return PrimeiraAtivacao; }

  // ---- command bar, mode rules, navigation ---------------------------------------------
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
  void pgcPadraoChange() override;
  void pgcCNABChange();
  void mnuDadosEmprClick();
  void mnuErroRetornoPagClick();
  void mnuErroRetornoRecClick();
  void mnuInstruCobrClick();

  // ---- what the parts share --------------------------------------------------------------
  const Places& places() const { return places_; }
  bool isCurrent(PlaceId place) const { return places_.isCurrent(place); }
  // Opens the ways to every place, or only to the one being edited.
  void lockWays();
  // Sends the pending changes of a record set (the apply sequence) under the indicator of
  // a send. A refused send runs the rules of the record set's place again: the cancelled
  // changes may have emptied it.
  void apply(data::RecordSet& rs, host::ApplySpec plan);
  // Fetches a packet into a record set of a part.
  void fetch(data::RecordSet& rs, std::string_view method, data::VariantArray args = {});
  // Brings a place to the front with the tab-change handling a click would run (inner
  // tabs of the companies aside). Nothing happens when it is already in front.
  void showPlace(PlaceId place);
  // Another bank became current: every part hears it.
  void bankChanged();

 private:
  struct Controls : ControlTable {
    Ctl<forms::PageControl> pgcPadrao{*this, "pgcPadrao"};
    Ctl<forms::PageControl> pgcCNAB{*this, "pgcCNAB"};
    Ctl<forms::TabSheet> tshFolhaDados{*this, "tshFolhaDados"};
    Ctl<forms::TabSheet> tshFormulario{*this, "tshFormulario"};
    Ctl<forms::TabSheet> tshCNAB{*this, "tshCNAB"};
    Ctl<forms::MenuItem> mnuCNABPag{*this, "mnuCNABPag"};
    Ctl<forms::MenuItem> mnuFolhaDados{*this, "mnuFolhaDados"};
    Ctl<forms::MenuItem> mnuFormulario{*this, "mnuFormulario"};
    Ctl<forms::MenuItem> mnuDadosEmpr{*this, "mnuDadosEmpr"};
    Ctl<forms::MenuItem> mnuErroRetornoPag{*this, "mnuErroRetornoPag"};
    Ctl<forms::MenuItem> mnuErroRetornoRec{*this, "mnuErroRetornoRec"};
    Ctl<forms::MenuItem> mnuInstruCobr{*this, "mnuInstruCobr"};
    Ctl<forms::Navigator> dbnPadrao{*this, "dbnPadrao"};
  } c_;

  // The table of places, with each command's action there.
  void buildPlaces();
  // The menu entries of the places: checked for the one in front.
  void checkPlaceMenus();
  void run(const std::function<void()>& action) {
    if (action) action();
  }

  // Declared before the parts' record sets go, so the data sources that show them are
  // released first when the screen is destroyed (see the destructor).
  BankRecord bank_;
  CompanySettings cnab_;
  CodeTables codes_;
  DdaSettings dda_;
  std::array<ScreenPart*, 4> parts_;
  Places places_;
  Ways ways_;
  bool PrimeiraAtivacao = true;
};

}  // namespace qbk::module
