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

// Screens are made in two phases so that a derived screen's record sets and data sources
// exist before its form is built from the resource: the factory constructs the object,
// then Application::createScreen builds the form (resourceName, registerDataSources),
// calls bindEvents, and finally FormCreate.
class Screen {
 public:
  explicit Screen(Application& app);
  virtual ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  Application& app() const { return app_; }
  forms::Form& form() const { return *form_; }
  const std::string& caption() const { return form_->caption(); }

  WindowState windowState() const { return windowState_; }
  void setWindowState(WindowState s);
  bool visible() const { return visible_; }

  // Asks the host to show the screen as a child window and make it the active one.
  void show();
  // Asks the host to close it: FormClose runs, then the host releases the screen.
  void close();
  void repaint() { form_->repaint(); }

  // The form resource this screen is built from (registered with the application's
  // builder), and the data sources its resource names.
  virtual std::string resourceName() const = 0;
  virtual void registerDataSources(forms::FormBuilder&) {}
  // Wires the screen's handlers to its controls, once the form exists.
  virtual void bindEvents() {}

  // Life-cycle handlers; the host calls them. Derived screens override and call the base
  // where their own rules say so.
  virtual void FormCreate() {}
  virtual void FormActivate() {}
  virtual void FormClose() {}

  // Whether the screen is modal (shown by Application::showModal) and its result.
  int modalResult = 0;

 private:
  friend class Application;
  Application& app_;
  std::unique_ptr<forms::Form> form_;
  WindowState windowState_ = WindowState::Normal;
  bool visible_ = false;
};

}  // namespace qbk::host
