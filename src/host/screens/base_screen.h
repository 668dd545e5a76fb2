// The host's base maintenance screen: command bar, operation and maintenance menus, the
// main page control with its list and form pages, the navigator, the main data source and
// the standard message table. Screens derive from it, bind their own handlers by
// overriding the virtual ones, and call the base handler where their rules say so.
#pragma once

#include <functional>
#include <string>

#include "data/data_source.h"
#include "forms/keys.h"
#include "forms/navigator.h"
#include "host/messages.h"
#include "host/screens/screen.h"

namespace qbk::host {

// Resource name of the base screen, registered with every Application.
inline constexpr const char* kBaseScreenResource = "TfrmPadrao";

class TfrmPadrao : public Screen {
 public:
  explicit TfrmPadrao(Application& app);
  ~TfrmPadrao() override;

  // The main data source; the derived screen points it at its main record set.
  data::DataSource dtsPadrao{"dtsPadrao"};
  // The host's standard texts ("Excl", "Canc", ...).
  TMessages msgMensagensPadroes;

  void registerDataSources(forms::FormBuilder& b) override;
  void bindEvents() override;

  // ---- base handlers (override to replace; call TfrmPadrao::X for the base behaviour) --
  void FormCreate() override;
  void FormClose() override;
  virtual void pgcPadraoChange();
  // The base's command states for the mode of dtsPadrao (see the .cpp for the rules).
  virtual void dtsPadraoStateChange();
  virtual void sbtIncluirClick();    // form page, insert into the main set
  virtual void sbtAlterarClick();    // form page, edit the main set
  virtual void sbtExcluirClick();    // confirm "Excl", delete the current record
  virtual void sbtConfirmarClick();  // post the main set when it is editing
  virtual void sbtCancelarClick();   // confirm "Canc", cancel the main set
  virtual void sbtProcurarClick();   // Procura over the main set
  virtual void sbtOrdenarClick();    // the base's sort: nothing to do for a keyed list
  virtual void sbtVerificarClick();  // reloadMainData under the progress indicator
  virtual void sbtImprimirClick();
  virtual void sbtAjudaClick();
  virtual void sbtFecharClick();  // closes the screen
  virtual void mnuFolhaDadosClick();
  virtual void mnuFormularioClick();
  virtual void dbgPadraoKeyDown(int& key, forms::Shift shift);
  virtual void dbnPadraoClick(forms::NavButton button);

  // How the base Verificar reloads the main record set (the derived screen sets it).
  std::function<void()> reloadMainData;

  // Typed access to a control of this screen.
  template <class T>
  T& ctl(std::string_view name) const {
    return form().find<T>(name);
  }

  // Enables a command's menu item and makes its button follow it.
  void setCommandEnabled(std::string_view command /* "Incluir", ... */, bool enabled);
};

}  // namespace qbk::host
