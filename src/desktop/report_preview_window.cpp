#include "desktop/report_preview_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/qt_text.h"
#include "desktop/report_pages.h"
#include "host/report/report_csv.h"

namespace qbk::desktop {

namespace {

constexpr double kZooms[] = {0.5, 0.75, 1.0, 1.5, 2.0};

QToolButton* tool(const char* name, const QString& text, const QString& tip) {
  auto* b = new QToolButton;
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(tip);
  return b;
}

}  // namespace

ReportPreviewWindow::ReportPreviewWindow(host::report::ReportRun run, QWidget* parent)
    : QDialog(parent), run_(std::move(run)) {
  setObjectName("reportPreview");
  setWindowTitle("Visualizar - " + qs(run_.definition.title));
  resize(900, 760);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  first_ = tool("btnPrimeira", "|◀", "Primeira página");
  previous_ = tool("btnAnterior", "◀", "Página anterior");
  next_ = tool("btnProxima", "▶", "Próxima página");
  last_ = tool("btnUltima", "▶|", "Última página");
  pageLabel_ = new QLabel;
  pageLabel_->setObjectName("lblPagina");
  zoomBox_ = new QComboBox;
  zoomBox_->setObjectName("cbbZoom");
  for (double z : kZooms) zoomBox_->addItem(QString("%1%").arg(static_cast<int>(z * 100)));
  zoomBox_->setCurrentIndex(2);
  auto* print = tool("btnImprimir", "Imprimir...", "Imprimir");
  auto* pdf = tool("btnPdf", "PDF...", "Exportar para PDF");
  auto* csv = tool("btnCsv", "CSV...", "Exportar para planilha (CSV)");
  auto* close = tool("btnFechar", "Fechar", "Fechar");
  for (QWidget* w :
       std::initializer_list<QWidget*>{first_, previous_, pageLabel_, next_, last_, zoomBox_})
    bar->addWidget(w);
  bar->addStretch();
  for (QWidget* w : std::initializer_list<QWidget*>{print, pdf, csv, close}) bar->addWidget(w);
  layout->addLayout(bar);

  view_ = new ReportPageWidget(&run_.document);
  scroll_ = new QScrollArea;
  scroll_->setAlignment(Qt::AlignHCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  scroll_->setWidget(view_);
  layout->addWidget(scroll_);

  connect(first_, &QToolButton::clicked, this, [this] { showPage(0); });
  connect(previous_, &QToolButton::clicked, this, [this] { showPage(page_ - 1); });
  connect(next_, &QToolButton::clicked, this, [this] { showPage(page_ + 1); });
  connect(last_, &QToolButton::clicked, this, [this] { showPage(pageCount() - 1); });
  connect(zoomBox_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) setZoom(kZooms[i]);
  });
  connect(print, &QToolButton::clicked, this, [this] { this->print(); });
  connect(pdf, &QToolButton::clicked, this, [this] {
    exportTo("Exportar para PDF", "pdf", "Arquivos PDF (*.pdf)", &ReportPreviewWindow::savePdf);
  });
  connect(csv, &QToolButton::clicked, this, [this] {
    exportTo("Exportar para planilha", "csv", "Planilhas (*.csv)", &ReportPreviewWindow::saveCsv);
  });
  connect(close, &QToolButton::clicked, this, &QDialog::accept);
  refresh();
}

int ReportPreviewWindow::pageCount() const {
  return static_cast<int>(run_.document.pages.size());
}

void ReportPreviewWindow::showPage(int index) {
  page_ = std::clamp(index, 0, pageCount() - 1);
  refresh();
}

void ReportPreviewWindow::setZoom(double factor) {
  zoom_ = std::clamp(factor, 0.1, 4.0);
  refresh();
}

void ReportPreviewWindow::refresh() {
  view_->show(page_, zoom_);
  pageLabel_->setText(qs(host::report::pageNumberText(page_ + 1, pageCount())));
  first_->setEnabled(page_ > 0);
  previous_->setEnabled(page_ > 0);
  next_->setEnabled(page_ + 1 < pageCount());
  last_->setEnabled(page_ + 1 < pageCount());
}

bool ReportPreviewWindow::savePdf(const QString& file, QString& error) const {
  return writeReportPdf(run_.document, file, error);
}

bool ReportPreviewWindow::saveCsv(const QString& file, QString& error) const {
  try {
    host::report::saveReportCsv(run_.definition, run_.data, ss(file).c_str());
    return true;
  } catch (const std::exception& e) {
    error = qs(e.what());
    return false;
  }
}

void ReportPreviewWindow::print() {
  printWithDialog(this, run_.document);
}

void ReportPreviewWindow::exportTo(const QString& caption, const QString& extension,
                                   const QString& filter, Saver save) {
  const QString file = QFileDialog::getSaveFileName(
      this, caption, qs(run_.definition.code) + "." + extension, filter);
  if (file.isEmpty()) return;
  QString error;
  if (!(this->*save)(file, error)) QMessageBox::critical(this, "Erro", error);
}

void printWithDialog(QWidget* parent, const host::report::ReportDocument& doc) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Imprimir - " + qs(doc.title));
  dialog.setMinMax(1, static_cast<int>(doc.pages.size()));
  if (dialog.exec() != QDialog::Accepted) return;
  QString error;
  if (!printReport(doc, printer, error)) QMessageBox::critical(parent, "Erro", error);
}

host::report::ReportPresenter reportPresenter(QWidget* mainWindow) {
  return [mainWindow](host::report::ReportAction action, const host::report::ReportRun& run,
                      const host::Screen*) {
    QWidget* front = QApplication::activeModalWidget();
    presentReport(front ? front : mainWindow, action, run);
  };
}

void presentReport(QWidget* parent, host::report::ReportAction action,
                   const host::report::ReportRun& run) {
  if (action == host::report::ReportAction::Print) return printWithDialog(parent, run.document);
  ReportPreviewWindow window(run, parent);
  window.exec();
}

}  // namespace qbk::desktop
