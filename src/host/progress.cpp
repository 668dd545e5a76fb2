#include "host/progress.h"

#include "host/user_interface.h"

namespace qbk::host {

// The owner does not reach the interface: the indicator is application-wide and the
// desktop centres it on the main window whoever asked for it.
void ActiveShowAvi(const void* /*owner*/, int kind) {
  userInterface().showProgress(kind, {});
}

void ActiveShowAvi(const void* /*owner*/, int kind, const std::string& text) {
  userInterface().showProgress(kind, text);
}

void DeactiveShowAvi() {
  userInterface().hideProgress();
}

}  // namespace qbk::host
