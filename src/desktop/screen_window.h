// A host screen shown as a child window of the main window, or as a modal dialog: its main
// menu above, its controls below, rendered from its form.
#pragma once

#include <QDialog>
#include <QMdiSubWindow>
#include <memory>

#include "desktop/form_renderer.h"
#include "forms/signal.h"
#include "host/screens/screen.h"

namespace qbk::desktop {

// The menu bar and the controls of one screen.
class ScreenView : public QWidget {
 public:
  ScreenView(host::Screen& screen, QWidget* parent);
  ~ScreenView() override;

  host::Screen& screen() const { return screen_; }
  FormRenderer& renderer() const { return *renderer_; }
  // The screen closed: its form is about to go, so nothing may reach it any more.
  void detach();

 private:
  host::Screen& screen_;
  std::unique_ptr<FormRenderer> renderer_;
  forms::Subscription caption_;
};

class ScreenWindow : public QMdiSubWindow {
 public:
  ScreenWindow(host::Screen& screen, QWidget* parent = nullptr);
  ScreenView& view() const { return *view_; }
  // The host closed the screen: the window closes for good.
  void screenClosed();
  // Shows the window state the host set, without reporting it back.
  void showState(host::WindowState state);

 protected:
  // A person closing the window asks the host to close the screen; the window goes when
  // the host says the screen closed (a refusing FormClose keeps both).
  void closeEvent(QCloseEvent* event) override;

 private:
  ScreenView* view_;
  bool closing_ = false;
  int syncing_ = 0;
};

class ScreenDialog : public QDialog {
 public:
  ScreenDialog(host::Screen& screen, QWidget* parent);
  ScreenView& view() const { return *view_; }
  void screenClosed();

 protected:
  void reject() override;  // Escape and the close box ask the host, as above

 private:
  ScreenView* view_;
  bool closing_ = false;
};

}  // namespace qbk::desktop
