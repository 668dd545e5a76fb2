// The base of every named object of a screen: what a person sees of it and who observes it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "signal.h"

namespace qbk::forms {

class Form;

// Misuse of a screen's controls: a name that does not exist or names another kind of
// control, a duplicate name, a control placed where it cannot live.
class FormError : public Error {
 public:
  using Error::Error;
};

// What changed, so that a renderer repaints just that.
enum class Property {
  Caption,
  Text,
  Hint,
  Enabled,
  Visible,
  Left,
  Top,
  Width,
  Height,
  Tag,
  TabOrder,
  Bold,
  ReadOnly,
  MaxLength,
  EditMask,
  SelStart,
  Checked,
  Items,
  Values,
  ItemIndex,
  ActivePage,
  TabVisible,
  PageIndex,
  Shortcut,
  Glyph,
  Columns,
  SelectedIndex,
  Options,
  Data,        // the bound record set's content, current record or state changed
  CellEditor,  // a grid's in-place editor opened, closed or changed its text
  VisibleButtons,
  Popup,
  Anchors,
};

// The sides of its container a control keeps its design distance to when the container is
// shown at another size than designed: anchored to two opposite sides it stretches between
// them; anchored to neither, it keeps its place relative to the container's middle.
struct Anchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
  bool operator==(const Anchors&) const = default;
};

class Control {
 public:
  using Observer = std::function<void(Control&, Property)>;

  // Passed by Form::create only, so every control belongs to a form and has a unique name.
  class Init {
   private:
    friend class Form;
    Init(Form& form, std::string className, std::string name, Control* parent)
        : form(form), className(std::move(className)), name(std::move(name)), parent(parent) {}
    Form& form;
    std::string className;
    std::string name;
    Control* parent;
    friend class Control;
  };

  explicit Control(const Init& init);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return form_; }
  const std::string& name() const { return name_; }
  const std::string& className() const { return className_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  bool contains(const Control& other) const;  // itself or one of its descendants

  const std::string& caption() const { return caption_; }
  void setCaption(std::string value);
  const std::string& text() const { return text_; }
  // Edits and combo boxes react to a new text; see theirs.
  virtual void setText(std::string value);
  const std::string& hint() const { return hint_; }
  void setHint(std::string value);
  bool enabled() const { return enabled_; }
  void setEnabled(bool value);
  bool visible() const { return visible_; }
  void setVisible(bool value);
  int left() const { return left_; }
  void setLeft(int value);
  int top() const { return top_; }
  void setTop(int value);
  int width() const { return width_; }
  void setWidth(int value);
  int height() const { return height_; }
  void setHeight(int value);
  void setBounds(int left, int top, int width, int height);
  int tag() const { return tag_; }
  void setTag(int value);
  int tabOrder() const { return tabOrder_; }
  void setTabOrder(int value);
  bool bold() const { return bold_; }
  void setBold(bool value);
  const Anchors& anchors() const { return anchors_; }
  void setAnchors(Anchors value);
  // The area its children are laid out in, in the same design units as their bounds: its
  // own size for a plain container (a page's is its owner's less the tabs and the frame).
  virtual int clientWidth() const { return width_; }
  virtual int clientHeight() const { return height_; }

  // Whether a person sees it / can use it: its own flag and every container's, where a
  // page that is not the one in front hides what it holds.
  bool isEffectivelyVisible() const;
  bool isEffectivelyEnabled() const;

  // Kinds of control that take the keyboard focus.
  virtual bool focusable() const { return false; }
  // Focusable, effectively visible and effectively enabled, right now.
  bool canFocus() const;
  bool focused() const;
  // The program moves the focus here. Runs the exit handler of the control being left
  // first; when that raises, the focus stays and the exception goes on. Returns false
  // and does nothing when this control cannot take the focus now.
  bool setFocus();

  std::function<void(Control&)> onEnter;
  std::function<void(Control&)> onExit;

  Subscription observe(Observer observer) { return changed_.connect(std::move(observer)); }

 protected:
  // Sets a property and notifies, only when the value really changes.
  template <class T, class U>
  bool assign(T& slot, U&& value, Property property) {
    if (slot == value) return false;
    slot = std::forward<U>(value);
    notify(property);
    return true;
  }
  void notify(Property property) { changed_.emit(*this, property); }

  // Whether this container shows the given child (pages show only the one in front).
  virtual bool showsChild(const Control&) const { return true; }
  // Whether a control of the given class may be placed directly inside this one.
  virtual bool acceptsChild(std::string_view className) const;
  // Data-aware controls write what the person typed into their field before the focus
  // leaves them; raising keeps the focus where it is.
  virtual void commitPending() {}

  // This control showed or hid part of the screen (a page turned): a focused control that
  // can no longer take the focus loses it.
  void visibilityChanged();

  // A person's action on this control: it takes the focus first (which runs the exit
  // handler of the control being left). False when it cannot take the focus.
  bool takeFocusForInput();

 private:
  friend class Form;
  Form& form_;
  std::string className_;
  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;

  std::string caption_;
  std::string text_;
  std::string hint_;
  bool enabled_ = true;
  bool visible_ = true;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  int tag_ = 0;
  int tabOrder_ = 0;
  bool bold_ = false;
  Anchors anchors_;

  Signal<Control&, Property> changed_;
};

// Classes that hold other visual controls (panels, group boxes, pages) accept these.
bool isPlainVisualClass(std::string_view className);

}  // namespace qbk::forms
