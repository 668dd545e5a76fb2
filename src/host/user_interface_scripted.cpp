#include "host/user_interface_scripted.h"

#include "data/errors.h"

namespace qbk::host {

const char* toString(UiEventKind kind) {
  switch (kind) {
    case UiEventKind::Confirm:
      return "Confirm";
    case UiEventKind::Error:
      return "Error";
    case UiEventKind::Warning:
      return "Warning";
    case UiEventKind::Info:
      return "Info";
    case UiEventKind::OpenFile:
      return "OpenFile";
    case UiEventKind::SelectDirectory:
      return "SelectDirectory";
    case UiEventKind::AskText:
      return "AskText";
    case UiEventKind::Choose:
      return "Choose";
    case UiEventKind::ChooseMany:
      return "ChooseMany";
    case UiEventKind::ReviewBankImport:
      return "ReviewBankImport";
    case UiEventKind::ShowProgress:
      return "ShowProgress";
    case UiEventKind::HideProgress:
      return "HideProgress";
  }
  return "?";
}

template <typename T>
T ScriptedUserInterface::next(Queue<T>& queue, const UiEvent& asked) {
  record(asked);
  if (queue.empty()) {
    std::string what = std::string("Pergunta sem resposta no roteiro: ") + toString(asked.kind) +
                       " \"" + asked.text + "\"";
    failures_.push_back(what);
    throw ScriptError(what);
  }
  auto answer = std::move(queue.front());
  queue.pop_front();
  if (auto* failure = std::get_if<Failure>(&answer)) throw Error(failure->text);
  return std::get<T>(std::move(answer));
}

void ScriptedUserInterface::answerConfirm(bool yes) {
  confirms_.emplace_back(yes);
}
void ScriptedUserInterface::answerOpenFile(std::optional<std::string> path) {
  openFiles_.emplace_back(std::move(path));
}
void ScriptedUserInterface::answerSelectDirectory(std::optional<std::string> path) {
  directories_.emplace_back(std::move(path));
}
void ScriptedUserInterface::answerChoose(std::optional<int> row) {
  chooses_.emplace_back(row);
}
void ScriptedUserInterface::answerChooseMany(std::optional<std::vector<int>> rows) {
  chooseManys_.emplace_back(std::move(rows));
}
void ScriptedUserInterface::answerReviewBankImport(std::optional<BankImportChoice> choice) {
  bankImportReviews_.emplace_back(std::move(choice));
}
void ScriptedUserInterface::failNextOpenFile(std::string text) {
  openFiles_.emplace_back(Failure{std::move(text)});
}
void ScriptedUserInterface::answerAskText(std::optional<std::string> text) {
  texts_.emplace_back(std::move(text));
}

void ScriptedUserInterface::failNextSelectDirectory(std::string text) {
  directories_.emplace_back(Failure{std::move(text)});
}

int ScriptedUserInterface::pendingAnswers() const {
  return static_cast<int>(confirms_.size() + openFiles_.size() + directories_.size() +
                          texts_.size() + chooses_.size() + chooseManys_.size() +
                          bankImportReviews_.size());
}

std::vector<UiEvent> ScriptedUserInterface::events(UiEventKind kind) const {
  std::vector<UiEvent> out;
  for (const auto& e : events_) {
    if (e.kind == kind) out.push_back(e);
  }
  return out;
}

std::vector<std::string> ScriptedUserInterface::messages() const {
  std::vector<std::string> out;
  for (const auto& e : events_) {
    switch (e.kind) {
      case UiEventKind::Confirm:
      case UiEventKind::Error:
      case UiEventKind::Warning:
      case UiEventKind::Info:
        out.push_back(e.text);
        break;
      default:
        break;
    }
  }
  return out;
}

std::vector<std::string> ScriptedUserInterface::errors() const {
  std::vector<std::string> out;
  for (const auto& e : events_) {
    if (e.kind == UiEventKind::Error) out.push_back(e.text);
  }
  return out;
}

void ScriptedUserInterface::verifyDone() const {
  std::string problems;
  for (const auto& f : failures_) problems += "\n  " + f;
  if (int n = pendingAnswers(); n > 0) {
    problems += "\n  " + std::to_string(n) + " resposta(s) do roteiro não usada(s)";
  }
  if (progressVisible_) problems += "\n  indicador de progresso ainda visível";
  if (!problems.empty()) throw ScriptError("Roteiro não cumprido:" + problems);
}

namespace {
UiEvent event(UiEventKind kind, const std::string& text = {}) {
  UiEvent e;
  e.kind = kind;
  e.text = text;
  return e;
}
}  // namespace

bool ScriptedUserInterface::confirm(const std::string& text) {
  return next(confirms_, event(UiEventKind::Confirm, text));
}

void ScriptedUserInterface::showError(const std::string& text) {
  record(event(UiEventKind::Error, text));
}

void ScriptedUserInterface::showWarning(const std::string& text) {
  record(event(UiEventKind::Warning, text));
}

void ScriptedUserInterface::showInfo(const std::string& text) {
  record(event(UiEventKind::Info, text));
}

std::optional<std::string> ScriptedUserInterface::openFile(const std::string& filter,
                                                           const std::string& initialDir) {
  UiEvent asked = event(UiEventKind::OpenFile, filter);
  asked.detail = initialDir;
  return next(openFiles_, asked);
}

std::optional<std::string> ScriptedUserInterface::askText(const std::string& caption,
                                                          const std::string& prompt,
                                                          const std::string&) {
  UiEvent asked = event(UiEventKind::AskText, prompt);
  asked.detail = caption;
  return next(texts_, asked);
}

std::optional<std::string> ScriptedUserInterface::selectDirectory(const std::string& start,
                                                                  bool allowCreate) {
  UiEvent asked = event(UiEventKind::SelectDirectory, start);
  asked.allowCreate = allowCreate;
  return next(directories_, asked);
}

std::optional<int> ScriptedUserInterface::chooseRow(const std::string& title,
                                                    const std::vector<std::string>& columns,
                                                    const std::vector<ChoiceRow>& rows) {
  UiEvent asked = event(UiEventKind::Choose, title);
  asked.columns = columns;
  asked.rows = rows;
  return next(chooses_, asked);
}

std::optional<std::vector<int>> ScriptedUserInterface::chooseRows(
    const std::string& title, const std::vector<std::string>& columns,
    const std::vector<ChoiceRow>& rows, const std::vector<int>& preselected) {
  UiEvent asked = event(UiEventKind::ChooseMany, title);
  asked.columns = columns;
  asked.rows = rows;
  asked.preselected = preselected;
  return next(chooseManys_, asked);
}

std::optional<BankImportChoice> ScriptedUserInterface::reviewBankImport(
    const BankImportReview& review) {
  UiEvent asked = event(UiEventKind::ReviewBankImport, review.source);
  asked.bankImport = review;
  return next(bankImportReviews_, asked);
}

void ScriptedUserInterface::showProgress(int kind, const std::string& text) {
  UiEvent shown = event(UiEventKind::ShowProgress, text);
  shown.progressKind = kind;
  record(std::move(shown));
  progressVisible_ = true;
  ++progressShows_;
}

void ScriptedUserInterface::hideProgress() {
  record(event(UiEventKind::HideProgress));
  if (!progressVisible_) ++unmatchedHides_;
  progressVisible_ = false;
  ++progressHides_;
}

}  // namespace qbk::host
