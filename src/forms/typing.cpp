#include "typing.h"

#include <algorithm>

#include "data/value.h"

namespace qbk::forms {

namespace {

std::size_t byteOffset(std::string_view text, int chars) {
  return data::utf8Prefix(text, static_cast<std::size_t>(std::max(chars, 0))).size();
}

}  // namespace

bool isTextInput(char32_t key) {
  if (key == 8) return true;
  if (key < 32 || key == 127) return false;
  if (key >= 0xD800 && key <= 0xDFFF) return false;  // lone surrogates are no characters
  return key <= 0x10FFFF;
}

int textLength(std::string_view text) {
  return static_cast<int>(data::utf8Length(text));
}

std::string encodeUtf8(char32_t ch) {
  std::string out;
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
  return out;
}

std::u32string decodeUtf8(std::string_view text) {
  std::u32string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80           ? 0
                      : (lead >> 5) == 0x6  ? 1
                      : (lead >> 4) == 0xE  ? 2
                      : (lead >> 3) == 0x1E ? 3
                                            : -1;
    bool ok = extra >= 0 && i + extra < text.size();
    char32_t cp = ok ? static_cast<char32_t>(lead & (0x7F >> extra)) : 0;
    for (int k = 1; ok && k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + k]);
      ok = (cont & 0xC0) == 0x80;
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    out += cp;
    i += extra + 1;
  }
  return out;
}

bool applyTypedKey(std::string& text, int& caret, char32_t key, int maxLength) {
  const int length = textLength(text);
  caret = std::clamp(caret, 0, length);
  if (key == 8) {
    if (caret == 0) return false;
    const std::size_t from = byteOffset(text, caret - 1);
    const std::size_t to = byteOffset(text, caret);
    text.erase(from, to - from);
    --caret;
    return true;
  }
  if (!isTextInput(key)) return false;
  if (maxLength > 0 && length >= maxLength) return false;
  text.insert(byteOffset(text, caret), encodeUtf8(key));
  ++caret;
  return true;
}

}  // namespace qbk::forms
