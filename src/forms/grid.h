// A grid over a record set: one row per record, one column per listed field.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "control.h"
#include "data_link.h"
#include "keys.h"

namespace qbk::forms {

struct GridColumn {
  std::string fieldName;
  std::string title;  // empty: the field's display label
  int width = 64;
  bool visible = true;

  bool operator==(const GridColumn&) const = default;
};

struct GridOptions {
  bool editing = true;     // cells can be typed into
  bool rowSelect = false;  // whole rows are selected; no cell editing
  bool titles = true;
  bool alwaysShowSelection = false;
  bool confirmDelete = true;  // Ctrl+Delete asks before deleting
  bool tabs = true;           // Tab moves between columns instead of to the next control
  bool colLines = true;
  bool rowLines = true;
  bool resizable = true;

  bool operator==(const GridOptions&) const = default;
};

// Keys reach the grid as a person presses them: keyDown for the key, then typeKey for the
// character it produces, if any. Both give the grid the focus first.
//
// Typing into an editable grid opens a cell editor on the selected field of the current
// record (putting a browsing set into edit when the data source allows it); the first
// character replaces the cell. The editor's text goes to the field (entry conversion)
// when the selected column or row changes, when Enter is typed, when the grid loses the
// focus and when the record set asks before a post. Escape gives the text up.
class Grid : public Control, public DataAware {
 public:
  // The height of a row, for the rows a page (PageUp, PageDown) moves by.
  static constexpr int kRowHeight = 18;

  static constexpr const char* kClassName = "TDBGrid";
  explicit Grid(const Init& init);

  bool focusable() const override { return true; }
  data::DataSource* dataSource() const override { return link_.dataSource(); }
  void setDataSource(data::DataSource* source) override;
  data::RecordSet* dataSet() const { return link_.dataSet(); }

  // ---- columns -------------------------------------------------------------------------
  // Without listed columns the grid shows every visible field of the record set.
  const std::vector<GridColumn>& columns() const { return columns_; }
  void setColumns(std::vector<GridColumn> columns);
  int columnCount() const;
  std::string columnFieldName(int column) const;
  std::string columnTitle(int column) const;
  data::Field* columnField(int column) const;

  int selectedIndex() const { return selected_; }
  // Moving the selected column writes the cell editor's text, then runs onColExit while
  // the column being left is still selected; when onColExit raises, the column stays.
  // False when onColExit moved the selection elsewhere itself.
  bool setSelectedIndex(int column);
  data::Field* selectedField() const;
  bool setSelectedField(std::string_view fieldName);  // false when no column shows it

  const GridOptions& options() const { return options_; }
  void setOptions(GridOptions options);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool value);
  bool canEditCells() const { return options_.editing && !options_.rowSelect && !readOnly_; }

  // ---- rows ----------------------------------------------------------------------------
  int rowCount() const;
  int currentRow() const;  // -1 without rows
  // The stored value as text (the open cell editor's text in its cell); display
  // conversions, which need the record to be current, are not applied.
  std::string cellText(int row, int column) const;
  bool editorOpen() const { return editorOpen_; }
  const std::string& editorText() const { return editorText_; }

  // ---- keyboard ------------------------------------------------------------------------
  // onKeyDown may change the key or swallow it (0). Then: Tab/Shift+Tab and Left/Right
  // move the column, Up/Down the record, Ctrl+Delete deletes the current record (asking
  // confirmDeletion first when the options say so; refused without an answer), Escape
  // closes the cell editor. True when the key did something.
  bool keyDown(int key, Shift shift = {});
  // onKeyPress may change the character or swallow it (0); then it edits the selected
  // cell as described above. True when it reached the cell (or Enter closed the editor).
  bool typeKey(char32_t key);
  int typeText(std::string_view text);

  std::function<void(Grid&, int& key, Shift shift)> onKeyDown;
  std::function<void(Grid&, char32_t& key)> onKeyPress;
  std::function<void(Grid&)> onColExit;
  std::function<bool(Grid&)> confirmDeletion;

 protected:
  void commitPending() override { commitEditor(); }

 private:
  bool moveColumn(int direction);
  bool moveRow(int direction);
  int pageRows() const;
  bool deleteCurrentRecord();
  void commitEditor();
  void closeEditor();
  void dataChanged();

  DataLink link_;
  std::vector<GridColumn> columns_;
  int selected_ = 0;
  GridOptions options_;
  bool readOnly_ = false;
  bool editorOpen_ = false;
  std::string editorText_;
  bool inColExit_ = false;
};

}  // namespace qbk::forms
