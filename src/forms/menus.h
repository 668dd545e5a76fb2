// Main and pop-up menus and their items.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "control.h"
#include "keys.h"

namespace qbk::forms {

class MenuItem : public Control {
 public:
  static constexpr const char* kClassName = "TMenuItem";
  explicit MenuItem(const Init& init);

  // The caption carries "&" before the accelerator letter; "-" makes a separator line.
  bool isSeparator() const { return caption() == "-"; }
  bool checked() const { return checked_; }
  void setChecked(bool value);
  const Shortcut& shortcut() const { return shortcut_; }
  void setShortcut(Shortcut value);
  void setShortcut(std::string_view text) { setShortcut(parseShortcut(text)); }
  std::vector<MenuItem*> items() const;

  // The program chooses the item: runs onClick.
  void click();
  // A person chooses the item: refused (false) when it or a menu above it is disabled or
  // hidden, or when it is a separator.
  bool userClick();

  std::function<void(MenuItem&)> onClick;

 protected:
  bool acceptsChild(std::string_view className) const override { return className == kClassName; }

 private:
  bool checked_ = false;
  Shortcut shortcut_;
};

class MainMenu : public Control {
 public:
  static constexpr const char* kClassName = "TMainMenu";
  explicit MainMenu(const Init& init) : Control(init) {}
  std::vector<MenuItem*> items() const;

 protected:
  bool acceptsChild(std::string_view className) const override {
    return className == MenuItem::kClassName;
  }
};

class PopupMenu : public Control {
 public:
  static constexpr const char* kClassName = "TPopupMenu";
  explicit PopupMenu(const Init& init) : Control(init) {}
  std::vector<MenuItem*> items() const;

  // Shows the menu at a point of the screen; observers hear Property::Popup and show it.
  void popup(int x, int y);
  int popupCount() const { return popupCount_; }
  int popupX() const { return popupX_; }
  int popupY() const { return popupY_; }

  std::function<void(PopupMenu&)> onPopup;

 protected:
  bool acceptsChild(std::string_view className) const override {
    return className == MenuItem::kClassName;
  }

 private:
  int popupCount_ = 0;
  int popupX_ = 0;
  int popupY_ = 0;
};

}  // namespace qbk::forms
