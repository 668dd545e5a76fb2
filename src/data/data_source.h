// Links controls to a record set and reports its state changes.
#pragma once

#include <functional>
#include <string>

#include "record_set.h"

namespace qbk::data {

class DataSource : private RecordSet::Listener {
 public:
  explicit DataSource(std::string name = {}, RecordSet* dataSet = nullptr);
  ~DataSource() override;
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;

  const std::string& name() const { return name_; }
  RecordSet* dataSet() const { return dataSet_; }
  void setDataSet(RecordSet* ds);
  DataSetState state() const;

  // When true, a data-aware control puts the set into edit as soon as the person types.
  bool autoEdit = true;

  // Fired when the state seen through the source changes, also by setDataSet.
  std::function<void(DataSource&)> onStateChange;
  std::function<void(DataSource&, Field*)> onDataChange;  // field null: record or content
  // The set is about to post: controls bound here write the text typed into them.
  std::function<void(DataSource&)> onUpdateData;

 private:
  void stateChanged(RecordSet&) override;
  void dataChanged(RecordSet&) override;
  void fieldChanged(RecordSet&, Field&) override;
  void updateData(RecordSet&) override;
  void dataSetDestroyed(RecordSet&) override;

  std::string name_;
  RecordSet* dataSet_ = nullptr;
};

}  // namespace qbk::data
