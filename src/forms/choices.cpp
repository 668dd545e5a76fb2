#include "choices.h"

#include <cctype>

#include "form.h"
#include "keys.h"
#include "typing.h"

namespace qbk::forms {

namespace {

void checkIndex(const Control& c, int index, std::size_t count) {
  if (index < -1 || index >= static_cast<int>(count)) {
    throw FormError("Item " + std::to_string(index) + " inexistente em '" + c.name() + "'.");
  }
}

}  // namespace

// ---- CheckBox --------------------------------------------------------------------------

void CheckBox::setChecked(bool value) {
  if (!assign(checked_, value, Property::Checked)) return;
  checkedChanged();
  if (onClick) onClick(*this);
}

bool CheckBox::userClick() {
  if (!takeFocusForInput() || !prepareUserChange()) return false;
  setChecked(!checked_);
  return true;
}

// ---- RadioButton -----------------------------------------------------------------------

void RadioButton::setChecked(bool value) {
  if (!assign(checked_, value, Property::Checked)) return;
  if (!value) return;
  const auto& siblings = parent() ? parent()->children() : form().topLevelControls();
  for (Control* c : siblings) {
    auto* other = dynamic_cast<RadioButton*>(c);
    if (other && other != this) other->setChecked(false);
  }
  if (onClick) onClick(*this);
}

bool RadioButton::userClick() {
  if (!takeFocusForInput()) return false;
  setChecked(true);
  return true;
}

// ---- ComboBox --------------------------------------------------------------------------

void ComboBox::setItems(std::vector<std::string> items) {
  if (!assign(items_, std::move(items), Property::Items)) return;
  if (itemIndex_ >= static_cast<int>(items_.size())) setItemIndex(-1);
  Control::setText(itemIndex_ >= 0 ? items_[itemIndex_] : std::string());
  itemsChanged();
}

void ComboBox::setItemIndex(int index) {
  checkIndex(*this, index, items_.size());
  if (!assign(itemIndex_, index, Property::ItemIndex)) return;
  Control::setText(index >= 0 ? items_[index] : std::string());
}

void ComboBox::setText(std::string value) {
  int found = -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == value) {
      found = static_cast<int>(i);
      break;
    }
  }
  setItemIndex(found);
}

bool ComboBox::pick(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return false;
  if (!preparePick(index)) return false;
  const int before = itemIndex_;
  setItemIndex(index);
  picked(index);
  if (itemIndex_ != before && onChange) onChange(*this);
  return true;
}

bool ComboBox::userPick(int index) {
  if (!takeFocusForInput()) return false;
  return pick(index);
}

bool ComboBox::typeKey(char32_t key) {
  if (!takeFocusForInput()) return false;
  if (onKeyPress) onKeyPress(*this, key);
  if (key == 0 || !isTextInput(key) || key == chars::Backspace || items_.empty()) return false;
  auto lower = [](char32_t c) { return c < 128 ? static_cast<char32_t>(std::tolower(c)) : c; };
  const int count = static_cast<int>(items_.size());
  for (int step = 1; step <= count; ++step) {
    const int i = (itemIndex_ + step + count) % count;
    const std::u32string entry = decodeUtf8(items_[i]);
    if (!entry.empty() && lower(entry[0]) == lower(key)) return pick(i);
  }
  return false;
}

// ---- RadioGroup ------------------------------------------------------------------------

void RadioGroup::setItems(std::vector<std::string> items) {
  if (!assign(items_, std::move(items), Property::Items)) return;
  if (itemIndex_ >= static_cast<int>(items_.size())) setItemIndex(-1);
  itemsChanged();
}

void RadioGroup::setItemIndex(int index) {
  checkIndex(*this, index, items_.size());
  if (!assign(itemIndex_, index, Property::ItemIndex)) return;
  itemIndexChanged();
  if (onChange) onChange(*this);
}

bool RadioGroup::userPick(int index) {
  if (!takeFocusForInput()) return false;
  if (index < 0 || index >= static_cast<int>(items_.size())) return false;
  if (!preparePick(index)) return false;
  setItemIndex(index);
  return true;
}

}  // namespace qbk::forms
