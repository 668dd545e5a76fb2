// Client-side table: typed fields, a current record, states, a change log and events.
//
// Each stored row holds up to two versions, the original (as last merged) and the current
// one. The row's state is derived from which versions it holds and is never stored:
//   original only          -> deleted (hidden, still in the change log)
//   current only           -> inserted
//   both, the same version -> unchanged
//   both, different        -> modified
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "packet.h"
#include "value.h"

namespace qbk::data {

class RecordSet;

enum class DataSetState { Inactive = 0, Browse = 1, Edit = 2, Insert = 3 };

class Field {
 public:
  // Display conversion: the text shown for the field's stored value.
  using GetTextFn = std::function<std::string(const Field&)>;
  // Entry conversion: stores what the person entered.
  using SetTextFn = std::function<void(Field&, const std::string&)>;

  const std::string& name() const { return def_.name; }
  FieldType type() const { return def_.type; }
  int size() const { return def_.size; }
  const FieldDef& def() const { return def_; }
  int index() const { return index_; }
  RecordSet& dataSet() const { return *owner_; }

  std::string displayLabel;  // empty: the field name is shown
  std::string editMask;
  std::string origin;  // table-qualified column, informative only
  int tag = 0;
  bool visible = true;
  GetTextFn onGetText;
  SetTextFn onSetText;

  const std::string& label() const { return displayLabel.empty() ? def_.name : displayLabel; }

  // Value in the current record (the edit buffer while editing). A set with no current
  // record reads as null.
  const Value& value() const;
  bool isNull() const;
  std::string asString() const;  // "" for null, numbers formatted
  double asFloat() const;        // 0 for null; a text that is no number throws DataError
  std::string text() const;      // display text: onGetText when set, else asString()

  // Writes need edit or insert state (DataError otherwise). Texts are cut to the field's
  // size in characters; a text written to a number field is parsed ("" stores null).
  void setValue(Value v);
  void setString(std::string_view s);
  void setFloat(double d);
  void setText(std::string_view s);  // entry conversion when set, else setString
  void clear();                      // null

 private:
  friend class RecordSet;
  Field(RecordSet* owner, int index, FieldDef def)
      : owner_(owner), index_(index), def_(std::move(def)) {}
  RecordSet* owner_;
  int index_;
  FieldDef def_;
};

class RecordSet {
 public:
  using Handler = std::function<void(RecordSet&)>;

  // Observers of state, content, position and field changes (data sources, renderers).
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void stateChanged(RecordSet&) {}
    // The whole content or the current record changed (load, scroll, post, cancel, delete).
    virtual void dataChanged(RecordSet&) {}
    virtual void fieldChanged(RecordSet&, Field&) {}
    // Controls that hold typed text not yet written to their field write it now. Called
    // by post() before beforePost, and by updateRecord().
    virtual void updateData(RecordSet&) {}
    // The set is being destroyed; the listener must forget it (no removeListener needed).
    virtual void dataSetDestroyed(RecordSet&) {}
  };

  explicit RecordSet(std::string name = {});
  ~RecordSet();
  RecordSet(const RecordSet&) = delete;
  RecordSet& operator=(const RecordSet&) = delete;

  const std::string& name() const { return name_; }

  // ---- fields -------------------------------------------------------------------------
  // Declared fields. A set without declared fields takes whatever fields a packet carries
  // (and takes them anew at every load; Field references of such a set live until a load
  // brings other fields). Fields are declared while the set is inactive; a text field of
  // size 0 has no size limit.
  Field& addField(std::string name, FieldType type, int size = 0);
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  Field& field(int i) { return *fields_.at(i); }
  const Field& field(int i) const { return *fields_.at(i); }
  Field* findField(std::string_view name);
  const Field* findField(std::string_view name) const;
  Field& fieldByName(std::string_view name);  // DataError "Campo 'X' não encontrado."
  const Field& fieldByName(std::string_view name) const;
  std::vector<FieldDef> fieldDefs() const;

