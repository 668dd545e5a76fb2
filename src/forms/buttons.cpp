#include "buttons.h"

#include "menus.h"

namespace qbk::forms {

void CommandButton::setGlyph(std::string value) {
  assign(glyph_, std::move(value), Property::Glyph);
}

void CommandButton::followMenuItem() {
  if (menuItem_) setEnabled(menuItem_->enabled());
}

void CommandButton::click() {
  if (onClick) onClick(*this);
}

bool CommandButton::userClick() {
  if (!isEffectivelyEnabled() || !isEffectivelyVisible()) return false;
  click();
  return true;
}

}  // namespace qbk::forms
