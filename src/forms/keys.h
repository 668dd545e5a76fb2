// Key codes, modifier state and menu shortcuts.
//
// Key-down events carry virtual key codes (the numbers below; letters and digits are their
// upper-case character codes). Typed characters are separate events carrying the character.
#pragma once

#include <string>
#include <string_view>

namespace qbk::forms {

namespace vk {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;  // F1..F12 are consecutive
}  // namespace vk

// Typed characters that are not text.
namespace chars {
inline constexpr char32_t Backspace = 8;
inline constexpr char32_t Tab = 9;
inline constexpr char32_t Enter = 13;
inline constexpr char32_t Escape = 27;
}  // namespace chars

struct Shift {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;

  bool operator==(const Shift&) const = default;
};

struct Shortcut {
  int key = 0;  // 0: no shortcut
  Shift shift;

  bool empty() const { return key == 0; }
  bool operator==(const Shortcut&) const = default;
};

// "Ctrl+E", "Shift+Ctrl+Del", "F5", "Alt+Enter"; "" is no shortcut. Modifier and key names
// are matched without regard to letter case. An unknown name is a FormError.
Shortcut parseShortcut(std::string_view text);

// Canonical text: modifiers in the order Ctrl, Shift, Alt, then the key ("Ctrl+E").
std::string shortcutText(const Shortcut& shortcut);

}  // namespace qbk::forms
