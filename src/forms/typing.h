// A typed character applied to a one-line text at a caret, as an edit box does it.
// Positions and lengths count characters (code points), not bytes.
#pragma once

#include <string>
#include <string_view>

namespace qbk::forms {

// Characters that change a one-line text: printable ones and backspace.
bool isTextInput(char32_t key);

// Inserts a printable character at the caret (refused when the text already holds
// maxLength characters; 0 is no limit) or removes the character before the caret for a
// backspace. Returns whether the text changed; the caret follows the change.
bool applyTypedKey(std::string& text, int& caret, char32_t key, int maxLength);

int textLength(std::string_view text);
std::string encodeUtf8(char32_t ch);
// Split a UTF-8 text into its characters (invalid bytes pass as U+FFFD).
std::u32string decodeUtf8(std::string_view text);

}  // namespace qbk::forms
