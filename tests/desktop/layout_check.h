// What a person would see wrong in a screen's layout: a caption that does not fit its
// widget, tabs that need scroll arrows, and sibling widgets whose texts overlap.
#pragma once

#include <string>
#include <vector>

namespace qbk::desktop {
class FormRenderer;
}

namespace qbk::desktop::testing {

// One line per fault among the widgets of the form's controls that show now.
std::vector<std::string> layoutFaults(const FormRenderer& renderer);

}  // namespace qbk::desktop::testing
