// Labels and the plain containers that group controls.
#pragma once

#include "control.h"
#include "data_link.h"

namespace qbk::forms {

class Label : public Control {
 public:
  static constexpr const char* kClassName = "TLabel";
  explicit Label(const Init& init) : Control(init) {}
};

// A label showing the display text of a field of the current record.
class DBText : public Label, public FieldAware {
 public:
  static constexpr const char* kClassName = "TDBText";
  explicit DBText(const Init& init);

  data::DataSource* dataSource() const override { return link_.link().dataSource(); }
  void setDataSource(data::DataSource* source) override;
  const std::string& dataField() const override { return link_.fieldName(); }
  void setDataField(std::string name) override;

 private:
  void refresh();
  FieldLink link_;
};

class Panel : public Control {
 public:
  static constexpr const char* kClassName = "TPanel";
  explicit Panel(const Init& init) : Control(init) {}

 protected:
  bool acceptsChild(std::string_view className) const override {
    return isPlainVisualClass(className);
  }
};

class GroupBox : public Control {
 public:
  static constexpr const char* kClassName = "TGroupBox";
  explicit GroupBox(const Init& init) : Control(init) {}

 protected:
  bool acceptsChild(std::string_view className) const override {
    return isPlainVisualClass(className);
  }
};

}  // namespace qbk::forms
