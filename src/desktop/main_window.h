// The host's main window: the child-window area where the screens live, the menu that opens
// the modules' screens, and the title that names the product and the active screen.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "desktop/module_loader.h"

class QMdiArea;
class QSettings;
class QMdiSubWindow;

namespace qbk::host {
class Application;
class Screen;
}  // namespace qbk::host

namespace qbk::desktop {

class ScreenWindow;
class ScreenDialog;

// The screens a person can open from the menu: caption and screen code.
struct ScreenEntry {
  const char* caption;
  const char* code;
};
inline constexpr ScreenEntry kScreens[] = {{"&Banco", "QBK51200"}};

class MainWindow : public QMainWindow {
 public:
  MainWindow(host::Application& app, ModuleLoader& modules);
  ~MainWindow() override;

  // Opens a screen by its code as the menu does (through the event boundary). True when it
  // opened.
  bool openScreen(const std::string& code);

  QMdiArea* area() const { return area_; }
  // The child window of an open screen, null when it has none.
  ScreenWindow* windowOf(const host::Screen& screen) const;
  // The dialog of a modal screen being shown, null when there is none.
  ScreenDialog* dialogOf(const host::Screen& screen) const;

  // The size and place a person left the window at, from the settings, and back into them.
  void restoreGeometryFrom(QSettings& settings);
  void saveGeometryTo(QSettings& settings) const;

  // Product name, then the active child window's caption.
  static QString titleFor(const std::string& product, const std::string& activeCaption);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void screenEvent(int event, host::Screen* screen);
  void updateTitle();
  // Grows the window, within the screen, until the child window shows whole.
  void holdWhole(QMdiSubWindow& child);
  int runModal(host::Screen& screen);

  host::Application& app_;
  ModuleLoader& modules_;
  QMdiArea* area_;
  std::map<const host::Screen*, ScreenWindow*> windows_;
  std::map<const host::Screen*, ScreenDialog*> dialogs_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  int syncing_ = 0;
};

}  // namespace qbk::desktop
