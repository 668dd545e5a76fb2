#include "menus.h"

namespace qbk::forms {

namespace {

std::vector<MenuItem*> menuItems(const Control& c) {
  std::vector<MenuItem*> out;
  for (Control* child : c.children()) {
    if (auto* item = dynamic_cast<MenuItem*>(child)) out.push_back(item);
  }
  return out;
}

}  // namespace

MenuItem::MenuItem(const Init& init) : Control(init) {}

void MenuItem::setChecked(bool value) {
  assign(checked_, value, Property::Checked);
}
void MenuItem::setShortcut(Shortcut value) {
  assign(shortcut_, value, Property::Shortcut);
}
std::vector<MenuItem*> MenuItem::items() const {
  return menuItems(*this);
}

void MenuItem::click() {
  if (onClick) onClick(*this);
}

bool MenuItem::userClick() {
  if (isSeparator() || !isEffectivelyEnabled() || !isEffectivelyVisible()) return false;
  click();
  return true;
}

std::vector<MenuItem*> MainMenu::items() const {
  return menuItems(*this);
}
std::vector<MenuItem*> PopupMenu::items() const {
  return menuItems(*this);
}

void PopupMenu::popup(int x, int y) {
  popupX_ = x;
  popupY_ = y;
  ++popupCount_;
  if (onPopup) onPopup(*this);
  notify(Property::Popup);
}

}  // namespace qbk::forms
