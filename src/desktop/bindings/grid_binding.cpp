// Grids over a record set: the table shows the grid's rows and current cell; a click on a
// row moves the record set, and the grid hears every key (Tab included) before the form.
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <algorithm>

#include "data/record_set.h"
#include "desktop/bindings/families.h"
#include "desktop/layout/placement.h"
#include "desktop/qt_text.h"
#include "forms/form.h"
#include "forms/grid.h"

namespace qbk::desktop::bindings {

using namespace forms;

namespace {

// The design's row height, for the design's font.
constexpr int kRowHeight = 20;

void showCells(Grid& grid, QTableWidget& table, double scale) {
  const int cols = grid.columnCount();
  const int rows = grid.rowCount();
  table.verticalHeader()->setDefaultSectionSize(scaled(kRowHeight, scale));
  table.setColumnCount(cols);
  table.setRowCount(rows);
  table.horizontalHeader()->setVisible(grid.options().titles);
  table.setSelectionBehavior(grid.options().rowSelect ? QAbstractItemView::SelectRows
                                                      : QAbstractItemView::SelectItems);
  table.setShowGrid(grid.options().colLines || grid.options().rowLines);
  QStringList titles;
  for (int col = 0; col < cols; ++col) titles << qs(grid.columnTitle(col));
  table.setHorizontalHeaderLabels(titles);
  const auto& listed = grid.columns();
  for (int col = 0; col < cols && col < static_cast<int>(listed.size()); ++col) {
    table.setColumnWidth(col, scaled(listed[col].width, scale));
    table.setColumnHidden(col, !listed[col].visible);
  }
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      const QString text = qs(grid.cellText(row, col));
      QTableWidgetItem* item = table.item(row, col);
      if (!item) {
        item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table.setItem(row, col, item);
      } else if (item->text() != text) {
        item->setText(text);
      }
    }
  }
  const int current = grid.currentRow();
  if (current >= 0 && cols > 0) {
    table.setCurrentCell(current, std::clamp(grid.selectedIndex(), 0, cols - 1));
  } else {
    table.setCurrentCell(-1, -1);
  }
}

bool gridKey(RenderContext& ctx, Grid& grid, QKeyEvent& key) {
  const Shift shift = shiftState(key);
  if (shift.ctrl || shift.alt) {
    // Shortcuts belong to the menus (Qt finds them before this); a grid still hears its keys.
    if (int vk = virtualKey(key)) {
      ctx.act(grid, [&grid, vk, shift] { grid.keyDown(vk, shift); });
      return true;
    }
    return false;
  }
  const bool isTab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
  bool handled = false;
  if (int vk = virtualKey(key)) {
    ctx.act(grid, [&grid, vk, shift, &handled] { handled = grid.keyDown(vk, shift); });
  }
  if (isTab && !handled && ctx.attached()) {
    ctx.act(grid, [&ctx, shift] { ctx.form().focusNext(shift.shift); });
    return true;
  }
  const std::u32string chars = typedChars(key);
  if (!chars.empty() && ctx.attached()) {
    ctx.act(grid, [&grid, &chars] {
      for (char32_t ch : chars) grid.typeKey(ch);
    });
  }
  return true;
}

}  // namespace

Binding grid() {
  TypedBinding<Grid, QTableWidget> b;
  b.build = [](RenderContext& ctx, Grid& grid, QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    QObject::connect(table, &QTableWidget::currentCellChanged,
                     [&ctx, &grid](int row, int column, int, int) {
                       if (row < 0) return;
                       ctx.actForPerson(grid, [&grid, row, column] {
                         if (!grid.focused()) grid.form().userFocus(grid);
                         if (row != grid.currentRow() && grid.dataSet()) {
                           grid.dataSet()->setRecNo(row + 1);
                         }
                         if (column >= 0 && column != grid.selectedIndex()) {
                           grid.setSelectedIndex(column);
                         }
                       });
                     });
    return table;
  };
  b.show = [](RenderContext& ctx, Grid& grid, QTableWidget& table) {
    showCells(grid, table, ctx.scale());
  };
  b.keyPress = [](RenderContext& ctx, Grid& grid, QWidget&, QKeyEvent& key) {
    return gridKey(ctx, grid, key);
  };
  return b;
}

}  // namespace qbk::desktop::bindings
