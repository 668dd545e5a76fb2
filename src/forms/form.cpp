#include "form.h"

#include <algorithm>
#include <cctype>

#include "menus.h"

namespace qbk::forms {

Form::Form(std::string className, std::string name)
    : className_(std::move(className)), name_(std::move(name)) {}

Form::~Form() {
  destroying_ = true;
  active_ = nullptr;
  // Children were created after their parents: destroy in reverse creation order so no
  // control outlives what it points to.
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    auto node = byName_.find((*it)->name());
    node->second.reset();
  }
}

void Form::setCaption(std::string value) {
  if (caption_ == value) return;
  caption_ = std::move(value);
  notify(FormEvent::Caption);
}

void Form::setBounds(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  notify(FormEvent::Bounds);
}

void Form::checkNewName(const std::string& name) const {
  if (byName_.contains(name)) {
    throw FormError("Já existe um controle chamado '" + name + "' no formulário '" + name_ + "'.");
  }
}

void Form::adopt(std::unique_ptr<Control> control) {
  Control* c = control.get();
  byName_.emplace(c->name(), std::move(control));
  order_.push_back(c);
  if (c->parent()) c->parent()->children_.push_back(c);
}

Control* Form::tryFindControl(std::string_view name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second.get();
}

std::vector<Control*> Form::topLevelControls() const {
  std::vector<Control*> out;
  for (Control* c : order_) {
    if (!c->parent()) out.push_back(c);
  }
  return out;
}

int Form::clientWidth() const {
  int right = 0;
  for (Control* c : topLevelControls()) right = std::max(right, c->left() + c->width());
  return right;
}

int Form::clientHeight() const {
  int bottom = 0;
  for (Control* c : topLevelControls()) bottom = std::max(bottom, c->top() + c->height());
  return bottom;
}

MainMenu* Form::mainMenu() const {
  for (Control* c : order_) {
    if (auto* m = dynamic_cast<MainMenu*>(c)) return m;
  }
  return nullptr;
}

FormError Form::missingControl(std::string_view name) const {
  return FormError("Controle '" + std::string(name) + "' não encontrado no formulário '" + name_ +
                   "'.");
}

FormError Form::wrongControlType(const Control& control, const char* wanted) const {
  return FormError("O controle '" + control.name() + "' do formulário '" + name_ + "' é " +
                   control.className() + ", não " + wanted + ".");
}

// ---- focus -----------------------------------------------------------------------------

bool Form::userFocus(Control& control) {
  if (&control.form() != this) {
    throw FormError("O controle '" + control.name() + "' não pertence ao formulário '" + name_ +
                    "'.");
  }
  if (!control.canFocus()) return false;
  return moveFocus(&control);
}

bool Form::moveFocus(Control* target) {
  if (target == active_) return true;
  Control* leaving = active_;
  // A handler of the control being left may move the focus itself (a check that fails and
  // puts the person back, for instance): that nested move must not run the exit again.
  if (leaving && leaving != exiting_) {
    Control* outer = exiting_;
    exiting_ = leaving;
    try {
      leaving->commitPending();
      if (leaving->onExit) leaving->onExit(*leaving);
    } catch (...) {
      exiting_ = outer;
      throw;
    }
    exiting_ = outer;
    if (active_ != leaving) return active_ == target;
  }
  active_ = target;
  notify(FormEvent::ActiveControl);
  if (target && target->onEnter) target->onEnter(*target);
  return true;
}

void Form::dropFocusIfHidden() {
  if (destroying_ || !active_ || active_->canFocus()) return;
  active_ = nullptr;
  notify(FormEvent::ActiveControl);
}

namespace {

void collectTabOrder(const std::vector<Control*>& level, std::vector<Control*>& out) {
  std::vector<Control*> sorted = level;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](Control* a, Control* b) { return a->tabOrder() < b->tabOrder(); });
  for (Control* c : sorted) {
    out.push_back(c);
    collectTabOrder(c->children(), out);
  }
}

}  // namespace

bool Form::focusNext(bool backwards) {
  std::vector<Control*> all;
  collectTabOrder(topLevelControls(), all);
  std::vector<Control*> ring;
  for (Control* c : all) {
    if (c == active_ || c->canFocus()) ring.push_back(c);
  }
  if (ring.empty()) return false;
  if (backwards) std::reverse(ring.begin(), ring.end());
  auto it = std::find(ring.begin(), ring.end(), active_);
  const std::size_t at = it == ring.end() ? ring.size() - 1 : it - ring.begin();
  Control* next = ring[(at + 1) % ring.size()];
  if (next == active_) return false;
  return moveFocus(next);
}

// ---- painting --------------------------------------------------------------------------

void Form::lockUpdates() {
  ++lockDepth_;
}

void Form::unlockUpdates() {
  if (lockDepth_ == 0) {
    throw FormError("Liberação de atualização da janela sem bloqueio correspondente.");
  }
  if (--lockDepth_ == 0) notify(FormEvent::UpdatesUnlocked);
}

Form::UpdateLock::~UpdateLock() {
  try {
    form_.unlockUpdates();
  } catch (...) {
    // Only reachable when someone unlocked by hand inside this scope; the count is
    // already balanced then.
  }
}

void Form::repaint() {
  ++repaintCount_;
  notify(FormEvent::Repaint);
}

// ---- keyboard --------------------------------------------------------------------------

namespace {

MenuItem* findShortcut(const std::vector<Control*>& items, const Shortcut& wanted) {
  for (Control* c : items) {
    auto* item = dynamic_cast<MenuItem*>(c);
    if (!item) continue;
    if (item->shortcut() == wanted && item->isEffectivelyEnabled() &&
        item->isEffectivelyVisible()) {
      return item;
    }
    if (MenuItem* inner = findShortcut(item->children(), wanted)) return inner;
  }
  return nullptr;
}

}  // namespace

bool Form::shortcut(int key, Shift shift) {
  if (key >= 'a' && key <= 'z') key = std::toupper(key);
  const Shortcut wanted{key, shift};
  if (wanted.empty()) return false;
  for (Control* c : order_) {
    auto* menu = dynamic_cast<MainMenu*>(c);
    if (!menu || !menu->isEffectivelyEnabled()) continue;
    if (MenuItem* item = findShortcut(menu->children(), wanted)) return item->userClick();
  }
  return false;
}

}  // namespace qbk::forms
