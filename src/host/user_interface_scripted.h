// A person played by a script, for tests: every question takes the next queued answer of
// its kind, everything shown is recorded in order, and a question without a queued answer
// throws ScriptError (which the error boundary lets through, so it cannot be mistaken for
// an error the screen showed).
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "host/user_interface.h"

namespace qbk::host {

// A test asked the scripted person something the script did not foresee. Deliberately not
// a qbk::Error: it reports a broken test, not a failure of the code under test.
class ScriptError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

enum class UiEventKind {
  Confirm,
  Error,
  Warning,
  Info,
  OpenFile,
  SelectDirectory,
  AskText,
  Choose,
  ChooseMany,
  ReviewBankImport,
  ShowProgress,
  HideProgress,
};

const char* toString(UiEventKind kind);

struct UiEvent {
  UiEventKind kind = UiEventKind::Info;
  // Message and question text, dialog filter, starting directory or window title.
  std::string text;
  // OpenFile: the initial directory.
  std::string detail;
  // ShowProgress: the indicator kind.
  int progressKind = 0;
  // SelectDirectory: whether a new directory name was offered.
  bool allowCreate = false;
  // Choose and ChooseMany: what the window listed.
  std::vector<std::string> columns;
  std::vector<ChoiceRow> rows;
  std::vector<int> preselected;
  // ReviewBankImport: what the preview showed.
  BankImportReview bankImport;
};

class ScriptedUserInterface : public UserInterface {
 public:
  // ---- the script ---------------------------------------------------------------------
  void answerConfirm(bool yes);
  void answerOpenFile(std::optional<std::string> path);
  void answerSelectDirectory(std::optional<std::string> path);
  void answerAskText(std::optional<std::string> text);
  void answerChoose(std::optional<int> row);
  void answerChooseMany(std::optional<std::vector<int>> rows);
  void answerReviewBankImport(std::optional<BankImportChoice> choice);
  // The next question of that kind fails the way a broken dialog would: qbk::Error(text).
  void failNextOpenFile(std::string text);
  void failNextSelectDirectory(std::string text);

  // Answers queued but not asked for yet, over all kinds.
  int pendingAnswers() const;

  // ---- what the person saw ------------------------------------------------------------
  const std::vector<UiEvent>& events() const { return events_; }
  std::vector<UiEvent> events(UiEventKind kind) const;
  // Texts of the message boxes and questions (Confirm, Error, Warning, Info) in order.
  std::vector<std::string> messages() const;
  std::vector<std::string> errors() const;
  void clearEvents() { events_.clear(); }

  // ---- the progress indicator ---------------------------------------------------------
  bool progressVisible() const { return progressVisible_; }
  int progressShows() const { return progressShows_; }
  int progressHides() const { return progressHides_; }
  // Hides that found no indicator shown.
  int unmatchedHides() const { return unmatchedHides_; }

  // Questions that found no answer, in order (each also threw ScriptError).
  const std::vector<std::string>& failures() const { return failures_; }

  // Throws ScriptError when the script was not followed: unanswered questions, answers left
  // over, or the indicator left on screen.
  void verifyDone() const;

  // ---- UserInterface ------------------------------------------------------------------
  bool confirm(const std::string& text) override;
  void showError(const std::string& text) override;
  void showWarning(const std::string& text) override;
  void showInfo(const std::string& text) override;
  std::optional<std::string> openFile(const std::string& filter,
                                      const std::string& initialDir) override;
  std::optional<std::string> selectDirectory(const std::string& start, bool allowCreate) override;
  // The event's text is the prompt, its detail the caption.
  std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
  std::optional<BankImportChoice> reviewBankImport(const BankImportReview& review) override;
  void showProgress(int kind, const std::string& text) override;
  void hideProgress() override;

 protected:
  std::optional<int> chooseRow(const std::string& title, const std::vector<std::string>& columns,
                               const std::vector<ChoiceRow>& rows) override;
  std::optional<std::vector<int>> chooseRows(const std::string& title,
                                             const std::vector<std::string>& columns,
                                             const std::vector<ChoiceRow>& rows,
                                             const std::vector<int>& preselected) override;

 private:
  struct Failure {
    std::string text;
  };
  template <typename T>
  using Queue = std::deque<std::variant<T, Failure>>;

  template <typename T>
  T next(Queue<T>& queue, const UiEvent& asked);
  void record(UiEvent event) { events_.push_back(std::move(event)); }

  Queue<bool> confirms_;
  Queue<std::optional<std::string>> openFiles_;
  Queue<std::optional<std::string>> directories_;
  Queue<std::optional<std::string>> texts_;
  Queue<std::optional<int>> chooses_;
  Queue<std::optional<std::vector<int>>> chooseManys_;
  Queue<std::optional<BankImportChoice>> bankImportReviews_;

  std::vector<UiEvent> events_;
  std::vector<std::string> failures_;
  bool progressVisible_ = false;
  int progressShows_ = 0;
  int progressHides_ = 0;
  int unmatchedHides_ = 0;
};

}  // namespace qbk::host
