// How a failure reaches the person: the error routine that shows a text and stops the
// running operation, and the boundary that every entry from the desktop goes through.
#pragma once

#include <functional>
#include <string>

#include "data/errors.h"

namespace qbk::host {

// The running operation was stopped after its text was shown. The boundary knows the person
// has already seen it and shows nothing more.
class Abort : public Error {
 public:
  using Error::Error;
};

// Shows `text` as an error. With `abort` it then throws Abort(text), so nothing after the
// call runs; without it the caller goes on.
void MensErro(const std::string& text, bool abort);

// Runs one entry from the desktop (a click, a key, a focus or tab change). An Abort was
// already shown; any other failure is shown once as an error. Returns true when `action`
// completed. A ScriptError of the scripted interface passes through: it is a broken test.
bool runGuarded(const std::function<void()>& action);

}  // namespace qbk::host
