// A screen: owns its controls by name, tracks the focus, locks window updates.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "control.h"
#include "keys.h"
#include "signal.h"

namespace qbk::forms {

class MainMenu;

enum class FormEvent {
  Caption,
  Bounds,
  ActiveControl,    // the focus moved (or was dropped)
  UpdatesUnlocked,  // the outermost update lock was released: show everything at once
  Repaint,
};

class Form {
 public:
  using Observer = std::function<void(Form&, FormEvent)>;

  explicit Form(std::string className = "TForm", std::string name = {});
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& className() const { return className_; }
  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string value);
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setBounds(int left, int top, int width, int height);
  // The area the top-level controls were laid out in: up to the right-most and lowest edge
  // of any of them (the window's size also counts its frame and menu).
  int clientWidth() const;
  int clientHeight() const;

  // ---- controls ------------------------------------------------------------------------
  // Creates a control owned by this form. Names are unique within the form; the parent
  // must belong to this form and accept a control of that class.
  template <class T>
  T& create(std::string name, Control* parent = nullptr) {
    checkNewName(name);
    auto owned = std::make_unique<T>(Control::Init(*this, T::kClassName, std::move(name), parent));
    T& ref = *owned;
    adopt(std::move(owned));
    return ref;
  }

  // The control with that name and type; FormError naming it when it is missing or of
  // another kind.
  template <class T = Control>
  T& find(std::string_view name) const {
    Control* c = tryFindControl(name);
    if (!c) throw missingControl(name);
    T* t = dynamic_cast<T*>(c);
    if (!t) {
      if constexpr (requires { T::kClassName; }) {
        throw wrongControlType(*c, T::kClassName);
      } else {
        throw wrongControlType(*c, typeid(T).name());
      }
    }
    return *t;
  }
  // Null when missing or of another kind.
  template <class T = Control>
  T* tryFind(std::string_view name) const {
    return dynamic_cast<T*>(tryFindControl(name));
  }
  Control* tryFindControl(std::string_view name) const;
  const std::vector<Control*>& controls() const { return order_; }  // creation order
  std::vector<Control*> topLevelControls() const;
  MainMenu* mainMenu() const;  // the first main menu, if any

  // ---- focus ---------------------------------------------------------------------------
  Control* activeControl() const { return active_; }
  // A person clicks or tabs into a control. Refused (false) when it cannot take the focus
  // now. Runs the exit handler of the control being left first; when that raises, the
  // focus stays and the exception goes on. Then the enter handler of the new one.
  bool userFocus(Control& control);
  // The Tab key: the next (or previous) control that can take the focus, in tab order
  // (each container's children by tabOrder, depth first), wrapping around.
  bool focusNext(bool backwards = false);

  // ---- painting ------------------------------------------------------------------------
  // Nested freezing of window updates; observers hear UpdatesUnlocked once, when the
  // outermost lock is released. Unlocking without a lock is a FormError.
  void lockUpdates();
  void unlockUpdates();
  bool updatesLocked() const { return lockDepth_ > 0; }
  class UpdateLock {
   public:
    explicit UpdateLock(Form& form) : form_(form) { form_.lockUpdates(); }
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

   private:
    Form& form_;
  };
  void repaint();
  int repaintCount() const { return repaintCount_; }

  // ---- keyboard ------------------------------------------------------------------------
  // A shortcut pressed on the form: clicks the first menu item of the main menu with that
  // shortcut that a person could choose (enabled and visible, with its parents). False
  // when there is none.
  bool shortcut(int key, Shift shift = {});

  Subscription observe(Observer observer) { return events_.connect(std::move(observer)); }

 private:
  friend class Control;
  void checkNewName(const std::string& name) const;
  void adopt(std::unique_ptr<Control> control);
  bool moveFocus(Control* target);
  // The program hid or disabled something: a focused control that can no longer take the
  // focus loses it, without an exit handler (nobody left it).
  void dropFocusIfHidden();
  FormError missingControl(std::string_view name) const;
  FormError wrongControlType(const Control& control, const char* wanted) const;
  void notify(FormEvent event) { events_.emit(*this, event); }

  std::string className_;
  std::string name_;
  std::string caption_;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;

  std::map<std::string, std::unique_ptr<Control>, std::less<>> byName_;
  std::vector<Control*> order_;
  Control* active_ = nullptr;
  Control* exiting_ = nullptr;  // control whose exit handler is running
  int lockDepth_ = 0;
  int repaintCount_ = 0;
  bool destroying_ = false;
  Signal<Form&, FormEvent> events_;
};

}  // namespace qbk::forms
