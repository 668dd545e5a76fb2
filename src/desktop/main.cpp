// qbk-host: the desktop client. Reads the configuration (file, environment, command line),
// shows the main window and opens the modules' screens on demand.
#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <cstdio>
#include <vector>

#include "desktop/command_line.h"
#include "desktop/command_pictures.h"
#include "desktop/main_window.h"
#include "desktop/module_loader.h"
#include "desktop/qt_user_interface.h"
#include "desktop/report_designer_window.h"
#include "desktop/report_preview_window.h"
#include "desktop/screenshots.h"
#include "host/config.h"
#include "host/report/report_output.h"
#include "host/report_designer.h"
#include "host/screens/application.h"

using namespace qbk;

int main(int argc, char** argv) {
  QApplication qt(argc, argv);  // takes its own options out of argv
  desktop::useInstalledIconThemes();
  desktop::CommandLine cmd;
  try {
    cmd = desktop::parseCommandLine(argc, argv);
    if (cmd.help) {
      std::fputs(cmd.helpText.c_str(), stdout);
      return 0;
    }
    host::setHostConfig(host::loadHostConfig(host::processEnvironment(), cmd.overrides));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qbk-host: %s\n", e.what());
    QMessageBox::critical(nullptr, "Erro", QString::fromStdString(e.what()));
    return 2;
  }

  host::Application app;
  desktop::ModuleLoader modules(cmd.moduleDir.empty() ? desktop::ModuleLoader::defaultDirectory()
                                                      : std::filesystem::path(cmd.moduleDir));
  int status = 0;
  {
    desktop::MainWindow window(app, modules);
    desktop::QtUserInterface ui(&window);
    host::UserInterfaceScope scope(ui);
    host::TReportDesignerDialog::setOpener(
        [&window](const host::ReportEditRequest& r) { desktop::editReportDefinition(&window, r); });
    host::report::setReportPresenter(desktop::reportPresenter(&window));
    // Pictures are taken at the size that holds the screen, whatever a person left.
    const bool pictures = !cmd.screenshotDir.empty();
    QSettings settings(QStringLiteral("Qbk"), QStringLiteral("qbk-host"));
    if (!pictures) window.restoreGeometryFrom(settings);
    window.show();
    if (!cmd.openCode.empty()) window.openScreen(cmd.openCode);
    if (pictures) {
      if (!app.activeScreen()) return 1;
      QApplication::processEvents();
      for (const auto& file :
           desktop::takeScreenshots(window, *app.activeScreen(), cmd.screenshotDir)) {
        std::printf("%s\n", file.c_str());
      }
    } else {
      status = qt.exec();
      window.saveGeometryTo(settings);
    }
    // The main window has closed, so every screen already agreed to close; the ones still
    // open (a screenshot run) close without asking. Their closing handlers may still talk
    // to the person.
    try {
      const std::vector<host::Screen*> open(app.screens().rbegin(), app.screens().rend());
      for (host::Screen* screen : open) app.closeUnasked(*screen);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "qbk-host: %s\n", e.what());
    }
    host::TReportDesignerDialog::setOpener(nullptr);
    host::report::setReportPresenter(nullptr);
  }
  return status;
}
