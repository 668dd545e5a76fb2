// Data-aware check box, combo box and radio group.
#include "choices.h"

namespace qbk::forms {

namespace {

// Refreshes run on every change of the current record; a flag keeps the control from
// writing back what it is only showing.
class Refreshing {
 public:
  explicit Refreshing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Refreshing() { flag_ = was_; }
  Refreshing(const Refreshing&) = delete;
  Refreshing& operator=(const Refreshing&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

// ---- DBCheckBox ------------------------------------------------------------------------

DBCheckBox::DBCheckBox(const Init& init)
    : CheckBox(init), link_(FieldLink::showing(link_, [this] { refresh(); })) {}

void DBCheckBox::setDataSource(data::DataSource* source) {
  link_.link().setDataSource(source);
  refresh();
}

void DBCheckBox::setDataField(std::string name) {
  link_.setFieldName(std::move(name));
  refresh();
}

void DBCheckBox::setValueChecked(std::string value) {
  valueChecked_ = std::move(value);
  refresh();
}

void DBCheckBox::setValueUnchecked(std::string value) {
  valueUnchecked_ = std::move(value);
  refresh();
}

void DBCheckBox::refresh() {
  Refreshing guard(refreshing_);
  setChecked(field() && link_.displayText() == valueChecked_);
}

void DBCheckBox::checkedChanged() {
  if (refreshing_) return;
  data::Field* f = field();
  if (!f || !link_.link().editing()) return;
  {
    Refreshing guard(refreshing_);
    f->setText(checked() ? valueChecked_ : valueUnchecked_);
  }
  refresh();
}

// ---- DBComboBox ------------------------------------------------------------------------

DBComboBox::DBComboBox(const Init& init)
    : ComboBox(init), link_(FieldLink::showing(link_, [this] { refresh(); })) {}

void DBComboBox::setDataSource(data::DataSource* source) {
  link_.link().setDataSource(source);
  refresh();
}

void DBComboBox::setDataField(std::string name) {
  link_.setFieldName(std::move(name));
  refresh();
}

void DBComboBox::refresh() {
  ComboBox::setText(link_.displayText());
}

void DBComboBox::picked(int index) {
  if (onPick) {
    onPick(*this, index);
  } else if (data::Field* f = field()) {
    f->setText(items()[index]);
  }
  refresh();
}

// ---- DBRadioGroup ----------------------------------------------------------------------

DBRadioGroup::DBRadioGroup(const Init& init)
    : RadioGroup(init), link_(FieldLink::showing(link_, [this] { refresh(); })) {}

void DBRadioGroup::setDataSource(data::DataSource* source) {
  link_.link().setDataSource(source);
  refresh();
}

void DBRadioGroup::setDataField(std::string name) {
  link_.setFieldName(std::move(name));
  refresh();
}

void DBRadioGroup::setValues(std::vector<std::string> values) {
  if (assign(values_, std::move(values), Property::Values)) refresh();
}

std::string DBRadioGroup::valueAt(int index) const {
  if (index < 0 || index >= static_cast<int>(items().size())) return {};
  return index < static_cast<int>(values_.size()) ? values_[index] : items()[index];
}

void DBRadioGroup::refresh() {
  int found = -1;
  if (field() && link_.link().active()) {
    const std::string stored = link_.displayText();
    for (int i = 0; i < static_cast<int>(items().size()); ++i) {
      if (valueAt(i) == stored) {
        found = i;
        break;
      }
    }
  }
  Refreshing guard(refreshing_);
  setItemIndex(found);
}

void DBRadioGroup::itemIndexChanged() {
  if (refreshing_ || itemIndex() < 0) return;
  data::Field* f = field();
  if (!f || !link_.link().editing()) return;
  {
    Refreshing guard(refreshing_);
    f->setText(valueAt(itemIndex()));
  }
}

}  // namespace qbk::forms
