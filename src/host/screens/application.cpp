#include "host/screens/application.h"

#include <algorithm>
#include <string_view>

#include "data/errors.h"
#include "db/connection.h"
#include "host/config.h"
#include "host/screens/base_screen.h"
#include "host/screens/report_screen.h"
#include "host/search.h"

namespace qbk::host {

namespace resource {
extern const std::string_view TfrmPadrao;
extern const std::string_view TfrmDadosGerRel;
}  // namespace resource

namespace {

Application* current = nullptr;

template <class T>
void eraseValue(std::vector<T*>& list, const T* value) {
  std::erase(list, value);
}

// Keeps a screen alive while a call of the host still uses it.
class Hold {
 public:
  explicit Hold(int& count) : count_(count) { ++count_; }
  ~Hold() { --count_; }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  int& count_;
};

}  // namespace

// ---- Screen ------------------------------------------------------------------------------

Screen::Screen(Application& app) : app_(app) {}

Screen::~Screen() = default;

forms::Form& Screen::form() const {
  if (!form_) throw Error("A tela ainda não tem formulário.");
  return *form_;
}

void Screen::setWindowState(WindowState s) {
  app_.setWindowState(*this, s);
}

void Screen::show() {
  app_.show(*this);
}

bool Screen::close() {
  return app_.close(*this);
}

// ---- Application -------------------------------------------------------------------------

Application::Application() {
  if (current) throw Error("Já existe uma aplicação em execução.");
  builder_.addResource(kBaseScreenResource, std::string(resource::TfrmPadrao));
  builder_.addResource(kReportScreenResource, std::string(resource::TfrmDadosGerRel));
  current = this;
}

Application::~Application() {
  // Observers belong to a host that is going away too; they hear nothing more.
  observers_.clear();
  modalRunner_ = nullptr;
  // Nothing is activated on the way out: an activation may fetch data.
  active_ = nullptr;
  activation_.clear();
  while (!screens_.empty()) closeRegardless(*screens_.back());
  for (auto& s : pending_) destroy(std::move(s));
  pending_.clear();
  current = nullptr;
}

Application& Application::instance() {
  if (!current) throw Error("Nenhuma aplicação foi criada.");
  return *current;
}

bool Application::exists() {
  return current != nullptr;
}

void Application::registerScreen(const std::string& className, Factory factory) {
  factories_[className] = std::move(factory);
}

void Application::unregisterScreen(const std::string& className) {
  factories_.erase(className);
}

Screen& Application::createScreen(const std::string& className) {
  auto it = factories_.find(className);
  if (it == factories_.end()) throw Error("Tela '" + className + "' não registrada.");
  std::unique_ptr<Screen> owned = it->second(*this);
  if (!owned) throw Error("A fábrica da tela '" + className + "' não criou a tela.");
  Screen& s = *owned;
  if (&s.app_ != this) throw Error("A tela '" + className + "' pertence a outra aplicação.");
  try {
    forms::FormBuilder b = builder_;
    s.registerDataSources(b);
    s.form_ = b.buildResource(s.resourceName());
    wireSearchButtons(*s.form_);
    s.bindEvents();
  } catch (...) {
    destroy(std::move(owned));
    throw;
  }
  owned_.push_back(std::move(owned));
  screens_.push_back(&s);
  try {
    Hold hold(s.holds_);
    s.FormCreate();
  } catch (...) {
    discard(s);
    throw;
  }
  return s;
}

void Application::show(Screen& s) {
  if (s.closed_) throw Error("A tela já foi fechada.");
  if (s.modal_) return;
  if (!s.visible_) {
    s.visible_ = true;
    activation_.insert(activation_.begin(), &s);
    notify(AppEvent::ScreenShown, &s);
  }
  activate(s);
}

void Application::activate(Screen& s) {
  if (s.closed_) throw Error("A tela já foi fechada.");
  if (s.modal_) return;
  if (!s.visible_) {
    show(s);
    return;
  }
  if (active_ == &s) return;
  active_ = &s;
  eraseValue(activation_, &s);
  activation_.push_back(&s);
  notify(AppEvent::ScreenActivated, &s);
  Hold hold(s.holds_);
  s.FormActivate();
}

bool Application::close(Screen& s) {
  if (s.closed_) return true;
  if (s.closing_) return false;
  bool allowed = false;
  {
    // A second close arriving while the person is being asked (another event of the same
    // loop) is not asked again.
    Hold hold(s.holds_);
    s.closing_ = true;
    try {
      allowed = s.FormCloseQuery();
    } catch (...) {
      s.closing_ = false;
      throw;
    }
    s.closing_ = false;
  }
  if (!allowed) return false;
  closeUnasked(s);
  return s.closed_;
}

void Application::closeUnasked(Screen& s) {
  if (s.closed_ || s.closing_) return;
  s.closing_ = true;
  try {
    Hold hold(s.holds_);
    s.FormClose();
  } catch (...) {
    s.closing_ = false;
    throw;
  }
  s.closing_ = false;
  s.closed_ = true;
  const bool wasActive = active_ == &s;
  finishClose(s);
  if (wasActive && !activation_.empty()) activate(*activation_.back());
}

void Application::finishClose(Screen& s) {
  s.visible_ = false;
  if (s.modal_ && s.modalResult == mrNone) s.modalResult = mrCancel;
  eraseValue(modals_, &s);
  eraseValue(screens_, &s);
  eraseValue(activation_, &s);
  if (active_ == &s) active_ = nullptr;
  pending_.push_back(takeOwnership(s));
  notify(AppEvent::ScreenClosed, &s);
}

int Application::showModal(Screen& s) {
  if (s.closed_) throw Error("A tela já foi fechada.");
  if (s.modal_) throw Error("A tela já está sendo mostrada.");
  if (s.visible_) throw Error("Uma tela aberta não pode ser mostrada de forma modal.");
  Hold hold(s.holds_);
  s.modal_ = true;
  s.visible_ = true;
  s.modalResult = mrNone;
  modals_.push_back(&s);
  notify(AppEvent::ModalShown, &s);
  try {
    s.FormActivate();
  } catch (...) {
    closeRegardless(s);
    throw;
  }
  return modalRunner_ ? modalRunner_(s) : s.modalResult;
}

void Application::setWindowState(Screen& s, WindowState state) {
  if (s.windowState_ == state) return;
  s.windowState_ = state;
  if (!s.closed_) notify(AppEvent::ScreenStateChanged, &s);
}

void Application::closeRegardless(Screen& s) {
  try {
    closeUnasked(s);
  } catch (...) {
  }
  if (!s.closed_) {
    s.closed_ = true;
    finishClose(s);
  }
}

bool Application::closeAll() {
  while (!screens_.empty()) {
    if (!close(*screens_.back())) return false;
  }
  return true;
}

void Application::processEvents() {
  std::vector<std::unique_ptr<Screen>> ready;
  for (auto& s : pending_) {
    if (s->holds_ == 0) ready.push_back(std::move(s));
  }
  std::erase(pending_, nullptr);
  for (auto& s : ready) destroy(std::move(s));
}

db::Connection& Application::sharedDatabase() {
  if (!sharedDb_) {
    const std::string& location = hostConfig().database;
    if (location.empty()) {
      throw Error(
          "Nenhum banco de dados configurado para as consultas diretas (configuração "
          "\"database\").");
    }
    sharedDb_ = db::open(location);
  }
  return *sharedDb_;
}

void Application::setSharedDatabase(std::unique_ptr<db::Connection> c) {
  sharedDb_ = std::move(c);
}

void Application::notify(AppEvent e, Screen* s) {
  // An observer may add another; the copy keeps this round to the ones present now.
  const std::vector<Observer> round = observers_;
  for (const auto& o : round) o(*this, e, s);
}

void Application::discard(Screen& s) {
  const bool wasVisible = s.visible_;
  s.visible_ = false;
  s.closed_ = true;
  eraseValue(modals_, &s);
  eraseValue(screens_, &s);
  eraseValue(activation_, &s);
  if (active_ == &s) active_ = nullptr;
  std::unique_ptr<Screen> owned = takeOwnership(s);
  if (wasVisible) notify(AppEvent::ScreenClosed, &s);
  destroy(std::move(owned));
}

std::unique_ptr<Screen> Application::takeOwnership(Screen& s) {
  for (auto* list : {&owned_, &pending_}) {
    auto it =
        std::find_if(list->begin(), list->end(), [&](const auto& p) { return p.get() == &s; });
    if (it != list->end()) {
      std::unique_ptr<Screen> out = std::move(*it);
      list->erase(it);
      return out;
    }
  }
  return nullptr;
}

void Application::destroy(std::unique_ptr<Screen> s) {
  if (!s) return;
  // The controls go first, while every record set and data source they show still exists.
  s->released_ = true;
  s->form_.reset();
  s.reset();
}

}  // namespace qbk::host
