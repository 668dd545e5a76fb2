// Data sources relay a record set's notifications and never outlive their link to it.
#include "data/data_source.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "record_set_support.h"

namespace qbk::data {
namespace {

using namespace support;
using ::testing::ElementsAre;

struct Heard {
  std::vector<std::string> events;
  void attach(DataSource& ds) {
    ds.onStateChange = [this](DataSource& s) {
      events.push_back("state" + std::to_string(static_cast<int>(s.state())));
    };
    ds.onDataChange = [this](DataSource&, Field* f) {
      events.push_back(f ? "field " + f->name() : "data");
    };
    ds.onUpdateData = [this](DataSource&) { events.emplace_back("updateData"); };
  }
};

TEST(DataSource, relaysStateDataFieldAndUpdateRequests) {
  RecordSet rs("cdsBanco");
  declareBanks(rs);
  DataSource ds("dtsBanco", &rs);
  Heard heard;
  heard.attach(ds);
  rs.setData(banks({"001"}));
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Brasil");
  rs.post();
  EXPECT_THAT(heard.events, ElementsAre("state1", "data", "state2", "field NMBANCO", "updateData",
                                        "state1", "data"));
}

TEST(DataSource, destroyedSourceHearsNothingMore) {
  RecordSet rs;
  declareBanks(rs);
  Heard heard;
  {
    DataSource ds("dts", &rs);
    heard.attach(ds);
  }
  rs.setData(banks({"001"}));
  rs.next();
  EXPECT_TRUE(heard.events.empty());
}

TEST(DataSource, outlivingItsRecordSetLeavesItInactive) {
  auto rs = std::make_unique<RecordSet>();
  declareBanks(*rs);
  rs->setData(banks({"001"}));
  DataSource ds("dts", rs.get());
  Heard heard;
  heard.attach(ds);
  rs.reset();
  EXPECT_EQ(ds.dataSet(), nullptr);
  EXPECT_EQ(ds.state(), DataSetState::Inactive);
  EXPECT_THAT(heard.events, ElementsAre("state0"));
}

TEST(DataSource, switchingSetsFollowsOnlyTheNewOne) {
  RecordSet a, b;
  declareBanks(a);
  declareBanks(b);
  a.setData(banks({"001"}));
  DataSource ds("dts", &a);
  Heard heard;
  heard.attach(ds);
  ds.setDataSet(&b);
  EXPECT_THAT(heard.events, ElementsAre("state0", "data"));
  heard.events.clear();
  a.close();
  b.setData(banks({"104"}));
  EXPECT_THAT(heard.events, ElementsAre("state1", "data"));
}

}  // namespace
}  // namespace qbk::data
