// The progress indicator shown while the screen waits for the application server.
#pragma once

#include <string>

namespace qbk::host {

// Indicator kinds: connecting to the server, sending changes, fetching data.
inline constexpr int kAviConnect = 0;
inline constexpr int kAviUpdate = 1;
inline constexpr int kAviFetch = 6;

// Shows the indicator for an operation of `owner` (the screen or window it runs for; null
// for the host's main window). There is one indicator: showing it again replaces its kind
// and text.
void ActiveShowAvi(const void* owner, int kind);
void ActiveShowAvi(const void* owner, int kind, const std::string& text);
void DeactiveShowAvi();

// Shows the indicator for the life of the scope, so it is hidden on every way out,
// failures included.
class ShowAviScope {
 public:
  ShowAviScope(const void* owner, int kind, const std::string& text = {}) {
    ActiveShowAvi(owner, kind, text);
  }
  // A destructor must not throw; a failing hide leaves nothing to undo.
  ~ShowAviScope() {
    try {
      DeactiveShowAvi();
    } catch (...) {
    }
  }
  ShowAviScope(const ShowAviScope&) = delete;
  ShowAviScope& operator=(const ShowAviScope&) = delete;
};

}  // namespace qbk::host
