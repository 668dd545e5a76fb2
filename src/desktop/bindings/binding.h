// How the renderer shows one kind of control: the widget it builds for it, how the control's
// state shows on that widget, and how a person's keys on it reach the control. Every kind has
// exactly one binding, listed in one table (table.cpp), so a new kind of control is bound in
// one place.
#pragma once

#include <QObject>
#include <QSize>
#include <functional>
#include <optional>

#include "forms/control.h"

class QKeyEvent;
class QMenuBar;
class QWidget;

namespace qbk::forms {
class Form;
}

namespace qbk::desktop {

// What a binding may ask of the renderer that runs it.
class RenderContext {
 public:
  virtual forms::Form& form() const = 0;
  // The widget area the screen's controls live in, the screen's menu bar (null when the
  // screen is shown without one) and the widget whose focus scope the shortcuts act in.
  virtual QWidget* content() const = 0;
  virtual QMenuBar* menuBar() const = 0;
  virtual QWidget* shortcutScope() const = 0;

  // Builds a control (with its binding) inside `parent`; the object that shows it, or null.
  virtual QObject* build(forms::Control& control, QWidget* parent) = 0;
  void buildChildren(forms::Control& control, QWidget* parent) {
    for (forms::Control* child : control.children()) build(*child, parent);
  }
  virtual QObject* objectFor(const forms::Control& control) const = 0;
  // A widget that shows a piece of a control (a radio group's buttons): its focus and keys
  // are the control's.
  virtual void watchPart(forms::Control& control, QObject* part) = 0;
  // Shows the control's whole state on its widget again.
  virtual void show(forms::Control& control) = 0;

  // A person's action on a control, then the control shown again.
  virtual void act(forms::Control& control, const std::function<void()>& action) = 0;
  // act() for a widget's signal: nothing while the renderer itself is changing the widget
  // (that is no person's doing) or once the form has gone.
  virtual void actForPerson(forms::Control& control, const std::function<void()>& action) = 0;
  virtual bool attached() const = 0;
  // The factor the design is drawn at so that every caption fits (layout/text_fit.h).
  virtual double scale() const = 0;

 protected:
  ~RenderContext() = default;
};

// How the renderer places what a binding builds before the binding shows the rest.
enum class Placement {
  Placed,   // a widget at the control's bounds, shown while the control is visible
  Stacked,  // a page in its owner's stack: the owner decides which one shows
  Menu,     // a menu or a menu entry: no widget placement applies
};

struct Binding {
  Placement placement = Placement::Placed;
  std::function<QObject*(RenderContext&, forms::Control&, QWidget* parent)> build;
  // The kind's own state (the renderer has shown bounds, visibility, enabled state, hint
  // and weight already).
  std::function<void(RenderContext&, forms::Control&, QObject&)> show;
  // A change that is an event rather than a state (a pop-up menu popping up); true when
  // handled, so the control is not shown again for it.
  std::function<bool(RenderContext&, forms::Control&, QObject&, forms::Property)> event;
  // A key pressed on the control's widget; true when consumed. Without one, the keys the
  // form itself takes (formKeys) are all a control hears.
  std::function<bool(RenderContext&, forms::Control&, QWidget&, QKeyEvent&)> keyPress;
  // The size the control's own text needs on its widget as shown (a caption, a title, the
  // tabs), so that the layout never cuts it; without one the control has no caption.
  std::function<QSize(forms::Control&, QObject&)> textSize;
  // The widget grows past its design size to hold that text (labels).
  bool growsToText = false;
};

// The keys the form takes from any control: shortcuts belong to the menus (Qt finds them
// first; false lets it), Tab moves the focus (true). Nothing for any other key.
std::optional<bool> formKeys(RenderContext& ctx, forms::Control& control, QKeyEvent& key);

// A binding written against the control's and the widget's own types.
template <class C, class W>
struct TypedBinding {
  Placement placement = Placement::Placed;
  std::function<W*(RenderContext&, C&, QWidget*)> build;
  std::function<void(RenderContext&, C&, W&)> show;
  std::function<bool(RenderContext&, C&, W&, forms::Property)> event;
  std::function<bool(RenderContext&, C&, QWidget&, QKeyEvent&)> keyPress;
  std::function<QSize(C&, W&)> textSize;
  bool growsToText = false;

  operator Binding() const {
    Binding b;
    b.placement = placement;
    b.growsToText = growsToText;
    if (textSize) {
      b.textSize = [f = textSize](forms::Control& c, QObject& o) {
        return f(static_cast<C&>(c), static_cast<W&>(o));
      };
    }
    b.build = [f = build](RenderContext& ctx, forms::Control& c, QWidget* parent) -> QObject* {
      return f(ctx, static_cast<C&>(c), parent);
    };
    if (show) {
      b.show = [f = show](RenderContext& ctx, forms::Control& c, QObject& o) {
        f(ctx, static_cast<C&>(c), static_cast<W&>(o));
      };
    }
    if (event) {
      b.event = [f = event](RenderContext& ctx, forms::Control& c, QObject& o, forms::Property p) {
        return f(ctx, static_cast<C&>(c), static_cast<W&>(o), p);
      };
    }
    if (keyPress) {
      b.keyPress = [f = keyPress](RenderContext& ctx, forms::Control& c, QWidget& w, QKeyEvent& k) {
        return f(ctx, static_cast<C&>(c), w, k);
      };
    }
    return b;
  }
};

}  // namespace qbk::desktop
