#include "keys.h"

#include <array>
#include <cctype>
#include <utility>

#include "control.h"

namespace qbk::forms {

namespace {

struct NamedKey {
  std::string_view name;
  int key;
};

// The first name of a key is its canonical text.
constexpr std::array<NamedKey, 22> kNamedKeys = {{
    {"BkSp", vk::Back},         {"Backspace", vk::Back}, {"Tab", vk::Tab},
    {"Enter", vk::Return},      {"Return", vk::Return},  {"Esc", vk::Escape},
    {"Escape", vk::Escape},     {"Space", vk::Space},    {"PgUp", vk::PageUp},
    {"PgDn", vk::PageDown},     {"End", vk::End},        {"Home", vk::Home},
    {"Left", vk::Left},         {"Up", vk::Up},          {"Right", vk::Right},
    {"Down", vk::Down},         {"Ins", vk::Insert},     {"Insert", vk::Insert},
    {"Del", vk::Delete},        {"Delete", vk::Delete},  {"PageUp", vk::PageUp},
    {"PageDown", vk::PageDown},
}};

bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

int keyFromName(std::string_view name) {
  if (name.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(name[0]);
    if (std::isalnum(c)) return std::toupper(c);
  }
  if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    bool digits = true;
    for (char ch : name.substr(1)) {
      if (!std::isdigit(static_cast<unsigned char>(ch))) digits = false;
      n = n * 10 + (ch - '0');
    }
    if (digits && n >= 1 && n <= 12) return vk::F1 + n - 1;
  }
  for (const auto& named : kNamedKeys) {
    if (sameText(named.name, name)) return named.key;
  }
  return 0;
}

}  // namespace

Shortcut parseShortcut(std::string_view text) {
  text = trim(text);
  if (text.empty()) return {};
  Shortcut out;
  // The key is the last part; a "+" as the key itself is written "Ctrl++" and not needed.
  std::string_view rest = text;
  for (;;) {
    const auto plus = rest.find('+');
    if (plus == std::string_view::npos) break;
    const std::string_view modifier = trim(rest.substr(0, plus));
    if (sameText(modifier, "Ctrl")) {
      out.shift.ctrl = true;
    } else if (sameText(modifier, "Shift")) {
      out.shift.shift = true;
    } else if (sameText(modifier, "Alt")) {
      out.shift.alt = true;
    } else {
      throw FormError("Atalho inválido: '" + std::string(text) + "'.");
    }
    rest = rest.substr(plus + 1);
  }
  out.key = keyFromName(trim(rest));
  if (out.key == 0) throw FormError("Atalho inválido: '" + std::string(text) + "'.");
  return out;
}

std::string shortcutText(const Shortcut& shortcut) {
  if (shortcut.empty()) return {};
  std::string out;
  if (shortcut.shift.ctrl) out += "Ctrl+";
  if (shortcut.shift.shift) out += "Shift+";
  if (shortcut.shift.alt) out += "Alt+";
  const int key = shortcut.key;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    out += static_cast<char>(key);
  } else if (key >= vk::F1 && key < vk::F1 + 12) {
    out += "F" + std::to_string(key - vk::F1 + 1);
  } else {
    for (const auto& named : kNamedKeys) {
      if (named.key == key) {
        out += named.name;
        break;
      }
    }
  }
  return out;
}

}  // namespace qbk::forms
