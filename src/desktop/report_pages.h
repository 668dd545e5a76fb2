// The one drawing of report pages: the preview, the printer and PDF files all paint the
// engine's boxes through paintReportPage, so what is seen is what is printed.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

#include "host/report/report_layout.h"

class QPainter;
class QPrinter;

namespace qbk::desktop {

// Draws page `index` of the document into `target` (device units of the painter), the
// sheet's millimetres scaled to fit its width.
void paintReportPage(QPainter& painter, const host::report::ReportDocument& doc, int index,
                     const QRectF& target);

// One page of a document at a zoom; a zoom of 1 shows the sheet at its real size. The
// document is not copied: it must outlive the widget or be replaced with setDocument.
class ReportPageWidget : public QWidget {
 public:
  explicit ReportPageWidget(const host::report::ReportDocument* doc, QWidget* parent = nullptr);
  void setDocument(const host::report::ReportDocument* doc);
  void show(int page, double zoom);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const host::report::ReportDocument* doc_;
  int page_ = 0;
  double zoom_ = 1;
};

// Writes every page to a PDF file of the sheet's size. False, with the reason in `error`,
// when the file cannot be written.
bool writeReportPdf(const host::report::ReportDocument& doc, const QString& file, QString& error);

// Prints the pages the printer's range asks for (all when it asks for none).
bool printReport(const host::report::ReportDocument& doc, QPrinter& printer, QString& error);

}  // namespace qbk::desktop