  // ---- content ------------------------------------------------------------------------
  // Replaces the whole content with a packet; the set is then in browse state on its first
  // record. Declared fields are matched by name; a declared field the packet lacks, or one
  // of another type, is a DataError and nothing changes. So is a load over a record being
  // edited or over changes not yet merged: those are posted, merged or cancelled first.
  void setData(const Packet& packet);
  void setData(Packet&& packet);
  Packet data() const;  // the visible records as a packet (an unposted edit excluded)
  void close();         // inactive, no content; an open edit is dropped
  bool active() const { return state_ != DataSetState::Inactive; }

  // ---- change log ---------------------------------------------------------------------
  int changeCount() const;
  Delta delta() const;
  void mergeChangeLog();  // pending changes become the original content
  void cancelUpdates();   // back to the last merged content; current record kept if it exists

  // ---- navigation ---------------------------------------------------------------------
  // Moving while editing posts a modified record first and cancels an unmodified one.
  // Scroll events fire only when the current record really changes. first()/last() set
  // bof()/eof(), as does a next()/prior() that hits the end.
  void first();
  void prior();
  void next();
  void last();
  int moveBy(int distance);  // returns how far it moved
  // Exact match of every named field (texts by content, numbers numerically, null only
  // with null). Not found: false, and the current record stays.
  bool locate(const std::vector<std::string>& fieldNames, const std::vector<Value>& values);
  int recNo() const;  // 1-based, as displayCurrentRow(); 0 when there is no record
  void setRecNo(int recNo);
  int recordCount() const;
  bool isEmpty() const { return recordCount() == 0; }
  bool bof() const { return bof_; }
  bool eof() const { return eof_; }

  // ---- editing ------------------------------------------------------------------------
  DataSetState state() const { return state_; }
  bool editing() const { return state_ == DataSetState::Edit || state_ == DataSetState::Insert; }
  bool modified() const { return modified_; }
  // insert/append/edit/deleteRecord need an active set (DataError otherwise).
  void insert();        // new record before the current one
  void append();        // new record at the end
  void edit();          // DataError "Não há registro para alterar." on an empty set
  void post();          // no-op in browse
  void cancel();        // no-op in browse
  void deleteRecord();  // cancels an insertion; DataError on an empty set
  void updateRecord();  // asks listeners to write pending control text into the fields

  int tag = 0;

  // ---- rows as a grid shows them (an unposted insertion included) ----------------------
  int displayRowCount() const;
  int displayCurrentRow() const;  // 0-based, -1 when there is none
  const Value& displayValue(int row, int field) const;
  // The field's display text in that row (its display conversion when it has one), read
  // without moving the current record, so no scroll event runs.
  std::string displayText(int row, int field) const;

  // ---- events -------------------------------------------------------------------------
  // A before-event that throws stops the operation and leaves everything as it was.
  Handler beforeInsert, afterInsert, onNewRecord;
  Handler beforeEdit, afterEdit;
  Handler beforePost, afterPost;
  Handler beforeCancel, afterCancel;
  Handler beforeDelete, afterDelete;
  Handler beforeScroll, afterScroll;

  void addListener(Listener* l);
  void removeListener(Listener* l);

 private:
  friend class Field;
  struct StoredRow;
  struct Impl;

  const Value& cell(int field) const;
  void writeField(Field& f, Value v);
  void requireActive() const;
  void setState(DataSetState s);
  void checkBrowseMode();
  void beginInsert(bool atEnd);
  void scrollTo(int target);
  void fire(const Handler& h);
  template <class F>
  void notify(F&& f);

  std::string name_;
  std::vector<std::unique_ptr<Field>> fields_;
  std::unique_ptr<Impl> impl_;
  DataSetState state_ = DataSetState::Inactive;
  bool modified_ = false;
  bool bof_ = true;
  bool eof_ = true;
  // The displayed row the fields read while displayText converts it; -1 otherwise.
  mutable int peekRow_ = -1;
};

}  // namespace qbk::data
