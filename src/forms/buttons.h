// Command-bar buttons and the search button.
#pragma once

#include <functional>
#include <string>

#include "control.h"
#include "data_link.h"

namespace qbk::forms {

class MenuItem;

// A flat button: it never takes the focus, so clicking it leaves the focused control (and
// its exit handler) alone.
class CommandButton : public Control {
 public:
  static constexpr const char* kClassName = "TSpeedButton";
  explicit CommandButton(const Init& init) : Control(init) {}

  const std::string& glyph() const { return glyph_; }
  void setGlyph(std::string value);

  // The menu item whose enabled state the button takes when told to follow it.
  MenuItem* menuItem() const { return menuItem_; }
  void setMenuItem(MenuItem* item) { menuItem_ = item; }
  void followMenuItem();

  // The program clicks the button: runs onClick whatever its state.
  void click();
  // A person clicks it: refused (false) when it is disabled or hidden.
  bool userClick();

  std::function<void(CommandButton&)> onClick;

 private:
  std::string glyph_;
  MenuItem* menuItem_ = nullptr;
};

// The host's search button: lists the rows of a data source in a choice window and hands
// the chosen row over. The window belongs to the host layer, which wires onClick and runs
// the two search events around it.
class SearchButton : public CommandButton, public DataAware {
 public:
  static constexpr const char* kClassName = "TBtnPesquisa";
  explicit SearchButton(const Init& init) : CommandButton(init) {}

  const std::string& associate() const { return associate_; }  // name of the tied control
  void setAssociate(std::string name) { associate_ = std::move(name); }
  const std::string& title() const { return title_; }
  void setTitle(std::string value) { title_ = std::move(value); }
  const std::string& dataSourceName() const { return dataSourceName_; }
  void setDataSourceName(std::string name) { dataSourceName_ = std::move(name); }
  data::DataSource* dataSource() const override { return dataSource_; }
  void setDataSource(data::DataSource* source) override { dataSource_ = source; }
  const std::string& emptyMessage() const { return emptyMessage_; }  // shown for no rows
  void setEmptyMessage(std::string value) { emptyMessage_ = std::move(value); }

  std::function<void(SearchButton&, bool& ok)> beforeSearch;
  std::function<void(SearchButton&)> afterSearch;

 private:
  std::string associate_;
  std::string title_;
  std::string dataSourceName_;
  data::DataSource* dataSource_ = nullptr;
  std::string emptyMessage_;
};

}  // namespace qbk::forms
