// The host application at run time: its main window, the child screens, the screen
// factory, modal screens and the shared database connection of direct queries. The
// desktop shell observes it and renders what it does; tests drive it headless.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/resource.h"
#include "host/screens/screen.h"

namespace qbk::db {
class Connection;
}

namespace qbk::host {

enum class AppEvent { ScreenShown, ScreenActivated, ScreenClosed, ScreenStateChanged, ModalShown };

class Application {
 public:
  using Factory = std::function<std::unique_ptr<Screen>(Application&)>;
  using Observer = std::function<void(Application&, AppEvent, Screen*)>;
  // Runs a modal screen until it closes and returns its modal result; the desktop installs
  // a real one. The default (headless) runner returns the screen's modalResult at once,
  // with the screen still open; tests then drive and close it.
  using ModalRunner = std::function<int(Screen&)>;

  // Becomes the current application; an Error while another one exists. The base
  // maintenance screen's resource is registered with its builder.
  Application();
  // Closes the open screens (their FormClose runs, failures are dropped: there is nobody
  // left to show them to) and destroys every screen.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The process-wide application (the desktop or a test creates it first); an Error when
  // there is none.
  static Application& instance();
  static bool exists();

  // Form resources and data sources the screens' builders use.
  forms::FormBuilder& builder() { return builder_; }

  // Screen factory: modules register their screen classes when loaded. Registering a
  // class again replaces its factory.
  void registerScreen(const std::string& className, Factory factory);
  void unregisterScreen(const std::string& className);
  bool hasScreen(const std::string& className) const { return factories_.contains(className); }

  // Creates a screen through its factory: builds its form from a copy of builder() plus
  // the screen's data sources, wires the search buttons, bindEvents, then FormCreate. When
  // anything of that raises, the screen is destroyed and the error goes on.
  Screen& createScreen(const std::string& className);
  template <class T>
  T& create(const std::string& className) {
    return dynamic_cast<T&>(createScreen(className));
  }

  // Child windows.
  void show(Screen& s);      // visible; activates it
  void activate(Screen& s);  // becomes the active child: its FormActivate runs, unless it
                             // already is the active one
  // FormCloseQuery, which may keep the screen open (false is returned); then FormClose, and
  // the screen is no window any more; when it was the active child, the most recently
  // active other child becomes active. The object is released later, by processEvents, so
  // a handler may close its own screen and return safely.
  bool close(Screen& s);
  // The same without FormCloseQuery, for closes nobody may refuse: the host or the module
  // that holds the screen's code is going away.
  void closeUnasked(Screen& s);
  // Shows the screen modally: FormActivate, then the modal runner; returns what the runner
  // returns. A FormActivate that raises closes the screen and the error goes on.
  int showModal(Screen& s);
  void setWindowState(Screen& s, WindowState state);
  // Closes every open screen, the most recently created first; stops at a screen that
  // stays open (false) or whose FormClose raises (the error goes on).
  bool closeAll();

  // What the event loop does between two events: releases (destroys) the screens closed
  // since, except one that a running showModal still holds. The desktop calls it after
  // each event it dispatches; headless drivers and tests call it where they need it.
  void processEvents();
  int pendingReleases() const { return static_cast<int>(pending_.size()); }

  Screen* activeScreen() const { return active_; }
  // The innermost modal screen being shown, if any.
  Screen* modalScreen() const { return modals_.empty() ? nullptr : modals_.back(); }
  // Open screens (created and not closed), in creation order.
  const std::vector<Screen*>& screens() const { return screens_; }
  // The main window stands in for the owner of progress indicators shown "over the host".
  const std::string& mainWindowCaption() const { return mainCaption_; }
  void setMainWindowCaption(std::string caption) { mainCaption_ = std::move(caption); }
  void setModalRunner(ModalRunner r) { modalRunner_ = std::move(r); }

  // The shared database connection of the direct queries (TADOIBQuery); opened on first
  // use from the host configuration's "database" location, an Error when none is set.
  db::Connection& sharedDatabase();
  void setSharedDatabase(std::unique_ptr<db::Connection> c);
  bool hasSharedDatabase() const { return sharedDb_ != nullptr; }

  void observe(Observer o) { observers_.push_back(std::move(o)); }

 private:
  friend class Screen;
  void notify(AppEvent e, Screen* s);
  // Takes a closed screen out of the windows and queues its object for release.
  void finishClose(Screen& s);
  // Closes the screen even when its FormClose raises (the error is dropped): for the host
  // going away and for a modal screen whose activation failed.
  void closeRegardless(Screen& s);
  // Removes a screen that never finished opening and destroys it at once.
  void discard(Screen& s);
  std::unique_ptr<Screen> takeOwnership(Screen& s);
  static void destroy(std::unique_ptr<Screen> s);

  forms::FormBuilder builder_;
  std::map<std::string, Factory> factories_;
  std::vector<std::unique_ptr<Screen>> owned_;    // open screens
  std::vector<std::unique_ptr<Screen>> pending_;  // closed, waiting for release
  std::vector<Screen*> screens_;                  // open, creation order
  std::vector<Screen*> activation_;  // visible child windows, least recently active first
  std::vector<Screen*> modals_;
  Screen* active_ = nullptr;
  std::string mainCaption_ = "Qbk";
  ModalRunner modalRunner_;
  std::unique_ptr<db::Connection> sharedDb_;
  std::vector<Observer> observers_;
};

}  // namespace qbk::host
