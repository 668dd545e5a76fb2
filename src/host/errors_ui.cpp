#include "host/errors_ui.h"

#include "host/user_interface.h"
#include "host/user_interface_scripted.h"

namespace qbk::host {

void MensErro(const std::string& text, bool abort) {
  userInterface().showError(text);
  if (abort) throw Abort(text);
}

bool runGuarded(const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const Abort&) {
    return false;
  } catch (const ScriptError&) {
    throw;
  } catch (const std::exception& e) {
    userInterface().showError(e.what());
  } catch (...) {
    userInterface().showError("Erro inesperado.");
  }
  return false;
}

}  // namespace qbk::host
