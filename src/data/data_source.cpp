#include "data_source.h"

namespace qbk::data {

DataSource::DataSource(std::string name, RecordSet* dataSet) : name_(std::move(name)) {
  if (dataSet) {
    dataSet_ = dataSet;
    dataSet_->addListener(this);
  }
}

DataSource::~DataSource() {
  if (dataSet_) dataSet_->removeListener(this);
}

void DataSource::setDataSet(RecordSet* ds) {
  if (ds == dataSet_) return;
  const DataSetState before = state();
  if (dataSet_) dataSet_->removeListener(this);
  dataSet_ = ds;
  if (dataSet_) dataSet_->addListener(this);
  if (state() != before && onStateChange) onStateChange(*this);
  if (onDataChange) onDataChange(*this, nullptr);
}

DataSetState DataSource::state() const {
  return dataSet_ ? dataSet_->state() : DataSetState::Inactive;
}

void DataSource::stateChanged(RecordSet&) {
  if (onStateChange) onStateChange(*this);
}

void DataSource::dataChanged(RecordSet&) {
  if (onDataChange) onDataChange(*this, nullptr);
}

void DataSource::fieldChanged(RecordSet&, Field& f) {
  if (onDataChange) onDataChange(*this, &f);
}

void DataSource::updateData(RecordSet&) {
  if (onUpdateData) onUpdateData(*this);
}

void DataSource::dataSetDestroyed(RecordSet&) {
  const bool wasActive = state() != DataSetState::Inactive;
  dataSet_ = nullptr;
  if (wasActive && onStateChange) onStateChange(*this);
}

}  // namespace qbk::data
