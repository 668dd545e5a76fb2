// The report designer: a definition of ours edited by its parts (title, columns, query and
// parameters, page settings and bands) beside a preview of the pages it prints, laid out
// from sample rows, and saved back to its file.
#pragma once

#include <QDialog>
#include <QString>

#include "host/report/report_layout.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QTableWidget;

namespace qbk::desktop {

class ReportPageWidget;

class ReportDesignerWindow : public QDialog {
 public:
  ReportDesignerWindow(host::report::ReportDefinition definition, QString path, QWidget* parent);

  // The definition as the window shows it now. What the window has no control for (groups,
  // totals, texts of the bands) is kept as it was read.
  host::report::ReportDefinition definition() const;
  // Writes it to the file; false with the reason in `error` (a column without a field, a
  // file that cannot be written).
  bool save(QString& error);
  // The preview of the current definition.
  const host::report::ReportDocument& preview() const { return preview_; }

 private:
  void addColumn(const host::report::ReportColumn& c);
  void addParam(const host::report::ReportParamDef& p);
  void moveColumn(int by);
  void refreshPreview();

  host::report::ReportDefinition original_;
  QString path_;
  host::report::ReportDocument preview_;
  QLineEdit* title_;
  QDoubleSpinBox* fontSize_;
  QTableWidget* columns_;
  QPlainTextEdit* sql_;
  QTableWidget* params_;
  QComboBox* paper_;
  QComboBox* orientation_;
  QDoubleSpinBox *left_, *top_, *right_, *bottom_;
  QCheckBox *printedAt_, *titleItem_, *pageNumber_, *footerPage_;
  ReportPageWidget* page_;
  QScrollArea* scroll_;
  QLabel* pages_;
  bool loading_ = true;
};

}  // namespace qbk::desktop
