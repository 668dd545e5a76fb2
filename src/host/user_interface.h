// The one way by which host routines and the module reach a person: questions, message
// boxes, file and directory dialogs, choice windows and the progress indicator. The desktop
// installs its dialogs; tests install a scripted implementation that answers from a queue.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/bank_import_review.h"

namespace qbk::host {

using ChoiceRow = std::vector<std::string>;

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Yes/No question; true only for Yes.
  virtual bool confirm(const std::string& text) = 0;
  virtual void showError(const std::string& text) = 0;
  virtual void showWarning(const std::string& text) = 0;
  virtual void showInfo(const std::string& text) = 0;

  // `filter` pairs a description and a pattern: "Arquivos de Relatório (*.qr2)|*.qr2".
  // The chosen file's full path, or nothing when the person cancels.
  virtual std::optional<std::string> openFile(const std::string& filter,
                                              const std::string& initialDir) = 0;
  // The chosen directory, or nothing when the person cancels. `allowCreate` offers typing
  // a directory name that does not exist yet; the dialog itself creates nothing.
  virtual std::optional<std::string> selectDirectory(const std::string& start,
                                                     bool allowCreate) = 0;

  // A line of text asked under a caption with a prompt, starting from `initial`: what the
  // person typed, or nothing when the person cancels.
  virtual std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) = 0;

  // The choice window of a search button: the index of the chosen row, or nothing when the
  // person cancels. With no rows, `emptyMessage` is shown instead and nothing is chosen, so
  // no implementation has to present an empty list.
  std::optional<int> choose(const std::string& title, const std::vector<std::string>& columns,
                            const std::vector<ChoiceRow>& rows, const std::string& emptyMessage);
  // The list picker: the indexes of the chosen rows in ascending order, or nothing when the
  // person cancels. `preselected` rows start ticked.
  std::optional<std::vector<int>> chooseMany(const std::string& title,
                                             const std::vector<std::string>& columns,
                                             const std::vector<ChoiceRow>& rows,
                                             const std::vector<int>& preselected,
                                             const std::string& emptyMessage);

  // The preview of a bank-list import, every row of the first two groups ticked at first:
  // what the person leaves ticked, or nothing when the person cancels.
  virtual std::optional<BankImportChoice> reviewBankImport(const BankImportReview& review) = 0;

  // One indicator for the whole application; showing it again replaces kind and text.
  virtual void showProgress(int kind, const std::string& text) = 0;
  virtual void hideProgress() = 0;

 protected:
  // Called with at least one row.
  virtual std::optional<int> chooseRow(const std::string& title,
                                       const std::vector<std::string>& columns,
                                       const std::vector<ChoiceRow>& rows) = 0;
  virtual std::optional<std::vector<int>> chooseRows(const std::string& title,
                                                     const std::vector<std::string>& columns,
                                                     const std::vector<ChoiceRow>& rows,
                                                     const std::vector<int>& preselected) = 0;
};

// The process-wide current interface. Asking for it before one is installed is an error,
// so a forgotten installation fails at once instead of swallowing a question.
UserInterface& userInterface();
bool hasUserInterface();
// Installs `ui` (not owned; null uninstalls) and returns the one it replaces.
UserInterface* setUserInterface(UserInterface* ui);

// Installs an interface for the lifetime of the scope and puts the previous one back.
class UserInterfaceScope {
 public:
  explicit UserInterfaceScope(UserInterface& ui) : previous_(setUserInterface(&ui)) {}
  ~UserInterfaceScope() { setUserInterface(previous_); }
  UserInterfaceScope(const UserInterfaceScope&) = delete;
  UserInterfaceScope& operator=(const UserInterfaceScope&) = delete;

 private:
  UserInterface* previous_;
};

}  // namespace qbk::host
