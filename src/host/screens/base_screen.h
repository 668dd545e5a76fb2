// The host's base maintenance screen: command bar, operation and maintenance menus, the
// main page control with its list and form pages, the navigator, the main data source and
// the standard message table. Screens derive from it, bind their own handlers by
// overriding the virtual ones, and call the base handler where their rules say so.
//
// Controls of the base resource (TfrmPadrao.json): panMenu with the command buttons
// sbtIncluir, sbtAlterar, sbtExcluir, sbtConfirmar, sbtCancelar, sbtProcurar, sbtOrdenar,
// sbtVerificar, (room for the screen's own buttons), sbtImprimir, sbtAjuda, sbtFechar and
// the screen-code label lblCodTela; pgcPadrao with tshFolhaDados (the read-only grid
// dbgPadrao) and tshFormulario; panNavegador with dbtNome and dbnPadrao; the main menu
// mnuPrincipal with mnuOperacao (mnuFolhaDados, mnuFormulario) and mnuManutencao
// (mnuIncluir, mnuAlterar, mnuExcluir, mnuConfirmar, mnuCancelar, mnuProcurar, mnuOrdenar,
// mnuVerificar, mnuImprimir). Each command button with a menu item follows it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "data/data_source.h"
#include "forms/keys.h"
#include "forms/navigator.h"
#include "host/messages.h"
#include "host/screens/screen.h"

namespace qbk::forms {
class TabSheet;
}

namespace qbk::host {

// Resource name of the base screen, registered with every Application.
inline constexpr const char* kBaseScreenResource = "TfrmPadrao";

class TfrmPadrao : public Screen {
 public:
  explicit TfrmPadrao(Application& app);
  ~TfrmPadrao() override;

  // The main data source; the derived screen points it at its main record set.
  data::DataSource dtsPadrao{"dtsPadrao"};
  // The host's standard texts ("Excl", "Canc", "Atual_Oper", ...).
  TMessages msgMensagensPadroes;

  // The base screen alone is built from the base resource; derived screens name theirs.
  std::string resourceName() const override { return kBaseScreenResource; }
  void registerDataSources(forms::FormBuilder& b) override;
  // Wires every base control event to its virtual handler, so an override replaces it.
  // Handlers let exceptions through: the boundary is the desktop's (and the test's).
  void bindEvents() override;

  // ---- base handlers (override to replace; call TfrmPadrao::X for the base behaviour) --
  // Wires dtsPadrao's state changes to dtsPadraoStateChange, puts the list page in front
  // and sets the base's menu checks and command states for the current mode.
  void FormCreate() override;
  // An edit in progress is not dropped by a close box or by the host closing: the person
  // is asked as Cancelar asks, and "No" keeps the screen open with the edit.
  bool FormCloseQuery() override;
  void FormClose() override;
  // Checks mnuFolhaDados and mnuFormulario by the page in front.
  virtual void pgcPadraoChange();
  // The base's command states for the mode of dtsPadrao:
  //   browse: Incluir, Procurar, Ordenar, Verificar, Imprimir, Ajuda, Fechar enabled;
  //           Alterar and Excluir only when the set has records; Confirmar and Cancelar
  //           disabled; navigator enabled.
  //   edit, insert: Confirmar and Cancelar enabled, every other command (Fechar too: a
  //           pending change is never dropped by closing) and the navigator disabled.
  //   inactive: everything off but Fechar.
  virtual void dtsPadraoStateChange();
  // The base page moves below are program activations: they run the base's menu checks,
  // never the derived screen's pgcPadraoChange (callers wanting it call it themselves).
  virtual void sbtIncluirClick();     // form page, insert into the main set
  virtual void sbtAlterarClick();     // form page, edit the main set
  virtual void sbtExcluirClick();     // browsing with records: confirm "Excl", delete
  virtual void sbtConfirmarClick();   // post the main set when it is editing
  virtual void sbtCancelarClick();    // editing: confirm "Canc", cancel
  virtual void sbtProcurarClick();    // Procura over the main set
  virtual void sbtOrdenarClick();     // the base's sort: nothing to do for a keyed list
  virtual void sbtVerificarClick();   // reloadMainData under the progress indicator
  virtual void sbtImprimirClick();    // nothing: a screen with a report overrides it
  virtual void sbtAjudaClick();       // nothing: no help system is wired
  virtual void sbtFecharClick();      // closes the screen
  virtual void mnuFolhaDadosClick();  // list page in front
  virtual void mnuFormularioClick();  // form page in front
  // Enter on the list opens the form page (when its menu item is usable). The grid is
  // read-only, so Delete and Ctrl+Delete never delete by themselves; the key is left as is.
  virtual void dbgPadraoKeyDown(int& key, forms::Shift shift);
  virtual void dbnPadraoClick(forms::NavButton button);  // nothing beyond the navigation

  // How the base Verificar reloads the main record set (the derived screen sets it).
  std::function<void()> reloadMainData;

  // Typed access to a control of this screen.
  template <class T>
  T& ctl(std::string_view name) const {
    return form().find<T>(name);
  }

  // Enables a command ("Incluir", "Alterar", ... "Fechar"): its menu item mnu<command>
  // when there is one, with the button sbt<command> following it; the button alone
  // otherwise.
  void setCommandEnabled(std::string_view command, bool enabled);
  // Whether a command is enabled now (its button).
  bool commandEnabled(std::string_view command) const;

 private:
  // Puts a main page in front by program and runs the base's menu checks.
  void showPage(forms::TabSheet& page);
  // An edit of the main set in progress: asks "Canc" and cancels on Yes. False when the
  // person keeps the edit.
  bool confirmCancel();
};

}  // namespace qbk::host
