#include "desktop/event_boundary.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "host/errors_ui.h"
#include "host/screens/application.h"

namespace qbk::desktop {
namespace {

int depth = 0;
std::string escaped;

void keep(const char* what) {
  escaped = what;
  std::fprintf(stderr, "qbk-host: falha não tratada: %s\n", what);
}

template <class F>
void shielded(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    keep(e.what());
  } catch (...) {
    keep("exceção desconhecida");
  }
}

}  // namespace

bool dispatch(const std::function<void()>& action) {
  bool done = false;
  ++depth;
  shielded([&] { done = host::runGuarded(action); });
  --depth;
  if (depth == 0 && host::Application::exists()) {
    shielded([] { host::Application::instance().processEvents(); });
  }
  return done;
}

bool dispatching() {
  return depth > 0;
}

NestedEventLoop::NestedEventLoop() : saved_(std::exchange(depth, 0)) {}
NestedEventLoop::~NestedEventLoop() {
  depth = saved_;
}

const std::string& lastEscapedError() {
  return escaped;
}
void clearLastEscapedError() {
  escaped.clear();
}

}  // namespace qbk::desktop
