// The bank listing report screen: all banks or a chosen list, checked before each command,
// and the report query's parameters filled from that choice.
#pragma once

#include <string>

#include "data/data_source.h"
#include "host/messages.h"
#include "host/query.h"
#include "host/screens/report_screen.h"
#include "module/frame/controls.h"

namespace qbk::forms {
class RadioButton;
class SearchButton;
}  // namespace qbk::forms

namespace qbk::module {

// The banks chosen with the list picker, as the picker writes them ("'001','237'"). It
// belongs to the module, not to a screen: a list chosen once is still there when the
// screen is opened again, until the module is unloaded.
extern std::string ListaBanco;

class TfrmRelBanco : public host::TfrmDadosGerRel {
 public:
  static constexpr const char* kClassName = "TfrmRelBanco";

  explicit TfrmRelBanco(host::Application& app);
  // The module's reference to the screen goes with it.
  ~TfrmRelBanco() override;

  std::string resourceName() const override { return kClassName; }
  void registerDataSources(forms::FormBuilder& b) override;
  void bindEvents() override;

  host::TMessages msgPadrao;
  host::TADOIBQuery qryBanco{"qryBanco"};
  data::DataSource dtsBanco__{"dtsBanco__"};

  void FormActivate() override;
  void rbtClienteTodosClick();
  void BtpBancoClick();
  void sbtPrintClick() override;
  void sbtPreviewClick() override;
  void sbtSalvarComoClick() override;
  void sbtReportEditClick() override;
  // "Lista" with no bank chosen stops the command, with the focus on "Lista".
  void Vd_CdBanco();
  void rpddPadraoBeforeGetQueryParams(host::report::ReportParams& params, bool& flag);

 protected:
  const host::TMessages& reportMessages() const override { return msgPadrao; }

 private:
  struct Controls : ControlTable {
    Ctl<forms::RadioButton> rbtClienteTodos{*this, "rbtClienteTodos"};
    Ctl<forms::RadioButton> rbtBancoLista{*this, "rbtBancoLista"};
    Ctl<forms::SearchButton> BtpBanco{*this, "BtpBanco"};
  } c_;
  // The desktop activates the screen again when the list picker's window closes: ticking
  // "Todos" then would print the banks just chosen as all banks. The activation steps run
  // once per opening.
  bool activated_ = false;
};

}  // namespace qbk::module
