// The one drawing of report pages: the preview, the printer and PDF files all paint the
// engine's boxes through paintReportPage, so what is seen is what is printed.
#pragma once

#include <QRectF>
#include <QString>

#include "host/report/report_layout.h"

class QPainter;
class QPrinter;

namespace qbk::desktop {

// Draws page `index` of the document into `target` (device units of the painter), the
// sheet's millimetres scaled to fit its width.
void paintReportPage(QPainter& painter, const host::report::ReportDocument& doc, int index,
                     const QRectF& target);

// Writes every page to a PDF file of the sheet's size. False, with the reason in `error`,
// when the file cannot be written.
bool writeReportPdf(const host::report::ReportDocument& doc, const QString& file, QString& error);

// Prints the pages the printer's range asks for (all when it asks for none).
bool printReport(const host::report::ReportDocument& doc, QPrinter& printer, QString& error);

}  // namespace qbk::desktop
