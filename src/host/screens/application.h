// The host application at run time: its main window, the child screens, the screen
// factory, modal screens and the shared database connection of direct queries. The
// desktop shell observes it and renders what it does; tests drive it headless.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/screens/screen.h"
#include "forms/resource.h"

namespace qbk::db {
class Connection;
}

namespace qbk::host {

enum class AppEvent { ScreenShown, ScreenActivated, ScreenClosed, ScreenStateChanged, ModalShown };

class Application {
 public:
  using Factory = std::function<std::unique_ptr<Screen>(Application&)>;
  using Observer = std::function<void(Application&, AppEvent, Screen*)>;
  // Runs a modal screen until it closes; the desktop installs a real one. The default
  // (headless) runner only shows the screen and returns; tests then drive and close it.
  using ModalRunner = std::function<int(Screen&)>;

  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The process-wide application (the desktop or a test creates it first).
  static Application& instance();
  static bool exists();

  // Form resources and data sources the screens' builders use.
  forms::FormBuilder& builder() { return builder_; }

  // Screen factory: modules register their screen classes when loaded.
  void registerScreen(const std::string& className, Factory factory);
  void unregisterScreen(const std::string& className);
  // Creates a screen through its factory and runs its FormCreate; when FormCreate raises,
  // the screen is destroyed and the error goes on.
  Screen& createScreen(const std::string& className);
  template <class T>
  T& create(const std::string& className) {
    return dynamic_cast<T&>(createScreen(className));
  }

  // Child windows.
  void show(Screen& s);      // visible; activates it
  void activate(Screen& s);  // becomes the active child: its FormActivate runs
  void close(Screen& s);     // FormClose, then released (destroyed) after the call returns
  int showModal(Screen& s);  // FormActivate, then the modal runner; the screen is released after
  Screen* activeScreen() const { return active_; }
  const std::vector<Screen*>& screens() const { return screens_; }
  // The main window stands in for the owner of progress indicators shown "over the host".
  const std::string& mainWindowCaption() const { return mainCaption_; }
  void setModalRunner(ModalRunner r) { modalRunner_ = std::move(r); }

  // The shared database connection of the direct queries (TADOIBQuery); opened lazily
  // from the configured location (host configuration "database").
  db::Connection& sharedDatabase();
  void setSharedDatabase(std::unique_ptr<db::Connection> c);

  void observe(Observer o) { observers_.push_back(std::move(o)); }

 private:
  void notify(AppEvent e, Screen* s);
  void release(Screen& s);

  forms::FormBuilder builder_;
  std::map<std::string, Factory> factories_;
  std::vector<std::unique_ptr<Screen>> owned_;
  std::vector<Screen*> screens_;
  Screen* active_ = nullptr;
  std::string mainCaption_ = "Qbk";
  ModalRunner modalRunner_;
  std::unique_ptr<db::Connection> sharedDb_;
  std::vector<Observer> observers_;
};

}  // namespace qbk::host
