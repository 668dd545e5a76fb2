#include "module/frame/module_entry.h"

#include <memory>
#include <string>
#include <string_view>

#include "host/screens/application.h"
#include "module/frame/tfrm_banco.h"
#include "module/report/tfrm_rel_banco.h"

namespace qbk::host::resource {
extern const std::string_view TfrmBanco;
extern const std::string_view TfrmRelBanco;
}  // namespace qbk::host::resource

namespace qbk::module {

TfrmBanco* frmBanco = nullptr;
host::Screen* frmRelBanco = nullptr;
bool BancoCriado = false;

void CriaBanco() {
  host::Application& app = host::Application::instance();
  if (!BancoCriado) {
    frmBanco = &app.create<TfrmBanco>(TfrmBanco::kClassName);
    BancoCriado = true;
  }
  frmBanco->show();
  app.setWindowState(*frmBanco, host::WindowState::Normal);
}

}  // namespace qbk::module

using namespace qbk;

extern "C" void IniProc() {
  module::CriaBanco();
}

extern "C" void QbkModuleLoad() {
  host::Application& app = host::Application::instance();
  app.builder().addResource(module::TfrmBanco::kClassName, std::string(host::resource::TfrmBanco));
  app.registerScreen(module::TfrmBanco::kClassName,
                     [](host::Application& a) { return std::make_unique<module::TfrmBanco>(a); });
  app.builder().addResource(module::TfrmRelBanco::kClassName,
                            std::string(host::resource::TfrmRelBanco));
  app.registerScreen(module::TfrmRelBanco::kClassName, [](host::Application& a) {
    return std::make_unique<module::TfrmRelBanco>(a);
  });
  module::BancoCriado = false;
  module::frmBanco = nullptr;
  module::frmRelBanco = nullptr;
}

extern "C" void QbkModuleUnload() {
  if (!host::Application::exists()) return;
  host::Application& app = host::Application::instance();
  // The screen's code leaves with the library: close it and release it now, not at the
  // host's next event.
  if (module::frmRelBanco && !module::frmRelBanco->closed()) app.closeUnasked(*module::frmRelBanco);
  if (module::frmBanco) app.closeUnasked(*module::frmBanco);
  app.processEvents();
  app.unregisterScreen(module::TfrmBanco::kClassName);
  app.unregisterScreen(module::TfrmRelBanco::kClassName);
  module::ListaBanco.clear();
  module::BancoCriado = false;
  module::frmBanco = nullptr;
  module::frmRelBanco = nullptr;
}
