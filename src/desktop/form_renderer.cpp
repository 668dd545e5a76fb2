#include "desktop/form_renderer.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "desktop/bindings/table.h"
#include "desktop/event_boundary.h"
#include "desktop/layout/placement.h"
#include "desktop/layout/text_fit.h"
#include "desktop/qt_text.h"
#include "forms/menus.h"

namespace qbk::desktop {

using namespace forms;

// Routes the events of every rendered widget to the renderer.
class FormRenderer::Filter : public QObject {
 public:
  explicit Filter(FormRenderer& r) : r_(r) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return r_.filter(watched, event); }

 private:
  FormRenderer& r_;
};

FormRenderer::FormRenderer(Form& form, QWidget* content, QMenuBar* menuBar, QWidget* shortcutScope)
    : form_(form),
      content_(content),
      menuBar_(menuBar),
      shortcutScope_(shortcutScope ? shortcutScope : content),
      filter_(std::make_unique<Filter>(*this)) {
  ++syncing_;
  for (Control* c : form.topLevelControls()) build(*c, content);
  for (Control* c : form.controls()) showAll(*c);
  // Only the widgets as shown tell how much room their texts need.
  scale_ = fitScale();
  if (scale_ != 1.0) {
    for (Control* c : form.controls()) showAll(*c);
  }
  content->installEventFilter(filter_.get());
  --syncing_;
  formSubscription_ = form.observe([this](Form&, FormEvent e) {
    if (!attached_ || !content_) return;
    if (e == FormEvent::ActiveControl) showFocus();
    if (e == FormEvent::UpdatesUnlocked) content_->setUpdatesEnabled(true);
  });
}

FormRenderer::~FormRenderer() {
  detach();
}

void FormRenderer::detach() {
  if (!attached_) return;
  attached_ = false;
  subscriptions_.clear();
  formSubscription_.reset();
  if (content_) content_->removeEventFilter(filter_.get());
  for (auto& [control, shown] : shown_) {
    if (shown.object) shown.object->removeEventFilter(filter_.get());
  }
}

QObject* FormRenderer::objectFor(const Control& control) const {
  auto it = shown_.find(&control);
  return it == shown_.end() ? nullptr : it->second.object.data();
}

QWidget* FormRenderer::widgetFor(const Control& control) const {
  return qobject_cast<QWidget*>(objectFor(control));
}

QWidget* FormRenderer::widgetFor(std::string_view name) const {
  Control* c = form_.tryFindControl(name);
  return c ? widgetFor(*c) : nullptr;
}

QAction* FormRenderer::actionFor(const MenuItem& item) const {
  return qobject_cast<QAction*>(objectFor(item));
}

Control* FormRenderer::controlFor(const QObject* widget) const {
  auto it = controls_.find(widget);
  return it == controls_.end() ? nullptr : it->second;
}

QObject* FormRenderer::build(Control& control, QWidget* parent) {
  const Binding& binding = bindingFor(control);
  QObject* object = binding.build(*this, control, parent);
  if (object) watch(control, object, binding);
  return object;
}

void FormRenderer::watch(Control& control, QObject* object, const Binding& binding) {
  shown_[&control] = {object, &binding};
  controls_[object] = &control;
  object->setObjectName(qs(control.name()));
  object->installEventFilter(filter_.get());
  subscriptions_.push_back(control.observe([this](Control& c, Property p) { changed(c, p); }));
}

void FormRenderer::watchPart(Control& control, QObject* part) {
  part->installEventFilter(filter_.get());
  controls_[part] = &control;
}

void FormRenderer::changed(Control& control, Property property) {
  if (!attached_ || !content_) return;
  if (form_.updatesLocked() && content_->updatesEnabled()) content_->setUpdatesEnabled(false);
  auto it = shown_.find(&control);
  if (it != shown_.end() && it->second.object && it->second.binding->event) {
    if (it->second.binding->event(*this, control, *it->second.object, property)) return;
  }
  showAll(control);
}

