#include "module/frame/controls.h"

#include <string>

namespace qbk::module {

void ControlTable::resolve(const forms::Form& form) {
  for (CtlBase* c : controls_) c->resolve(form);
}

void CtlBase::unresolved() const {
  throw forms::FormError("Controle '" + std::string(name_) + "' usado antes de a tela existir.");
}

}  // namespace qbk::module
