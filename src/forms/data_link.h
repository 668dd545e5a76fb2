// How data-aware controls follow a record set through its data source.
//
// The link listens to the record set that the data source shows at the moment the link is
// bound (setDataSource); a data source that is later pointed at another record set must be
// bound again. Data sources must outlive the controls bound to them; a record set
// destroyed first is simply forgotten.
#pragma once

#include <functional>
#include <string>

#include "data/data_source.h"

namespace qbk::forms {

// Controls bound to a data source (grids, navigators, field controls). The resource
// builder binds them by data-source name through this interface.
class DataAware {
 public:
  virtual ~DataAware() = default;
  virtual data::DataSource* dataSource() const = 0;
  virtual void setDataSource(data::DataSource* source) = 0;
};

// Controls that show and edit one field of the current record.
class FieldAware : public DataAware {
 public:
  virtual const std::string& dataField() const = 0;
  virtual void setDataField(std::string name) = 0;
};

class DataLink : private data::RecordSet::Listener {
 public:
  struct Events {
    std::function<void()> dataChanged;   // content or current record changed
    std::function<void()> stateChanged;  // browse, edit, insert, inactive; also on binding
    std::function<void(data::Field&)> fieldChanged;
    std::function<void()> updateData;  // write pending typed text now
  };

  explicit DataLink(Events events) : events_(std::move(events)) {}
  ~DataLink() override;
  DataLink(const DataLink&) = delete;
  DataLink& operator=(const DataLink&) = delete;

  data::DataSource* dataSource() const { return source_; }
  void setDataSource(data::DataSource* source);
  data::RecordSet* dataSet() const { return attached_; }

  bool active() const { return attached_ && attached_->active(); }
  bool editing() const { return attached_ && attached_->editing(); }
  // What a person's first keystroke does: a browsing set goes into edit when the data
  // source allows it. True when the set is editing afterwards. An empty set has no record
  // to change: false (a keystroke never starts an insertion). Raises what edit() raises.
  bool edit();

 private:
  void stateChanged(data::RecordSet&) override;
  void dataChanged(data::RecordSet&) override;
  void fieldChanged(data::RecordSet&, data::Field& field) override;
  void updateData(data::RecordSet&) override;
  void dataSetDestroyed(data::RecordSet&) override;
  void changed();

  Events events_;
  data::DataSource* source_ = nullptr;
  data::RecordSet* attached_ = nullptr;
};

// A link to one field by name; the field is looked up each time, so a set whose fields
// come with its data is followed too.
class FieldLink {
 public:
  explicit FieldLink(DataLink::Events events) : link_(std::move(events)) {}

  // The events of a control that shows one field: it refreshes on every change of the
  // record or of its field, and on a state change unless the set is being edited (the
  // control may then hold what the person typed). `updateData` writes pending typed text.
  // `self` is the FieldLink being built; it is only used once events arrive.
  static DataLink::Events showing(FieldLink& self, std::function<void()> refresh,
                                  std::function<void()> updateData = nullptr);

  DataLink& link() { return link_; }
  const DataLink& link() const { return link_; }
  const std::string& fieldName() const { return fieldName_; }
  void setFieldName(std::string name) { fieldName_ = std::move(name); }
  data::Field* field() const;
  // The field's display text, "" without a field or a current record.
  std::string displayText() const;
  // Whether a person can change the field now (putting the set into edit first).
  bool edit() { return field() && link_.edit(); }

 private:
  DataLink link_;
  std::string fieldName_;
};

}  // namespace qbk::forms
