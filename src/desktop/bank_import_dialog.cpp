#include "desktop/bank_import_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "desktop/qt_text.h"

namespace qbk::desktop {

namespace {

enum Column { Code, Stored, Current, Source, Note, ColumnCount };

QTreeWidgetItem* addGroup(QTreeWidget* tree, const QString& title,
                          const std::vector<host::BankImportRow>& rows, bool tickable) {
  auto* group = new QTreeWidgetItem(tree, {title.arg(rows.size())});
  group->setFirstColumnSpanned(true);
  group->setFlags(Qt::ItemIsEnabled |
                  (tickable && !rows.empty() ? Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate
                                             : Qt::NoItemFlags));
  for (const auto& r : rows) {
    auto* item = new QTreeWidgetItem(group);
    item->setText(Code, qs(r.code));
    item->setText(Stored, qs(r.storedName));
    item->setText(Current, qs(r.currentName));
    item->setText(Source, qs(r.sourceName));
    item->setText(Note, qs(r.note));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                   (tickable ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    if (tickable) item->setCheckState(Code, Qt::Checked);
  }
  if (tickable && !rows.empty()) group->setCheckState(Code, Qt::Checked);
  group->setExpanded(true);
  return group;
}

std::vector<int> ticked(const QTreeWidgetItem* group) {
  std::vector<int> out;
  for (int i = 0; i < group->childCount(); ++i)
    if (group->child(i)->checkState(Code) == Qt::Checked) out.push_back(i);
  return out;
}

}  // namespace

BankImportDialog::BankImportDialog(QWidget* parent, const host::BankImportReview& review)
    : QDialog(parent), tree_(new QTreeWidget(this)) {
  setWindowTitle("Importar Lista de Bancos");
  setObjectName("bankImportDialog");
  auto* layout = new QVBoxLayout(this);
  auto* source = new QLabel("Lista: " + qs(review.source), this);
  source->setObjectName("bankImportSource");
  layout->addWidget(source);

  tree_->setObjectName("bankImportTree");
  tree_->setColumnCount(ColumnCount);
  tree_->setHeaderLabels({"Código", "Nome a gravar", "Nome atual", "Nome na lista", "Observação"});
  tree_->setRootIsDecorated(true);
  tree_->setUniformRowHeights(true);
  addGroup(tree_, "Bancos a incluir (%1)", review.added, true);
  addGroup(tree_, "Bancos com nome diferente (%1)", review.renamed, true);
  addGroup(tree_, "Bancos fora da lista, mantidos na tabela (%1)", review.absent, false);
  for (int c = 0; c < ColumnCount; ++c) tree_->resizeColumnToContents(c);
  tree_->header()->setStretchLastSection(true);
  layout->addWidget(tree_);

  auto* hint = new QLabel(
      "Nada é gravado antes de Importar; os bancos marcados vão ao servidor de uma só vez.", this);
  layout->addWidget(hint);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("Importar");
  buttons->button(QDialogButtonBox::Cancel)->setText("Cancelar");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(900, 560);
}

QTreeWidgetItem* BankImportDialog::group(int index) const {
  return tree_->topLevelItem(index);
}

host::BankImportChoice BankImportDialog::choice() const {
  return {ticked(group(0)), ticked(group(1))};
}

}  // namespace qbk::desktop
