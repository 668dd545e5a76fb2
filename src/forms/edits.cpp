#include "edits.h"

#include <algorithm>

#include "typing.h"

namespace qbk::forms {

void Edit::setText(std::string value) {
  const int caret = textLength(value);
  changeText(std::move(value), caret);
}

void Edit::changeText(std::string value, int caret) {
  const bool changed = text() != value;
  if (changed) Control::setText(std::move(value));
  setSelStart(caret);
  if (!changed) return;
  textChanged();
  if (onChange) onChange(*this);
}

void Edit::setMaxLength(int value) {
  assign(maxLength_, std::max(value, 0), Property::MaxLength);
}
void Edit::setReadOnly(bool value) {
  assign(readOnly_, value, Property::ReadOnly);
}
void Edit::setEditMask(std::string value) {
  assign(editMask_, std::move(value), Property::EditMask);
}

void Edit::setSelStart(int value) {
  assign(selStart_, std::clamp(value, 0, textLength(text())), Property::SelStart);
}

bool Edit::acceptsInput(char32_t) {
  return !readOnly_;
}

bool Edit::typeKey(char32_t key) {
  if (!takeFocusForInput()) return false;
  if (onKeyPress) onKeyPress(*this, key);
  if (key == 0) return false;
  if (!isTextInput(key)) {
    controlKey(key);
    return false;
  }
  if (!acceptsInput(key)) return false;
  std::string value = text();
  int caret = selStart_;
  if (!applyTypedKey(value, caret, key, effectiveMaxLength())) return false;
  changeText(std::move(value), caret);
  return true;
}

int Edit::typeText(std::string_view text) {
  int changed = 0;
  for (char32_t ch : decodeUtf8(text)) {
    if (typeKey(ch)) ++changed;
  }
  return changed;
}

}  // namespace qbk::forms
