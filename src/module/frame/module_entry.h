// The module's entry and its state: the host loads the library, calls QbkModuleLoad, and
// opens the bank screen with IniProc.
#pragma once

namespace qbk::host {
class Screen;
}

namespace qbk::module {

class TfrmBanco;

// The one bank screen while it is open; null otherwise.
extern TfrmBanco* frmBanco;
// The bank report screen, set each time the print command creates it.
extern host::Screen* frmRelBanco;
// Whether the bank screen exists: false at load, true once CriaBanco created it, false
// again when it closes.
extern bool BancoCriado;

// Creates the bank screen when it does not exist, then shows and restores it. Errors go to
// the caller.
void CriaBanco();

}  // namespace qbk::module

extern "C" {
// Opens the bank screen (one at a time); the host receives any error.
void IniProc();
// Registers the module's screens and resources with the current host application. Loading
// again is harmless.
void QbkModuleLoad();
// Closes an open bank screen and takes the module's screens out of the host, so that the
// library can be unloaded.
void QbkModuleUnload();
}
