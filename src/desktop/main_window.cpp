#include "desktop/main_window.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <algorithm>

#include "desktop/event_boundary.h"
#include "desktop/qt_text.h"
#include "desktop/screen_window.h"
#include "host/screens/application.h"

namespace qbk::desktop {

namespace {
constexpr const char* kGeometryKey = "janelaPrincipal/geometria";
}

QString MainWindow::titleFor(const std::string& product, const std::string& activeCaption) {
  if (activeCaption.empty()) return qs(product);
  return qs(product + " - [" + activeCaption + "]");
}

MainWindow::MainWindow(host::Application& app, ModuleLoader& modules)
    : app_(app), modules_(modules), area_(new QMdiArea(this)) {
  setObjectName("mainWindow");
  area_->setObjectName("childArea");
  setCentralWidget(area_);
  resize(1024, 768);

  QMenu* screens = menuBar()->addMenu("&Módulos");
  screens->setObjectName("mnuModulos");
  for (const ScreenEntry& entry : kScreens) {
    QAction* action = screens->addAction(QString::fromUtf8(entry.caption));
    action->setObjectName(QString("open") + entry.code);
    const std::string code = entry.code;
    connect(action, &QAction::triggered, this, [this, code] { openScreen(code); });
  }
  screens->addSeparator();
  connect(screens->addAction("&Sair"), &QAction::triggered, this, &QWidget::close);
  QMenu* windows = menuBar()->addMenu("&Janela");
  connect(windows->addAction("&Cascata"), &QAction::triggered, area_, &QMdiArea::cascadeSubWindows);
  connect(windows->addAction("&Lado a lado"), &QAction::triggered, area_,
          &QMdiArea::tileSubWindows);

  connect(area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    if (syncing_ || !w || dispatching()) return;
    for (auto& [screen, window] : windows_) {
      if (window != w || app_.activeScreen() == screen) continue;
      auto* s = const_cast<host::Screen*>(screen);
      dispatch([this, s] { app_.activate(*s); });
      break;
    }
  });

  std::weak_ptr<bool> alive = alive_;
  app_.observe([this, alive](host::Application&, host::AppEvent e, host::Screen* s) {
    if (alive.lock()) screenEvent(static_cast<int>(e), s);
  });
  app_.setModalRunner(
      [this, alive](host::Screen& s) { return alive.lock() ? runModal(s) : s.modalResult; });
  updateTitle();
}

MainWindow::~MainWindow() {
  *alive_ = false;
  alive_.reset();
  app_.setModalRunner(nullptr);
  for (auto& [screen, window] : windows_) window->view().detach();
}

bool MainWindow::openScreen(const std::string& code) {
  return dispatch([this, code] { modules_.open(code); });
}

ScreenWindow* MainWindow::windowOf(const host::Screen& screen) const {
  auto it = windows_.find(&screen);
  return it == windows_.end() ? nullptr : it->second;
}

ScreenDialog* MainWindow::dialogOf(const host::Screen& screen) const {
  auto it = dialogs_.find(&screen);
  return it == dialogs_.end() ? nullptr : it->second;
}

void MainWindow::screenEvent(int event, host::Screen* screen) {
  if (!screen) return;
  ++syncing_;
  switch (static_cast<host::AppEvent>(event)) {
    case host::AppEvent::ScreenShown: {
      if (!windowOf(*screen)) {
        auto* window = new ScreenWindow(*screen, nullptr);
        area_->addSubWindow(window);
        windows_[screen] = window;
        window->show();
        // Once the child window has taken its size.
        QTimer::singleShot(0, this, [this, child = QPointer<ScreenWindow>(window)] {
          if (child) holdWhole(*child);
        });
      }
      break;
    }
    case host::AppEvent::ScreenActivated:
      if (ScreenWindow* w = windowOf(*screen)) {
        area_->setActiveSubWindow(w);
      }
      break;
    case host::AppEvent::ScreenStateChanged:
      if (ScreenWindow* w = windowOf(*screen)) {
        switch (screen->windowState()) {
          case host::WindowState::Minimized:
            w->showMinimized();
            break;
          case host::WindowState::Maximized:
            w->showMaximized();
            break;
          case host::WindowState::Normal:
            w->showNormal();
            break;
        }
      }
      break;
    case host::AppEvent::ScreenClosed:
      if (ScreenWindow* w = windowOf(*screen)) {
        windows_.erase(screen);
        w->screenClosed();
      }
      if (ScreenDialog* d = dialogOf(*screen)) {
        dialogs_.erase(screen);
        d->screenClosed();
      }
      break;
    case host::AppEvent::ModalShown:
      break;
  }
  --syncing_;
  updateTitle();
}

int MainWindow::runModal(host::Screen& screen) {
  ScreenDialog dialog(screen, this);
  dialogs_[&screen] = &dialog;
  if (!screen.closed()) {
    NestedEventLoop loop;
    dialog.exec();
  }
  dialogs_.erase(&screen);
  dialog.view().detach();
  return screen.modalResult;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Every screen closes first; one whose closing refuses (a pending edit the person keeps)
  // keeps the host open too.
  dispatch([this] { app_.closeAll(); });
  if (app_.screens().empty()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::holdWhole(QMdiSubWindow& child) {
  if (isMaximized() || isFullScreen()) return;
  // The child window is kept within the area, so its screen's own least size says what
  // it needs, with the child window's frame around it.
  const QWidget* view = child.widget();
  if (!view) return;
  const QSize frame = child.size() - view->size();
  const QRect wanted(
      child.pos(),
      child.size().expandedTo(view->minimumSizeHint().expandedTo(view->minimumSize()) + frame));
  const QSize room = area_->viewport()->size();
  QSize grow(std::max(0, wanted.right() + 1 - room.width()),
             std::max(0, wanted.bottom() + 1 - room.height()));
  if (grow.isNull()) return;
  QSize size = this->size() + grow;
  if (const QScreen* s = screen()) {
    // The frame the window manager adds is not part of size().
    const QSize decoration = frameGeometry().size() - this->size();
    size = size.boundedTo(s->availableGeometry().size() - decoration);
  }
  resize(size.expandedTo(this->size()));
  child.resize(wanted.size());
}

void MainWindow::restoreGeometryFrom(QSettings& settings) {
  const QByteArray saved = settings.value(kGeometryKey).toByteArray();
  if (!saved.isEmpty()) restoreGeometry(saved);
}

void MainWindow::saveGeometryTo(QSettings& settings) const {
  settings.setValue(kGeometryKey, saveGeometry());
}

void MainWindow::updateTitle() {
  const host::Screen* active = app_.activeScreen();
  setWindowTitle(titleFor(app_.mainWindowCaption(), active ? active->caption() : std::string()));
}

}  // namespace qbk::desktop
