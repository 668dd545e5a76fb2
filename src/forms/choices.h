// Check boxes, radio buttons, list-only combo boxes and radio groups, plain and bound to a
// field.
//
// A person's action (userClick, userPick, typeKey) gives the control the focus first, which
// runs the exit handler of the control being left; it is refused (false) when the control
// cannot take the focus. On a data-aware control it also needs a field and puts a browsing
// set into edit when the data source allows it, else it is refused.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "control.h"
#include "data_link.h"

namespace qbk::forms {

// ---- check boxes -----------------------------------------------------------------------

// onClick runs on every change of the checked state: a person's click and the program
// setting a different value alike (screens rely on both).
class CheckBox : public Control {
 public:
  static constexpr const char* kClassName = "TCheckBox";
  explicit CheckBox(const Init& init) : Control(init) {}

  bool focusable() const override { return true; }
  bool checked() const { return checked_; }
  void setChecked(bool value);
  bool userClick();

  std::function<void(CheckBox&)> onClick;

 protected:
  virtual bool prepareUserChange() { return true; }
  // The state changed (before onClick runs).
  virtual void checkedChanged() {}

 private:
  bool checked_ = false;
};

// Checked when the field's text equals valueChecked. A change of the box writes
// valueChecked or valueUnchecked to the field while the set is editing.
class DBCheckBox : public CheckBox, public FieldAware {
 public:
  static constexpr const char* kClassName = "TDBCheckBox";
  explicit DBCheckBox(const Init& init);

  data::DataSource* dataSource() const override { return link_.link().dataSource(); }
  void setDataSource(data::DataSource* source) override;
  const std::string& dataField() const override { return link_.fieldName(); }
  void setDataField(std::string name) override;
  data::Field* field() const { return link_.field(); }

  const std::string& valueChecked() const { return valueChecked_; }
  void setValueChecked(std::string value);
  const std::string& valueUnchecked() const { return valueUnchecked_; }
  void setValueUnchecked(std::string value);

 protected:
  bool prepareUserChange() override { return link_.edit(); }
  void checkedChanged() override;

 private:
  void refresh();
  FieldLink link_;
  std::string valueChecked_ = "S";
  std::string valueUnchecked_ = "N";
  bool refreshing_ = false;
};

// Ticking a radio button unticks the radio buttons of the same parent. onClick runs when it
// becomes ticked, by a person or by the program.
class RadioButton : public Control {
 public:
  static constexpr const char* kClassName = "TRadioButton";
  explicit RadioButton(const Init& init) : Control(init) {}

  bool focusable() const override { return true; }
  bool checked() const { return checked_; }
  void setChecked(bool value);
  bool userClick();

  std::function<void(RadioButton&)> onClick;

 private:
  bool checked_ = false;
};

// ---- lists -----------------------------------------------------------------------------

// A list-only combo box: its text is the picked entry. onChange runs for a person's pick
// only; the program's setItemIndex is silent, as on a desktop.
class ComboBox : public Control {
 public:
  static constexpr const char* kClassName = "TComboBox";
  explicit ComboBox(const Init& init) : Control(init) {}

  bool focusable() const override { return true; }
  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);
  int itemIndex() const { return itemIndex_; }  // -1: no entry picked
  void setItemIndex(int index);                 // FormError outside -1..count-1
  // Picks the first entry equal to the text, none when no entry is.
  void setText(std::string value) override;

  bool userPick(int index);
  // A typed character: onKeyPress may change or drop it; a letter then picks the next
  // entry starting with it, as a list-only box does.
  bool typeKey(char32_t key);

  std::function<void(ComboBox&)> onChange;
  std::function<void(ComboBox&, char32_t& key)> onKeyPress;

 protected:
  virtual bool preparePick(int) { return true; }
  // A person picked an entry (the index is already shown).
  virtual void picked(int) {}
  virtual void itemsChanged() {}

 private:
  bool pick(int index);
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// Shows the entry equal to its field's display text (none when no entry is). A person's
// pick goes to the field through onPick, which gets the picked position (the screens'
// entry conversions go by position); without onPick the entry's text is written with
// Field::setText.
class DBComboBox : public ComboBox, public FieldAware {
 public:
  static constexpr const char* kClassName = "TDBComboBox";
  explicit DBComboBox(const Init& init);

  data::DataSource* dataSource() const override { return link_.link().dataSource(); }
  void setDataSource(data::DataSource* source) override;
  const std::string& dataField() const override { return link_.fieldName(); }
  void setDataField(std::string name) override;
  data::Field* field() const { return link_.field(); }

  std::function<void(DBComboBox&, int index)> onPick;

 protected:
  bool preparePick(int) override { return link_.edit(); }
  void picked(int index) override;
  void itemsChanged() override { refresh(); }

 private:
  void refresh();
  FieldLink link_;
};

// onChange runs whenever the picked item changes, whoever changes it.
class RadioGroup : public Control {
 public:
  static constexpr const char* kClassName = "TRadioGroup";
  explicit RadioGroup(const Init& init) : Control(init) {}

  bool focusable() const override { return true; }
  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);
  int itemIndex() const { return itemIndex_; }  // -1: none picked
  void setItemIndex(int index);                 // FormError outside -1..count-1
  bool userPick(int index);

  std::function<void(RadioGroup&)> onChange;

 protected:
  virtual bool preparePick(int) { return true; }
  // The picked item changed (before onChange runs).
  virtual void itemIndexChanged() {}
  virtual void itemsChanged() {}

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// Stores the value listed beside the picked item (the item's own text where no value is
// listed) and shows the item whose value equals the field's text, none when no value does.
class DBRadioGroup : public RadioGroup, public FieldAware {
 public:
  static constexpr const char* kClassName = "TDBRadioGroup";
  explicit DBRadioGroup(const Init& init);

  data::DataSource* dataSource() const override { return link_.link().dataSource(); }
  void setDataSource(data::DataSource* source) override;
  const std::string& dataField() const override { return link_.fieldName(); }
  void setDataField(std::string name) override;
  data::Field* field() const { return link_.field(); }

  const std::vector<std::string>& values() const { return values_; }
  void setValues(std::vector<std::string> values);
  std::string valueAt(int index) const;

 protected:
  bool preparePick(int) override { return link_.edit(); }
  void itemIndexChanged() override;
  void itemsChanged() override { refresh(); }

 private:
  void refresh();
  FieldLink link_;
  std::vector<std::string> values_;
  bool refreshing_ = false;
};

}  // namespace qbk::forms
