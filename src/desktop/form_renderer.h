// Real widgets for a headless screen. The form stays the truth: a widget only shows what its
// control holds (every Property notification repaints it at once), and a person's action on
// a widget goes to the control's own action (typeKey, userClick, userPick, userSelect,
// userFocus, keyDown, press) through the event boundary, after which the widget is shown
// again from its control, so a refused action leaves no trace on the screen.
#pragma once

#include <QMenuBar>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "desktop/bindings/binding.h"
#include "forms/form.h"
#include "forms/signal.h"

class QAction;

namespace qbk::forms {
class MenuItem;
}

namespace qbk::desktop {

// Each kind of control is drawn by its binding (bindings/table.cpp); the renderer keeps what
// every kind shares: which widget shows which control, the placement of widgets, and the
// events that route a person's focus and keys to the controls.
class FormRenderer : private RenderContext {
 public:
  // Builds the screen's controls inside `content` (positioned as the resource places them)
  // and its main menu into `menuBar` when given; shortcuts act while the focus is within
  // `shortcutScope`.
  FormRenderer(forms::Form& form, QWidget* content, QMenuBar* menuBar, QWidget* shortcutScope);
  ~FormRenderer();
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  forms::Form& form() const override { return form_; }
  // The widget showing a control (for menu items: none; see actionFor).
  QWidget* widgetFor(const forms::Control& control) const;
  QWidget* widgetFor(std::string_view name) const;
  QAction* actionFor(const forms::MenuItem& item) const;
  forms::Control* controlFor(const QObject* widget) const;

  // The factor the design is drawn at so that every caption fits its room (at least 1), and
  // the size the screen's controls take at that factor when nothing is stretched.
  double scale() const override { return scale_; }
  QSize designSize() const;

  // The form is going away: from now on no widget reaches it.
  void detach();
  bool attached() const override { return attached_; }

 private:
  class Filter;
  friend class Filter;

  struct Shown {
    QPointer<QObject> object;
    const Binding* binding = nullptr;
  };

  // What the bindings ask of the renderer.
  QWidget* content() const override { return content_; }
  QMenuBar* menuBar() const override { return menuBar_; }
  QWidget* shortcutScope() const override { return shortcutScope_; }
  QObject* build(forms::Control& control, QWidget* parent) override;
  QObject* objectFor(const forms::Control& control) const override;
  void watchPart(forms::Control& control, QObject* part) override;
  void show(forms::Control& control) override { showAll(control); }
  void act(forms::Control& control, const std::function<void()>& action) override;
  void actForPerson(forms::Control& control, const std::function<void()>& action) override;

  void watch(forms::Control& control, QObject* object, const Binding& binding);
  void changed(forms::Control& control, forms::Property property);
  void showAll(forms::Control& control);
  // Places the widgets of a container's children (of the top-level controls for null) in
  // the container's widget as it is now.
  void placeChildren(const forms::Control* container);
  void place(forms::Control& control, QWidget& widget, const Binding& binding);
  double fitScale() const;
  void showFocus();
  bool filter(QObject* watched, QEvent* event);
  void focusedByPerson(forms::Control& control);

  forms::Form& form_;
  QPointer<QWidget> content_;
  QPointer<QMenuBar> menuBar_;
  QPointer<QWidget> shortcutScope_;
  std::unique_ptr<Filter> filter_;
  std::map<const forms::Control*, Shown> shown_;
  std::map<const QObject*, forms::Control*> controls_;
  std::vector<forms::Subscription> subscriptions_;
  forms::Subscription formSubscription_;
  bool attached_ = true;
  double scale_ = 1.0;
  int syncing_ = 0;  // the renderer itself is changing widgets: their signals are no person's
};

}  // namespace qbk::desktop
