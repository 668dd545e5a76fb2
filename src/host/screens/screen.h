// A host screen: a form built from its resource plus the life cycle the host drives
// (creation, activation, closing). Screens are child windows of the host's main window,
// or modal.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "forms/form.h"
#include "forms/resource.h"

namespace qbk::host {

class Application;

enum class WindowState { Normal, Minimized, Maximized };

// Modal results besides those of the message boxes (mrOk, mrYes, mrNo in messages.h).
inline constexpr int mrNone = 0;
inline constexpr int mrCancel = 2;

// Screens are made in two phases so that a derived screen's record sets and data sources
// exist before its form is built from the resource: the factory constructs the object,
// then Application::createScreen builds the form (resourceName, registerDataSources),
// calls bindEvents, and finally FormCreate.
//
// A screen belongs to the Application that created it and is destroyed only by it: after
// close(), once the call that closed it has returned to the event loop (processEvents).
class Screen {
 public:
  explicit Screen(Application& app);
  virtual ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  Application& app() const { return app_; }
  // The screen's controls; an Error before the host has built them.
  forms::Form& form() const;
  const std::string& caption() const { return form().caption(); }

  WindowState windowState() const { return windowState_; }
  void setWindowState(WindowState s);
  bool visible() const { return visible_; }
  bool modal() const { return modal_; }
  // FormClose has run: the screen is no window any more and waits to be released.
  bool closed() const { return closed_; }
  // The host is destroying the screen. Handlers wired to record sets or data sources (not
  // to controls, which go with the form) check it: those sets can still report a change
  // while the derived screen's members are being destroyed.
  bool released() const { return released_; }

  // Asks the host to show the screen as a child window and make it the active one.
  void show();
  // Asks the host to close it: FormCloseQuery may refuse; otherwise FormClose runs, then the
  // host releases the screen. False when the screen stays open.
  bool close();
  void repaint() { form().repaint(); }

  // The form resource this screen is built from (registered with the application's
  // builder), and the data sources its resource names.
  virtual std::string resourceName() const = 0;
  virtual void registerDataSources(forms::FormBuilder&) {}
  // Wires the screen's handlers to its controls, once the form exists.
  virtual void bindEvents() {}

  // Life-cycle handlers; the host calls them. Derived screens override and call the base
  // where their own rules say so. A raising FormClose keeps the screen open.
  virtual void FormCreate() {}
  virtual void FormActivate() {}
  // Asked before a close the person or the program requests (not when the host itself is
  // being destroyed); false keeps the screen open, with nothing run.
  virtual bool FormCloseQuery() { return true; }
  virtual void FormClose() {}

  // The result a modal screen returns from Application::showModal; closing a modal screen
  // whose result is still mrNone makes it mrCancel.
  int modalResult = mrNone;

 private:
  friend class Application;
  Application& app_;
  std::unique_ptr<forms::Form> form_;
  WindowState windowState_ = WindowState::Normal;
  bool visible_ = false;
  bool modal_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool released_ = false;
  int holds_ = 0;  // calls of the host still using the screen: not released meanwhile
};

}  // namespace qbk::host
