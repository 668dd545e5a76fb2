#include "desktop/choice_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "desktop/qt_text.h"

namespace qbk::desktop {

ChoiceDialog::ChoiceDialog(QWidget* parent, const std::string& title,
                           const std::vector<std::string>& columns,
                           const std::vector<host::ChoiceRow>& rows, bool ticks,
                           const std::vector<int>& preselected)
    : QDialog(parent), table_(new QTableWidget(this)), ticks_(ticks) {
  setWindowTitle(qs(title));
  setObjectName("choiceDialog");
  auto* layout = new QVBoxLayout(this);
  table_->setObjectName("choiceTable");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->setVisible(false);
  table_->setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const auto& c : columns) titles << qs(c);
  table_->setHorizontalHeaderLabels(titles);
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
      const std::string text = c < static_cast<int>(rows[r].size()) ? rows[r][c] : std::string();
      auto* item = new QTableWidgetItem(qs(text));
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                     (ticks && c == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
      if (ticks && c == 0) {
        const bool on = std::find(preselected.begin(), preselected.end(), r) != preselected.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
      }
      table_->setItem(r, c, item);
    }
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  if (!rows.empty()) table_->selectRow(0);
  layout->addWidget(table_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Cancel)->setText("Cancelar");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  if (!ticks) connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(560, 360);
}

int ChoiceDialog::chosenRow() const {
  return table_->currentRow();
}

std::vector<int> ChoiceDialog::tickedRows() const {
  std::vector<int> out;
  if (!ticks_) return out;
  for (int r = 0; r < table_->rowCount(); ++r) {
    if (table_->item(r, 0) && table_->item(r, 0)->checkState() == Qt::Checked) out.push_back(r);
  }
  return out;
}

}  // namespace qbk::desktop
