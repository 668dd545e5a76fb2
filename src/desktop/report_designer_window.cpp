#include "desktop/report_designer_window.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/qt_text.h"
#include "desktop/report_designer_form.h"

namespace qbk::desktop {

namespace {

bool readAll(const QString& path, QString& text, QString& error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error = f.errorString();
    return false;
  }
  text = QString::fromUtf8(f.readAll());
  return true;
}

bool writeAll(const QString& path, const QString& text, QString& error) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    error = f.errorString();
    return false;
  }
  const QByteArray bytes = text.toUtf8();
  if (f.write(bytes) != bytes.size()) {
    error = f.errorString();
    return false;
  }
  return true;
}

}  // namespace

void editReportDefinition(QWidget* parent, const host::ReportEditRequest& request) {
  const QString path = QString::fromStdString(request.path);
  QString text;
  QString error;
  if (!readAll(path, text, error)) {
    QMessageBox::critical(parent, "Erro",
                          QString("Não foi possível abrir o relatório %1: %2").arg(path, error));
    return;
  }

  // A definition of ours opens in the designer; any other file (a model written by another
  // program) in the text editor, so it can still be looked at and kept.
  QString notOurs;
  try {
    ReportDesignerWindow designer(host::report::parseReportDefinition(ss(text)), path, parent);
    designer.exec();
    return;
  } catch (const host::report::ReportError& e) {
    notOurs = qs(e.what());
  }

  QDialog dialog(parent);
  dialog.setWindowTitle("Editor de Relatório - " + QFileInfo(path).fileName());
  dialog.resize(760, 560);
  auto* layout = new QVBoxLayout(&dialog);
  const QDateTime when = QDateTime::fromSecsSinceEpoch(
      std::chrono::duration_cast<std::chrono::seconds>(request.when.time_since_epoch()).count());
  layout->addWidget(
      new QLabel(QString("%1 — aberto em %2").arg(path, when.toString("dd/MM/yyyy HH:mm"))));
  auto* note =
      new QLabel("Não é uma definição de relatório (" + notOurs + "); editado como texto.");
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* editor = new QPlainTextEdit(text);
  editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(editor);
  auto* buttons = new QDialogButtonBox;
  QPushButton* save = buttons->addButton("Salvar", QDialogButtonBox::AcceptRole);
  buttons->addButton("Fechar", QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(save, &QPushButton::clicked, &dialog, [&] {
    QString writeError;
    if (writeAll(path, editor->toPlainText(), writeError))
      dialog.accept();
    else
      QMessageBox::critical(&dialog, "Erro",
                            QString("Não foi possível salvar %1: %2").arg(path, writeError));
  });
  dialog.exec();
}

}  // namespace qbk::desktop
