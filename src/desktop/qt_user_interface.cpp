#include "desktop/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include "desktop/bank_import_dialog.h"
#include "desktop/choice_dialog.h"
#include "desktop/qt_text.h"

namespace qbk::desktop {

std::string progressText(int kind, const std::string& text) {
  if (!text.empty()) return text;
  switch (kind) {
    case 0:
      return "Conectando ao servidor...";
    case 1:
      return "Atualizando dados...";
    case 6:
      return "Buscando dados...";
    default:
      return "Aguarde...";
  }
}

QString fileDialogFilter(const std::string& filter) {
  const QStringList parts = qs(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    const QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    if (name.isEmpty() && patterns.isEmpty()) continue;
    if (patterns.isEmpty() || name.contains('(')) {
      out << name;
    } else {
      out << name + " (" + QString(patterns).replace(';', ' ') + ")";
    }
  }
  return out.join(";;");
}

QtUserInterface::QtUserInterface(QWidget* parent) : parent_(parent) {}

QtUserInterface::~QtUserInterface() {
  delete progress_.data();
}

void QtUserInterface::message(int icon, const char* title, const std::string& text) {
  QMessageBox box(static_cast<QMessageBox::Icon>(icon), QString::fromUtf8(title), qs(text),
                  QMessageBox::Ok, parent_);
  box.setObjectName("messageBox");
  box.button(QMessageBox::Ok)->setText("OK");
  box.exec();
}

bool QtUserInterface::confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kConfirmTitle), qs(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setObjectName("messageBox");
  box.button(QMessageBox::Yes)->setText("Sim");
  box.button(QMessageBox::No)->setText("Não");
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtUserInterface::showError(const std::string& text) {
  message(QMessageBox::Critical, kErrorTitle, text);
}
void QtUserInterface::showWarning(const std::string& text) {
  message(QMessageBox::Warning, kWarningTitle, text);
}
void QtUserInterface::showInfo(const std::string& text) {
  message(QMessageBox::Information, kInfoTitle, text);
}

std::optional<std::string> QtUserInterface::openFile(const std::string& filter,
                                                     const std::string& initialDir) {
  const QString file =
      QFileDialog::getOpenFileName(parent_, "Abrir", qs(initialDir), fileDialogFilter(filter));
  if (file.isEmpty()) return std::nullopt;
  return ss(file);
}

std::optional<std::string> QtUserInterface::selectDirectory(const std::string& start,
                                                            bool allowCreate) {
  QFileDialog::Options options = QFileDialog::ShowDirsOnly;
  // Without allowCreate the person may only pick a directory that exists.
  if (!allowCreate) options |= QFileDialog::ReadOnly;
  const QString dir =
      QFileDialog::getExistingDirectory(parent_, "Selecionar diretório", qs(start), options);
  if (dir.isEmpty()) return std::nullopt;
  return ss(dir);
}

std::optional<std::string> QtUserInterface::askText(const std::string& caption,
                                                    const std::string& prompt,
                                                    const std::string& initial) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, qs(caption), qs(prompt), QLineEdit::Normal, qs(initial), &ok);
  if (!ok) return std::nullopt;
  return ss(text);
}

std::optional<int> QtUserInterface::chooseRow(const std::string& title,
                                              const std::vector<std::string>& columns,
                                              const std::vector<host::ChoiceRow>& rows) {
  ChoiceDialog dialog(parent_, title, columns, rows, false);
  if (dialog.exec() != QDialog::Accepted || dialog.chosenRow() < 0) return std::nullopt;
  return dialog.chosenRow();
}

std::optional<std::vector<int>> QtUserInterface::chooseRows(
    const std::string& title, const std::vector<std::string>& columns,
    const std::vector<host::ChoiceRow>& rows, const std::vector<int>& preselected) {
  ChoiceDialog dialog(parent_, title, columns, rows, true, preselected);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.tickedRows();
}

std::optional<host::BankImportChoice> QtUserInterface::reviewBankImport(
    const host::BankImportReview& review) {
  BankImportDialog dialog(parent_, review);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

void QtUserInterface::showProgress(int kind, const std::string& text) {
  if (!progress_) {
    // A small frameless window over the main one that never takes the focus from the
    // screen it works for.
    auto* window = new QWidget(parent_, Qt::Tool | Qt::FramelessWindowHint);
    window->setObjectName("progressWindow");
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QHBoxLayout(window);
    auto* label = new QLabel(window);
    label->setObjectName("progressText");
    auto* bar = new QProgressBar(window);
    bar->setRange(0, 0);  // busy
    bar->setFixedWidth(120);
    layout->addWidget(label);
    layout->addWidget(bar);
    progress_ = window;
    progressLabel_ = label;
  }
  progress_->setProperty("kind", kind);
  progressLabel_->setText(qs(progressText(kind, text)));
  progress_->adjustSize();
  if (parent_) {
    const QPoint centre = parent_->mapToGlobal(parent_->rect().center());
    progress_->move(centre - progress_->rect().center());
  }
  progress_->show();
  progress_->raise();
  // The server call that follows blocks the event loop: paint now, or nobody sees it.
  progress_->repaint();
}

void QtUserInterface::hideProgress() {
  if (progress_) progress_->hide();
}

QWidget* QtUserInterface::progressWindow() const {
  return progress_ && progress_->isVisible() ? progress_.data() : nullptr;
}

}  // namespace qbk::desktop
