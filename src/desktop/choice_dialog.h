// The choice window of the search buttons, the record search and the list picker: a table
// of rows under column titles, chosen with OK or a double click, left with Cancelar.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "host/user_interface.h"

class QTableWidget;

namespace qbk::desktop {

class ChoiceDialog : public QDialog {
 public:
  // With `ticks` every row has a box to tick (several rows may be chosen).
  ChoiceDialog(QWidget* parent, const std::string& title, const std::vector<std::string>& columns,
               const std::vector<host::ChoiceRow>& rows, bool ticks,
               const std::vector<int>& preselected = {});

  QTableWidget* table() const { return table_; }
  int chosenRow() const;
  std::vector<int> tickedRows() const;

 private:
  QTableWidget* table_;
  bool ticks_;
};

}  // namespace qbk::desktop
