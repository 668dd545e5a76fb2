// Real widgets for a headless screen. The form stays the truth: a widget only shows what its
// control holds (every Property notification repaints it at once), and a person's action on
// a widget goes to the control's own action (typeKey, userClick, userPick, userSelect,
// userFocus, keyDown, press) through the event boundary, after which the widget is shown
// again from its control, so a refused action leaves no trace on the screen.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "forms/form.h"
#include "forms/signal.h"

class QMenuBar;
class QAction;
class QMenu;

namespace qbk::forms {
class MenuItem;
}

namespace qbk::desktop {

class FormRenderer {
 public:
  // Builds the screen's controls inside `content` (positioned as the resource places them)
  // and its main menu into `menuBar` when given; shortcuts act while the focus is within
  // `shortcutScope`.
  FormRenderer(forms::Form& form, QWidget* content, QMenuBar* menuBar, QWidget* shortcutScope);
  ~FormRenderer();
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  forms::Form& form() const { return form_; }
  // The widget showing a control (for menu items: none; see actionFor).
  QWidget* widgetFor(const forms::Control& control) const;
  QWidget* widgetFor(std::string_view name) const;
  QAction* actionFor(const forms::MenuItem& item) const;
  forms::Control* controlFor(const QObject* widget) const;

  // The form is going away: from now on no widget reaches it.
  void detach();
  bool attached() const { return attached_; }

 private:
  class Filter;
  friend class Filter;

  QWidget* build(forms::Control& control, QWidget* parent);
  void buildChildren(forms::Control& control, QWidget* parent);
  void buildMenu(forms::MenuItem& item, QMenu* into);
  void watch(forms::Control& control, QObject* widget);
  void changed(forms::Control& control, forms::Property property);
  void showAll(forms::Control& control);
  void showFocus();
  // A person's action on a control, then the control shown again.
  void act(forms::Control& control, const std::function<void()>& action);
  bool filter(QObject* watched, QEvent* event);
  bool keyPressed(forms::Control& control, QWidget* widget, class QKeyEvent* key);
  void focusedByPerson(forms::Control& control);

  forms::Form& form_;
  QPointer<QWidget> content_;
  QPointer<QWidget> shortcutScope_;
  std::unique_ptr<Filter> filter_;
  std::map<const forms::Control*, QPointer<QObject>> widgets_;
  std::map<const QObject*, forms::Control*> controls_;
  std::vector<forms::Subscription> subscriptions_;
  forms::Subscription formSubscription_;
  bool attached_ = true;
  int syncing_ = 0;  // the renderer itself is changing widgets: their signals are no person's
};

}  // namespace qbk::desktop
