#include "grid.h"

#include <algorithm>
#include <limits>

#include "form.h"
#include "typing.h"

namespace qbk::forms {

Grid::Grid(const Init& init)
    : Control(init),
      link_(DataLink::Events{
          .dataChanged = [this] { dataChanged(); },
          .stateChanged = [this] { notify(Property::Data); },
          .fieldChanged = [this](data::Field&) { notify(Property::Data); },
          .updateData = [this] { commitEditor(); },
      }) {}

void Grid::setDataSource(data::DataSource* source) {
  link_.setDataSource(source);
}

void Grid::dataChanged() {
  // Another record or new content: what the editor held belongs to the old one.
  closeEditor();
  notify(Property::Data);
}

// ---- columns ---------------------------------------------------------------------------

void Grid::setColumns(std::vector<GridColumn> columns) {
  if (!assign(columns_, std::move(columns), Property::Columns)) return;
  closeEditor();
  if (selected_ >= columnCount()) assign(selected_, 0, Property::SelectedIndex);
}

namespace {

std::vector<const data::Field*> visibleFields(const data::RecordSet* set) {
  std::vector<const data::Field*> out;
  if (!set) return out;
  for (int i = 0; i < set->fieldCount(); ++i) {
    if (set->field(i).visible) out.push_back(&set->field(i));
  }
  return out;
}

}  // namespace

int Grid::columnCount() const {
  if (!columns_.empty()) return static_cast<int>(columns_.size());
  return static_cast<int>(visibleFields(link_.dataSet()).size());
}

std::string Grid::columnFieldName(int column) const {
  if (column < 0 || column >= columnCount()) return {};
  if (!columns_.empty()) return columns_[column].fieldName;
  return visibleFields(link_.dataSet())[column]->name();
}

data::Field* Grid::columnField(int column) const {
  data::RecordSet* set = link_.dataSet();
  const std::string name = columnFieldName(column);
  return set && !name.empty() ? set->findField(name) : nullptr;
}

std::string Grid::columnTitle(int column) const {
  if (column >= 0 && column < static_cast<int>(columns_.size()) &&
      !columns_[column].title.empty()) {
    return columns_[column].title;
  }
  if (const data::Field* f = columnField(column)) return f->label();
  return columnFieldName(column);
}

data::Field* Grid::selectedField() const {
  return columnField(selected_);
}

bool Grid::setSelectedIndex(int column) {
  if (column < 0 || column >= columnCount()) {
    throw FormError("Coluna " + std::to_string(column) + " inexistente em '" + name() + "'.");
  }
  if (column == selected_) return true;
  // A column-exit handler that moves the selection itself (back to a cell it refuses, for
  // instance) must not run again for its own move.
  if (!inColExit_) {
    commitEditor();
    const int before = selected_;
    inColExit_ = true;
    try {
      if (onColExit) onColExit(*this);
    } catch (...) {
      inColExit_ = false;
      throw;
    }
    inColExit_ = false;
    if (selected_ != before) return selected_ == column;
  }
  closeEditor();
  assign(selected_, column, Property::SelectedIndex);
  return true;
}

bool Grid::setSelectedField(std::string_view fieldName) {
  for (int i = 0; i < columnCount(); ++i) {
    if (columnFieldName(i) == fieldName) return setSelectedIndex(i);
  }
  return false;
}

void Grid::setOptions(GridOptions options) {
  if (assign(options_, options, Property::Options) && !canEditCells()) closeEditor();
}

void Grid::setReadOnly(bool value) {
  if (assign(readOnly_, value, Property::ReadOnly) && value) closeEditor();
}

// ---- rows ------------------------------------------------------------------------------

int Grid::rowCount() const {
  return link_.active() ? link_.dataSet()->displayRowCount() : 0;
}

int Grid::currentRow() const {
  return link_.active() ? link_.dataSet()->displayCurrentRow() : -1;
}

std::string Grid::cellText(int row, int column) const {
  if (editorOpen_ && row == currentRow() && column == selected_) return editorText_;
  const data::Field* f = columnField(column);
  if (!f || row < 0 || row >= rowCount()) return {};
  const data::Value& v = link_.dataSet()->displayValue(row, f->index());
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* d = std::get_if<double>(&v)) return data::formatNumber(*d);
  return {};
}

