// The preview of a bank-list import: the three groups as branches of one tree, a box to
// tick on every row that can go in (and on each group, for all of its rows), the name that
// will be stored beside the list's and the table's. The banks the list lacks are listed
// without a box: an import never deletes.
#pragma once

#include <QDialog>

#include "host/bank_import_review.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace qbk::desktop {

class BankImportDialog : public QDialog {
 public:
  BankImportDialog(QWidget* parent, const host::BankImportReview& review);

  QTreeWidget* tree() const { return tree_; }
  // The group branches, in the order added, renamed, absent.
  QTreeWidgetItem* group(int index) const;
  host::BankImportChoice choice() const;

 private:
  QTreeWidget* tree_;
};

}  // namespace qbk::desktop
