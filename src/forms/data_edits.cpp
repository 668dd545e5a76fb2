// Data-aware edit and text label (kept apart from the plain controls so those link without
// the record set).
#include "edits.h"
#include "keys.h"
#include "static_controls.h"
#include "typing.h"

namespace qbk::forms {

DBEdit::DBEdit(const Init& init)
    : Edit(init),
      link_(FieldLink::showing(
          link_, [this] { refresh(); }, [this] { commitPending(); })) {}

void DBEdit::setDataSource(data::DataSource* source) {
  link_.link().setDataSource(source);
  refresh();
}

void DBEdit::setDataField(std::string name) {
  link_.setFieldName(std::move(name));
  refresh();
}

void DBEdit::refresh() {
  refreshing_ = true;
  try {
    setText(link_.displayText());
  } catch (...) {
    refreshing_ = false;
    throw;
  }
  refreshing_ = false;
  modified_ = false;
}

bool DBEdit::acceptsInput(char32_t key) {
  return Edit::acceptsInput(key) && link_.edit();
}

void DBEdit::controlKey(char32_t key) {
  // Escape gives up what was typed and shows the field again.
  if (key == chars::Escape) refresh();
}

int DBEdit::effectiveMaxLength() const {
  if (maxLength() > 0) return maxLength();
  const data::Field* f = field();
  return f && f->type() == data::FieldType::String ? f->size() : 0;
}

void DBEdit::textChanged() {
  if (!refreshing_ && link_.link().editing()) modified_ = true;
}

void DBEdit::commitPending() {
  if (!modified_) return;
  data::Field* f = field();
  if (!f || !link_.link().editing()) {
    refresh();  // nothing to write to: the field's text is what stays
    return;
  }
  f->setText(text());  // raises on text the field refuses; the typed text stays
  refresh();
}

// ---- DBText ----------------------------------------------------------------------------

DBText::DBText(const Init& init)
    : Label(init), link_(FieldLink::showing(link_, [this] { refresh(); })) {}

void DBText::setDataSource(data::DataSource* source) {
  link_.link().setDataSource(source);
  refresh();
}

void DBText::setDataField(std::string name) {
  link_.setFieldName(std::move(name));
  refresh();
}

void DBText::refresh() {
  setCaption(link_.displayText());
}

}  // namespace qbk::forms
