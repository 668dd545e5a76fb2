// Shared fixtures for the record set tests: a small bank table and an event recorder.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "data/record_set.h"

namespace qbk::data::support {

inline std::vector<FieldDef> bankDefs() {
  return {{"CDBANCO", FieldType::String, 3},
          {"NMBANCO", FieldType::String, 40},
          {"QTDIAS", FieldType::Float, 0}};
}

inline void declareBanks(RecordSet& rs) {
  for (const auto& d : bankDefs()) rs.addField(d.name, d.type, d.size);
}

// One row per code, named "Banco <code>", QTDIAS null.
inline Packet banks(std::initializer_list<const char*> codes) {
  Packet p{bankDefs(), {}};
  for (const char* c : codes) p.rows.push_back({std::string(c), "Banco " + std::string(c), {}});
  return p;
}

// The codes of the rows a grid would show, an unposted insertion included.
inline std::vector<std::string> shownCodes(const RecordSet& rs) {
  std::vector<std::string> out;
  for (int r = 0; r < rs.displayRowCount(); ++r) {
    const Value& v = rs.displayValue(r, 0);
    out.push_back(isNull(v) ? "<null>" : std::get<std::string>(v));
  }
  return out;
}

inline std::string code(const RecordSet& rs) {
  return rs.fieldByName("CDBANCO").asString();
}

// Records every event handler and listener notification of a set, in order.
struct EventLog : RecordSet::Listener {
  std::vector<std::string> events;
  RecordSet& rs;

  explicit EventLog(RecordSet& set) : rs(set) {
    const auto hook = [this](RecordSet::Handler& h, const char* name) {
      h = [this, name](RecordSet&) { events.emplace_back(name); };
    };
    hook(rs.beforeInsert, "beforeInsert");
    hook(rs.afterInsert, "afterInsert");
    hook(rs.onNewRecord, "onNewRecord");
    hook(rs.beforeEdit, "beforeEdit");
    hook(rs.afterEdit, "afterEdit");
    hook(rs.beforePost, "beforePost");
    hook(rs.afterPost, "afterPost");
    hook(rs.beforeCancel, "beforeCancel");
    hook(rs.afterCancel, "afterCancel");
    hook(rs.beforeDelete, "beforeDelete");
    hook(rs.afterDelete, "afterDelete");
    hook(rs.beforeScroll, "beforeScroll");
    hook(rs.afterScroll, "afterScroll");
    rs.addListener(this);
  }
  ~EventLog() override { rs.removeListener(this); }

  void stateChanged(RecordSet& s) override {
    events.push_back("state" + std::to_string(static_cast<int>(s.state())));
  }
  void dataChanged(RecordSet&) override { events.emplace_back("data"); }
  void fieldChanged(RecordSet&, Field& f) override { events.push_back("field " + f.name()); }
  void updateData(RecordSet&) override { events.emplace_back("updateData"); }

  std::vector<std::string> take() { return std::exchange(events, {}); }
};

}  // namespace qbk::data::support
