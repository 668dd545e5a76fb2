#include "host/messages.h"

#include "data/errors.h"
#include "host/user_interface.h"

namespace qbk::host {

namespace resource {
extern const std::string_view mensagens_padroes;
}

namespace {

std::string fold(std::string_view key) {
  std::string out(key);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

TMessages::TMessages(std::string_view resource) {
  int lineNo = 0;
  while (!resource.empty()) {
    ++lineNo;
    auto end = resource.find('\n');
    std::string_view line = resource.substr(0, end);
    resource = end == std::string_view::npos ? std::string_view{} : resource.substr(end + 1);
    // A resource saved with CR LF endings must not leave a CR at the end of every text.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;

    auto bar = line.find('|');
    if (bar == std::string_view::npos || bar == 0) {
      throw Error("Tabela de mensagens, linha " + std::to_string(lineNo) +
                  ": esperado \"chave|texto\".");
    }
    std::string key(line.substr(0, bar));
    auto [it, added] = index_.emplace(fold(key), static_cast<int>(entries_.size()));
    if (!added) {
      throw Error("Tabela de mensagens, linha " + std::to_string(lineNo) + ": chave '" + key +
                  "' repetida.");
    }
    entries_.push_back({std::move(key), std::string(line.substr(bar + 1))});
  }
}

const std::string& TMessages::Msg(std::string_view key) const {
  auto it = index_.find(fold(key));
  if (it == index_.end()) {
    throw Error("Mensagem '" + std::string(key) + "' não encontrada.");
  }
  return entries_[it->second].text;
}

bool TMessages::contains(std::string_view key) const {
  return index_.contains(fold(key));
}

int TMessages::ShowMsg(std::string_view key, MsgType type, MsgButtons buttons,
                       int /*help: no help system is wired to the dialogs*/) const {
  const std::string& text = Msg(key);
  UserInterface& ui = userInterface();
  if (buttons == MsgButtons::YesNo) return ui.confirm(text) ? mrYes : mrNo;
  switch (type) {
    case MsgType::Error:
      ui.showError(text);
      break;
    case MsgType::Warning:
      ui.showWarning(text);
      break;
    case MsgType::Confirmation:
    case MsgType::Information:
      ui.showInfo(text);
      break;
  }
  return mrOk;
}

std::vector<std::string> TMessages::keys() const {
  std::vector<std::string> out;
  out.reserve(entries_.size());
  for (const auto& e : entries_) out.push_back(e.key);
  return out;
}

const TMessages& standardMessages() {
  static const TMessages table(resource::mensagens_padroes);
  return table;
}

std::string formatMessage(std::string_view text, const std::vector<std::string>& args) {
  std::string out;
  out.reserve(text.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (text[i + 1] == 's' && next < args.size()) {
        out += args[next++];
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace qbk::host
