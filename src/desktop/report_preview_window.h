// The preview of a report that has run: its pages drawn as they print, with page
// navigation, zoom and the page count, and from there printing through the system's print
// dialog and export to PDF and to a spreadsheet file.
#pragma once

#include <QDialog>
#include <QString>

#include "host/report/report_output.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace qbk::desktop {

class ReportPageWidget;

class ReportPreviewWindow : public QDialog {
 public:
  // The run is copied: the window outlives the command that made it.
  ReportPreviewWindow(host::report::ReportRun run, QWidget* parent);

  int pageCount() const;
  int pageIndex() const { return page_; }
  double zoom() const { return zoom_; }
  void showPage(int index);  // kept within the pages
  void setZoom(double factor);

  // Export without asking for a file; false with the reason in `error`.
  bool savePdf(const QString& file, QString& error) const;
  bool saveCsv(const QString& file, QString& error) const;
  // The system's print dialog, then the printer.
  void print();

 private:
  using Saver = bool (ReportPreviewWindow::*)(const QString&, QString&) const;
  // Asks where to save, then saves; a failure is shown to the person.
  void exportTo(const QString& caption, const QString& extension, const QString& filter,
                Saver save);
  void refresh();

  host::report::ReportRun run_;
  int page_ = 0;
  double zoom_ = 1.0;
  ReportPageWidget* view_;
  QScrollArea* scroll_;
  QLabel* pageLabel_;
  QComboBox* zoomBox_;
  QToolButton *first_, *previous_, *next_, *last_;
};

// The report presenter the desktop installs: the preview window, or the print dialog, over
// the window in front (the report screen's), else over `mainWindow`.
host::report::ReportPresenter reportPresenter(QWidget* mainWindow);
void presentReport(QWidget* parent, host::report::ReportAction action,
                   const host::report::ReportRun& run);
// The print dialog over `parent`, then the printer; failures are shown to the person.
void printWithDialog(QWidget* parent, const host::report::ReportDocument& doc);

}  // namespace qbk::desktop
