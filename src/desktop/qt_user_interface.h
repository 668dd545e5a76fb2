// The person-facing interface with real dialogs: Portuguese message boxes, file and
// directory dialogs, choice windows and the progress indicator.
#pragma once

#include <QPointer>
#include <QWidget>

#include "host/user_interface.h"

class QLabel;

namespace qbk::desktop {

// Box titles, as the person reads them.
inline constexpr const char* kConfirmTitle = "Confirmação";
inline constexpr const char* kErrorTitle = "Erro";
inline constexpr const char* kWarningTitle = "Atenção";
inline constexpr const char* kInfoTitle = "Informação";

// The indicator's text for a kind when the caller gives none.
std::string progressText(int kind, const std::string& text);

// "Arquivos de Relatório (*.qr2)|*.qr2|Todos (*.*)|*.*" as a file dialog's name filters:
// each description (which already lists its patterns) on its own line.
QString fileDialogFilter(const std::string& filter);

class QtUserInterface : public host::UserInterface {
 public:
  // Dialogs are centred over `parent` (the main window).
  explicit QtUserInterface(QWidget* parent = nullptr);
  ~QtUserInterface() override;

  bool confirm(const std::string& text) override;
  void showError(const std::string& text) override;
  void showWarning(const std::string& text) override;
  void showInfo(const std::string& text) override;
  std::optional<std::string> openFile(const std::string& filter,
                                      const std::string& initialDir) override;
  std::optional<std::string> selectDirectory(const std::string& start, bool allowCreate) override;
  std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
  std::optional<host::BankImportChoice> reviewBankImport(
      const host::BankImportReview& review) override;
  void showProgress(int kind, const std::string& text) override;
  void hideProgress() override;

  // The indicator window while it shows; null otherwise.
  QWidget* progressWindow() const;

 protected:
  std::optional<int> chooseRow(const std::string& title, const std::vector<std::string>& columns,
                               const std::vector<host::ChoiceRow>& rows) override;
  std::optional<std::vector<int>> chooseRows(const std::string& title,
                                             const std::vector<std::string>& columns,
                                             const std::vector<host::ChoiceRow>& rows,
                                             const std::vector<int>& preselected) override;

 private:
  void message(int icon, const char* title, const std::string& text);

  QPointer<QWidget> parent_;
  QPointer<QWidget> progress_;
  QPointer<QLabel> progressLabel_;
};

}  // namespace qbk::desktop
