// The preview window of a bank-list import: three groups, a box per row that can go in, the
// stored name beside the list's, and the ticked rows as the answer.
#include "desktop/bank_import_dialog.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "desktop/qt_user_interface.h"

namespace qbk::desktop {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

host::BankImportReview sample() {
  host::BankImportReview r;
  r.source = "lista embutida";
  r.added = {
      {"003", "", "Banco da Amazônia S.A.", "Banco da Amazônia S.A.", ""},
      {"007", "", "BNDES", "BANCO NACIONAL DE DESENVOLVIMENTO ECONOMICO E SOCIAL", "nome curto"},
      {"654", "", "Banco Digimais S.A.", "BANCO DIGIMAIS S.A.", ""}};
  r.renamed = {{"004", "Banco do Nordeste do Brasil", "Bco do Nordeste do Brasil S.A.",
                "Banco do Nordeste do Brasil S.A.", "nome curto"}};
  r.absent = {{"900", "Agência Própria", "", "", "mantido: nada é excluído"}};
  return r;
}

void press(QWidget* dialog, const QString& text) {
  for (auto* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text) return b->click();
  ADD_FAILURE() << "no button " << text.toStdString();
}

// Acts on the preview once its own event loop runs.
void whenPreviewShows(std::function<void(BankImportDialog*)> act) {
  auto attempt = std::make_shared<std::function<void()>>();
  *attempt = [act, attempt] {
    if (auto* d = dynamic_cast<BankImportDialog*>(QApplication::activeModalWidget()))
      act(d);
    else
      QTimer::singleShot(10, *attempt);
  };
  QTimer::singleShot(0, *attempt);
}

TEST(BankImportDialog, showsTheGroupsWithEveryRowThatCanGoInTicked) {
  BankImportDialog d(nullptr, sample());
  ASSERT_EQ(d.tree()->topLevelItemCount(), 3);
  EXPECT_EQ(d.group(0)->text(0), "Bancos a incluir (3)");
  EXPECT_EQ(d.group(1)->text(0), "Bancos com nome diferente (1)");
  EXPECT_EQ(d.group(2)->text(0), "Bancos fora da lista, mantidos na tabela (1)");
  const QTreeWidgetItem* bndes = d.group(0)->child(1);
  EXPECT_EQ(bndes->text(1), "BNDES");
  EXPECT_EQ(bndes->text(3), "BANCO NACIONAL DE DESENVOLVIMENTO ECONOMICO E SOCIAL");
  EXPECT_EQ(d.group(1)->child(0)->text(2), "Banco do Nordeste do Brasil");
  // A bank the list lacks has no box: nothing is deleted.
  EXPECT_FALSE(d.group(2)->child(0)->flags() & Qt::ItemIsUserCheckable);
  EXPECT_EQ(d.choice(), (host::BankImportChoice{{0, 1, 2}, {0}}));

  // A group's box ticks and clears all of its rows.
  d.group(0)->setCheckState(0, Qt::Unchecked);
  d.group(0)->child(2)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(d.choice(), (host::BankImportChoice{{2}, {0}}));
  EXPECT_EQ(d.group(0)->checkState(0), Qt::PartiallyChecked);
}

TEST(BankImportDialog, answersTheTickedRowsOrNothingWhenCancelled) {
  QtUserInterface ui;
  whenPreviewShows([](BankImportDialog* d) {
    d->group(1)->child(0)->setCheckState(0, Qt::Unchecked);
    press(d, "Importar");
  });
  const auto chosen = ui.reviewBankImport(sample());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_THAT(chosen->added, ElementsAre(0, 1, 2));
  EXPECT_THAT(chosen->renamed, IsEmpty());

  whenPreviewShows([](BankImportDialog* d) { press(d, "Cancelar"); });
  EXPECT_EQ(ui.reviewBankImport(sample()), std::nullopt);
}

}  // namespace
}  // namespace qbk::desktop
