// One-line edit boxes, plain and bound to a field.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "control.h"
#include "data_link.h"

namespace qbk::forms {

class Edit : public Control {
 public:
  static constexpr const char* kClassName = "TEdit";
  explicit Edit(const Init& init) : Control(init) {}

  bool focusable() const override { return true; }

  // The program sets the text; the caret goes to its end. Fires onChange when it changes.
  void setText(std::string value) override;
  int maxLength() const { return maxLength_; }  // characters; 0 is no limit
  void setMaxLength(int value);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool value);
  const std::string& editMask() const { return editMask_; }
  void setEditMask(std::string value);
  int selStart() const { return selStart_; }  // caret position in characters
  void setSelStart(int value);

  // A person types at the caret: the edit takes the focus first (running the exit handler
  // of the control being left), onKeyPress may change the key or drop it (0), then the
  // character is inserted (or, for backspace, the one before the caret removed) within
  // maxLength. True when the text changed.
  bool typeKey(char32_t key);
  // typeKey for every character of a UTF-8 text; returns how many changed the text.
  int typeText(std::string_view text);

  std::function<void(Edit&, char32_t& key)> onKeyPress;
  std::function<void(Edit&)> onChange;

 protected:
  // Whether a typed text key may change the text now (after onKeyPress let it through).
  virtual bool acceptsInput(char32_t key);
  // A key that onKeyPress let through but that is no text input (Escape, Enter...).
  virtual void controlKey(char32_t) {}
  virtual int effectiveMaxLength() const { return maxLength_; }
  // The text changed, by the program or by typing (before onChange runs).
  virtual void textChanged() {}

 private:
  void changeText(std::string value, int caret);

  int maxLength_ = 0;
  bool readOnly_ = false;
  std::string editMask_;
  int selStart_ = 0;
};

// Shows the display text of its field whenever the current record or the field changes.
// What a person types goes to the field (entry conversion) when the focus leaves the edit
// and when the record set asks before a post; the first keystroke puts a browsing set into
// edit when the data source allows it. Without a field the edit takes no input.
class DBEdit : public Edit, public FieldAware {
 public:
  static constexpr const char* kClassName = "TDBEdit";
  explicit DBEdit(const Init& init);

  data::DataSource* dataSource() const override { return link_.link().dataSource(); }
  void setDataSource(data::DataSource* source) override;
  const std::string& dataField() const override { return link_.fieldName(); }
  void setDataField(std::string name) override;
  data::Field* field() const { return link_.field(); }
  // Text typed (or set by the program while the set is editing) not yet in the field.
  bool modified() const { return modified_; }

 protected:
  bool acceptsInput(char32_t key) override;
  void controlKey(char32_t key) override;
  int effectiveMaxLength() const override;
  void textChanged() override;
  void commitPending() override;

 private:
  void refresh();

  FieldLink link_;
  bool modified_ = false;
  bool refreshing_ = false;
};

}  // namespace qbk::forms