// ---- cell editor -----------------------------------------------------------------------

void Grid::commitEditor() {
  if (!editorOpen_) return;
  data::Field* f = selectedField();
  if (f && link_.editing()) f->setText(editorText_);  // a refused text keeps the editor open
  closeEditor();
}

void Grid::closeEditor() {
  if (!editorOpen_) return;
  editorOpen_ = false;
  editorText_.clear();
  notify(Property::CellEditor);
}

// ---- keyboard --------------------------------------------------------------------------

bool Grid::moveColumn(int direction) {
  for (int c = selected_ + direction; c >= 0 && c < columnCount(); c += direction) {
    if (columns_.empty() || columns_[c].visible) return setSelectedIndex(c);
  }
  return false;
}

int Grid::pageRows() const {
  // The rows the grid shows at its height, below the title row.
  return std::max(1, height() / kRowHeight - 1);
}

bool Grid::moveRow(int direction) {
  if (!link_.active()) return false;
  commitEditor();
  return link_.dataSet()->moveBy(direction) != 0;
}

bool Grid::deleteCurrentRecord() {
  if (readOnly_ || !link_.active() || link_.dataSet()->isEmpty()) return false;
  if (options_.confirmDelete && !(confirmDeletion && confirmDeletion(*this))) return false;
  closeEditor();
  link_.dataSet()->deleteRecord();
  return true;
}

bool Grid::keyDown(int key, Shift shift) {
  if (!takeFocusForInput()) return false;
  if (onKeyDown) onKeyDown(*this, key, shift);
  switch (key) {
    case vk::Tab:
      if (!options_.tabs) return form().focusNext(shift.shift);
      return moveColumn(shift.shift ? -1 : 1);
    case vk::Left:
    case vk::Right:
      if (editorOpen_ || options_.rowSelect) return false;
      return moveColumn(key == vk::Left ? -1 : 1);
    case vk::Up:
    case vk::Down:
      return moveRow(key == vk::Up ? -1 : 1);
    case vk::PageUp:
    case vk::PageDown:
      return moveRow(key == vk::PageUp ? -pageRows() : pageRows());
    case vk::Home:
    case vk::End:
      // With Ctrl the first or last row, as in every grid; alone the keys edit a cell.
      if (!shift.ctrl) return false;
      return moveRow(key == vk::Home ? std::numeric_limits<int>::min() / 2
                                     : std::numeric_limits<int>::max() / 2);
    case vk::Delete:
      return shift.ctrl && deleteCurrentRecord();
    case vk::Escape:
      if (!editorOpen_) return false;
      closeEditor();
      return true;
    default:
      return false;  // 0 (swallowed) and keys without a grid action
  }
}

bool Grid::typeKey(char32_t key) {
  if (!takeFocusForInput()) return false;
  if (onKeyPress) onKeyPress(*this, key);
  if (key == 0) return false;
  if (key == chars::Enter) {
    if (!editorOpen_) return false;
    commitEditor();
    return true;
  }
  if (!isTextInput(key) || !canEditCells()) return false;
  data::Field* f = selectedField();
  if (!f || !link_.edit()) return false;
  // Opening the editor replaces the cell with what is typed, as a person expects.
  if (!editorOpen_) {
    editorText_.clear();
    editorOpen_ = true;
  }
  int caret = textLength(editorText_);
  const int maxLength = f->type() == data::FieldType::String ? f->size() : 0;
  applyTypedKey(editorText_, caret, key, maxLength);
  notify(Property::CellEditor);
  return true;
}

int Grid::typeText(std::string_view text) {
  int reached = 0;
  for (char32_t ch : decodeUtf8(text)) {
    if (typeKey(ch)) ++reached;
  }
  return reached;
}

}  // namespace qbk::forms