void FormRenderer::showAll(Control& control) {
  auto it = shown_.find(&control);
  if (it == shown_.end() || !it->second.object) return;
  QObject& object = *it->second.object;
  const Binding& binding = *it->second.binding;
  ++syncing_;
  struct Done {
    int& n;
    ~Done() { --n; }
  } done{syncing_};

  auto* w = qobject_cast<QWidget*>(&object);
  if (binding.placement != Placement::Menu) {
    if (!w) return;
    w->setEnabled(control.enabled());
    w->setToolTip(qs(control.hint()));
    if (control.bold() != w->font().bold()) {
      QFont f = w->font();
      f.setBold(control.bold());
      w->setFont(f);
    }
  }
  if (binding.show) binding.show(*this, control, object);
  // Placed last: a label's size follows the text just shown.
  if (binding.placement == Placement::Placed) {
    place(control, *w, binding);
    w->setVisible(control.visible());
  }
}

void FormRenderer::place(Control& control, QWidget& widget, const Binding& binding) {
  QSize container;
  if (QWidget* parent = widget.parentWidget()) container = parent->size();
  QSize text;
  if (binding.growsToText && binding.textSize) text = binding.textSize(control, widget);
  widget.setGeometry(placement(control, scale_, container, text));
}

void FormRenderer::placeChildren(const Control* container) {
  ++syncing_;
  const auto children = container ? container->children() : form_.topLevelControls();
  for (Control* child : children) {
    auto it = shown_.find(child);
    if (it == shown_.end() || it->second.binding->placement != Placement::Placed) continue;
    if (auto* w = qobject_cast<QWidget*>(it->second.object.data())) {
      place(*child, *w, *it->second.binding);
    }
  }
  --syncing_;
}

double FormRenderer::fitScale() const {
  std::vector<TextNeed> needs;
  for (const auto& [control, shown] : shown_) {
    if (!shown.object || !shown.binding->textSize) continue;
    const QSize size = shown.binding->textSize(const_cast<Control&>(*control), *shown.object);
    if (size.isValid()) needs.push_back({control, size, shown.binding->growsToText});
  }
  const int gap = content_ ? content_->fontMetrics().averageCharWidth() : 0;
  return desktop::fitScale(form_, needs, gap);
}

QSize FormRenderer::designSize() const {
  const QSize design = designClient(form_, nullptr);
  return {scaled(design.width(), scale_), scaled(design.height(), scale_)};
}

void FormRenderer::showFocus() {
  Control* active = form_.activeControl();
  if (!active) return;
  QWidget* w = widgetFor(*active);
  if (!w || w->hasFocus()) return;
  ++syncing_;
  w->setFocus(Qt::OtherFocusReason);
  --syncing_;
}

void FormRenderer::act(Control& control, const std::function<void()>& action) {
  if (!attached_) return;
  dispatch(action);
  // The screen may have closed meanwhile; otherwise show again what the person's action
  // left, so a refused change disappears from the widget too.
  if (!attached_) return;
  showAll(control);
  if (!dispatching()) {
    // Qt moves its focus only after the event that caused it; put it back where the form
    // has it once Qt is done.
    QTimer::singleShot(0, content_, [this] {
      if (attached_) showFocus();
    });
  }
}

void FormRenderer::actForPerson(Control& control, const std::function<void()>& action) {
  if (!syncing_ && attached_) act(control, action);
}

void FormRenderer::focusedByPerson(Control& control) {
  if (form_.activeControl() == &control) return;
  act(control, [this, &control] { form_.userFocus(control); });
}

bool FormRenderer::filter(QObject* watched, QEvent* event) {
  if (!attached_) return false;
  if (watched == content_) {
    if (event->type() == QEvent::Resize) placeChildren(nullptr);
    return false;
  }
  Control* control = controlFor(watched);
  if (!control) return false;
  switch (event->type()) {
    case QEvent::Resize:
      // Anchored children follow their container's new size.
      if (objectFor(*control) == watched) placeChildren(control);
      return false;
    case QEvent::FocusIn: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A window coming back to the front or a pop-up closing hands the focus back: no
      // person moved it.
      if (syncing_ || dispatching() || reason == Qt::ActiveWindowFocusReason ||
          reason == Qt::PopupFocusReason) {
        return false;
      }
      if (control->focusable()) focusedByPerson(*control);
      return false;
    }
    case QEvent::KeyPress: {
      auto& key = *static_cast<QKeyEvent*>(event);
      auto it = shown_.find(control);
      const Binding* binding = it == shown_.end() ? nullptr : it->second.binding;
      if (binding && binding->keyPress) {
        return binding->keyPress(*this, *control, *static_cast<QWidget*>(watched), key);
      }
      return formKeys(*this, *control, key).value_or(false);
    }
    default:
      return false;
  }
}

}  // namespace qbk::desktop
