#include "data_link.h"

namespace qbk::forms {

DataLink::~DataLink() {
  if (attached_) attached_->removeListener(this);
}

void DataLink::setDataSource(data::DataSource* source) {
  data::RecordSet* set = source ? source->dataSet() : nullptr;
  if (source == source_ && set == attached_) return;
  if (attached_) attached_->removeListener(this);
  source_ = source;
  attached_ = set;
  if (attached_) attached_->addListener(this);
  changed();
}

bool DataLink::edit() {
  if (!active()) return false;
  if (attached_->editing()) return true;
  if (!source_->autoEdit || attached_->isEmpty()) return false;
  attached_->edit();
  return attached_->editing();
}

void DataLink::stateChanged(data::RecordSet&) {
  if (events_.stateChanged) events_.stateChanged();
}
void DataLink::dataChanged(data::RecordSet&) {
  changed();
}

void DataLink::fieldChanged(data::RecordSet&, data::Field& field) {
  if (events_.fieldChanged) events_.fieldChanged(field);
}

void DataLink::updateData(data::RecordSet&) {
  if (events_.updateData) events_.updateData();
}

void DataLink::dataSetDestroyed(data::RecordSet&) {
  attached_ = nullptr;
  changed();
}

void DataLink::changed() {
  if (events_.stateChanged) events_.stateChanged();
  if (events_.dataChanged) events_.dataChanged();
}

data::Field* FieldLink::field() const {
  data::RecordSet* set = link_.dataSet();
  if (!set || fieldName_.empty()) return nullptr;
  return set->findField(fieldName_);
}

std::string FieldLink::displayText() const {
  const data::Field* f = field();
  if (!f || !link_.active()) return {};
  return f->text();
}

DataLink::Events FieldLink::showing(FieldLink& self, std::function<void()> refresh,
                                    std::function<void()> updateData) {
  return DataLink::Events{
      .dataChanged = refresh,
      .stateChanged =
          [&self, refresh] {
            if (!self.link().editing()) refresh();
          },
      .fieldChanged =
          [&self, refresh](data::Field& f) {
            if (&f == self.field()) refresh();
          },
      .updateData = std::move(updateData),
  };
}

}  // namespace qbk::forms
