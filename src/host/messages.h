// Message tables: a screen's user-facing texts, stored as resource lines "key|text" and
// obtained by key.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qbk::host {

enum class MsgType { Confirmation, Warning, Error, Information };
enum class MsgButtons { YesNo, OK };

// Buttons ShowMsg reports.
inline constexpr int mrOk = 1;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

class TMessages {
 public:
  TMessages() = default;
  // One entry per line; the key ends at the first "|" and the rest of the line is the text
  // exactly as stored (bars and trailing blanks included). Blank lines are skipped; a line
  // without a key or a bar, or a key given twice (letter case aside), is a qbk::Error
  // naming the line, so a damaged resource is refused when the screen is built.
  explicit TMessages(std::string_view resource);

  // Keys match without regard to (ASCII) letter case. An unknown key is a qbk::Error naming
  // it.
  const std::string& Msg(std::string_view key) const;
  bool contains(std::string_view key) const;

  // Shows the key's text through the person-facing interface and returns the button
  // pressed: with YesNo, mrYes or mrNo; with OK, mrOk. `help` is a help context, 0 for none.
  int ShowMsg(std::string_view key, MsgType type, MsgButtons buttons, int help = 0) const;

  // Keys in stored order, spelt as stored.
  std::vector<std::string> keys() const;
  int size() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    std::string key;
    std::string text;
  };
  std::vector<Entry> entries_;
  std::unordered_map<std::string, int> index_;  // folded key -> entry
};

// The host's standard texts that every maintenance screen shares ("Excl", "Canc", ...).
const TMessages& standardMessages();

// Fills "%s" placeholders in order with `args` ("%%" stands for "%"). A text without
// placeholders comes back unchanged; a placeholder without an argument stays as written,
// and arguments beyond the placeholders are ignored, so a text that does not match its
// call still shows instead of failing.
std::string formatMessage(std::string_view text, const std::vector<std::string>& args);

}  // namespace qbk::host
