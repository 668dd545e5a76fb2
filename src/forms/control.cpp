#include "control.h"

#include <array>

#include "form.h"

namespace qbk::forms {

namespace {

// Classes that live only inside a particular owner (pages, menu entries) or only at the
// top of a form (menus).
constexpr std::array<std::string_view, 5> kSpecialClasses = {"TTabSheet", "TPage", "TMenuItem",
                                                             "TMainMenu", "TPopupMenu"};

}  // namespace

bool isPlainVisualClass(std::string_view className) {
  for (auto special : kSpecialClasses) {
    if (className == special) return false;
  }
  return true;
}

Control::Control(const Init& init)
    : form_(init.form), className_(init.className), name_(init.name), parent_(init.parent) {
  if (name_.empty()) throw FormError("Controle sem nome (" + className_ + ").");
  if (parent_) {
    if (&parent_->form_ != &form_) {
      throw FormError("O controle '" + name_ + "' não pode ficar em '" + parent_->name_ +
                      "', de outro formulário.");
    }
    if (!parent_->acceptsChild(className_)) {
      throw FormError("O controle '" + name_ + "' (" + className_ + ") não pode ficar em '" +
                      parent_->name_ + "' (" + parent_->className_ + ").");
    }
    tabOrder_ = static_cast<int>(parent_->children_.size());
  } else if (!isPlainVisualClass(className_) && className_ != "TMainMenu" &&
             className_ != "TPopupMenu") {
    throw FormError("O controle '" + name_ + "' (" + className_ +
                    ") precisa de um controle que o contenha.");
  }
}

Control::~Control() = default;

bool Control::acceptsChild(std::string_view) const {
  return false;
}

bool Control::contains(const Control& other) const {
  for (const Control* c = &other; c; c = c->parent_) {
    if (c == this) return true;
  }
  return false;
}

void Control::setCaption(std::string value) {
  assign(caption_, std::move(value), Property::Caption);
}
void Control::setText(std::string value) {
  assign(text_, std::move(value), Property::Text);
}
void Control::setHint(std::string value) {
  assign(hint_, std::move(value), Property::Hint);
}

void Control::setEnabled(bool value) {
  if (assign(enabled_, value, Property::Enabled)) visibilityChanged();
}

void Control::setVisible(bool value) {
  if (assign(visible_, value, Property::Visible)) visibilityChanged();
}

void Control::setLeft(int value) {
  assign(left_, value, Property::Left);
}
void Control::setTop(int value) {
  assign(top_, value, Property::Top);
}
void Control::setWidth(int value) {
  assign(width_, value, Property::Width);
}
void Control::setHeight(int value) {
  assign(height_, value, Property::Height);
}

void Control::setBounds(int left, int top, int width, int height) {
  setLeft(left);
  setTop(top);
  setWidth(width);
  setHeight(height);
}

void Control::setTag(int value) {
  assign(tag_, value, Property::Tag);
}
void Control::setTabOrder(int value) {
  assign(tabOrder_, value, Property::TabOrder);
}
void Control::setBold(bool value) {
  assign(bold_, value, Property::Bold);
}
void Control::setAnchors(Anchors value) {
  assign(anchors_, value, Property::Anchors);
}

bool Control::isEffectivelyVisible() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (c->parent_ && !c->parent_->showsChild(*c)) return false;
  }
  return true;
}

bool Control::isEffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

bool Control::canFocus() const {
  return focusable() && isEffectivelyVisible() && isEffectivelyEnabled();
}

bool Control::focused() const {
  return form_.activeControl() == this;
}

bool Control::setFocus() {
  if (!canFocus()) return false;
  return form_.moveFocus(this);
}

void Control::visibilityChanged() {
  form_.dropFocusIfHidden();
}

bool Control::takeFocusForInput() {
  if (focused()) return canFocus();
  return form_.userFocus(*this);
}

}  // namespace qbk::forms
