// Every event a person causes in the desktop reaches the host and the module through here,
// so that no exception ever crosses the Qt event loop.
#pragma once

#include <functional>
#include <string>

namespace qbk::desktop {

// Runs a person's action through the host's error boundary (an Abort was already shown,
// anything else is shown once as an error), then, when no other action is still running
// further up the stack, lets the host release the screens closed meanwhile. True when the
// action ran to the end. Whatever the boundary lets through is logged and kept in
// lastEscapedError() instead of unwinding into Qt.
bool dispatch(const std::function<void()>& action);

// Whether a person's action is being dispatched right now (dialogs it opens run nested
// event loops; focus changes they cause are no person's focus change).
bool dispatching();

// A modal screen runs its own event loop inside the action that opened it; the events of
// that loop are a person's actions of their own. Lives for the length of that loop.
class NestedEventLoop {
 public:
  NestedEventLoop();
  ~NestedEventLoop();
  NestedEventLoop(const NestedEventLoop&) = delete;
  NestedEventLoop& operator=(const NestedEventLoop&) = delete;

 private:
  int saved_;
};

// The text of the last failure that got past the host's boundary; "" when none did.
const std::string& lastEscapedError();
void clearLastEscapedError();

}  // namespace qbk::desktop
