// The one table from a kind of control to its binding.
#pragma once

#include "desktop/bindings/binding.h"

namespace qbk::desktop {

// The binding of the control's kind (a kind derived from a listed one takes its base's); a
// kind the table does not list is drawn as a plain container of its children.
const Binding& bindingFor(const forms::Control& control);

}  // namespace qbk::desktop
