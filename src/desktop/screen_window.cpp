#include "desktop/screen_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "desktop/event_boundary.h"
#include "desktop/qt_text.h"
#include "forms/menus.h"
#include "host/screens/application.h"
#include "host/screens/screen.h"

namespace qbk::desktop {

ScreenView::ScreenView(host::Screen& screen, QWidget* parent) : QWidget(parent), screen_(screen) {
  forms::Form& form = screen.form();
  setObjectName(qs(form.name().empty() ? form.className() : form.name()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  QMenuBar* bar = nullptr;
  if (form.mainMenu()) {
    bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    layout->setMenuBar(bar);
  }
  auto* content = new QWidget(this);
  content->setObjectName("content");
  layout->addWidget(content);
  renderer_ = std::make_unique<FormRenderer>(form, content, bar, this);
  // The design at the size that fits its captions is the least the screen needs; a larger
  // window stretches what the resource anchors.
  content->setMinimumSize(renderer_->designSize());
  setWindowTitle(qs(form.caption()));
  caption_ = form.observe([this](forms::Form& f, forms::FormEvent e) {
    if (e == forms::FormEvent::Caption) {
      setWindowTitle(qs(f.caption()));
      if (parentWidget()) parentWidget()->setWindowTitle(qs(f.caption()));
    }
  });
}

ScreenView::~ScreenView() {
  detach();
}

void ScreenView::detach() {
  caption_.reset();
  if (renderer_) renderer_->detach();
}

ScreenWindow::ScreenWindow(host::Screen& screen, QWidget* parent)
    : QMdiSubWindow(parent), view_(new ScreenView(screen, this)) {
  setWidget(view_);
  setWindowTitle(qs(screen.caption()));
  setAttribute(Qt::WA_DeleteOnClose, false);
  // A person minimising or maximising the window changes the screen's state too, so that
  // the module restoring it is seen.
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates, Qt::WindowStates now) {
            if (closing_ || syncing_) return;
            host::Screen* s = &view_->screen();
            const host::WindowState state =
                now.testFlag(Qt::WindowMinimized)   ? host::WindowState::Minimized
                : now.testFlag(Qt::WindowMaximized) ? host::WindowState::Maximized
                                                    : host::WindowState::Normal;
            dispatch([s, state] { s->app().setWindowState(*s, state); });
          });
}

void ScreenWindow::showState(host::WindowState state) {
  ++syncing_;
  switch (state) {
    case host::WindowState::Minimized:
      showMinimized();
      break;
    case host::WindowState::Maximized:
      showMaximized();
      break;
    case host::WindowState::Normal:
      showNormal();
      break;
  }
  --syncing_;
}

void ScreenWindow::screenClosed() {
  view_->detach();
  closing_ = true;
  close();
  deleteLater();
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    QMdiSubWindow::closeEvent(event);
    return;
  }
  event->ignore();
  host::Screen* screen = &view_->screen();
  dispatch([screen] { screen->app().close(*screen); });
}

ScreenDialog::ScreenDialog(host::Screen& screen, QWidget* parent)
    : QDialog(parent), view_(new ScreenView(screen, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  setWindowTitle(qs(screen.caption()));
}

void ScreenDialog::screenClosed() {
  view_->detach();
  closing_ = true;
  done(0);
}

void ScreenDialog::reject() {
  if (closing_) {
    QDialog::reject();
    return;
  }
  host::Screen* screen = &view_->screen();
  dispatch([screen] { screen->app().close(*screen); });
}

}  // namespace qbk::desktop
