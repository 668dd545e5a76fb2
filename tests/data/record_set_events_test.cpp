// The order in which handlers and listeners hear of each operation, and what a raising
// handler leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "data/errors.h"
#include "data/record_set.h"
#include "record_set_support.h"

namespace qbk::data {
namespace {

using namespace support;
using ::testing::ElementsAre;

RecordSet::Handler raise() {
  return [](RecordSet&) { throw std::runtime_error("recusado"); };
}

class RecordSetEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    declareBanks(rs);
    rs.setData(banks({"001", "104", "237"}));
    rs.next();
    log.take();
  }
  RecordSet rs{"cdsBanco"};
  EventLog log{rs};
};

TEST_F(RecordSetEvents, loadGoesThroughInactiveAndScrollsOnce) {
  rs.setData(banks({"341"}));
  EXPECT_THAT(log.take(), ElementsAre("state0", "state1", "data", "afterScroll"));
  rs.close();
  EXPECT_THAT(log.take(), ElementsAre("state0"));
  rs.setData(banks({"341"}));
  EXPECT_THAT(log.take(), ElementsAre("state1", "data", "afterScroll"));
}

TEST_F(RecordSetEvents, insertAndPostInTheOrderAPersonExpects) {
  rs.onNewRecord = [this](RecordSet& s) {
    log.events.emplace_back("onNewRecord");
    s.fieldByName("QTDIAS").setFloat(0);
  };
  rs.insert();
  EXPECT_THAT(log.take(), ElementsAre("beforeInsert", "beforeScroll", "state3", "onNewRecord",
                                      "field QTDIAS", "data", "afterInsert", "afterScroll"));
  EXPECT_FALSE(rs.modified());  // defaults are not a person's change
  rs.fieldByName("CDBANCO").setString("999");
  rs.post();
  EXPECT_THAT(log.take(), ElementsAre("field CDBANCO", "updateData", "beforePost", "state1", "data",
                                      "afterPost"));
}

TEST_F(RecordSetEvents, editCancelAndDeleteInOrder) {
  rs.edit();
  rs.edit();  // already editing: nothing
  EXPECT_THAT(log.take(), ElementsAre("beforeEdit", "state2", "afterEdit"));
  rs.cancel();
  EXPECT_THAT(log.take(), ElementsAre("beforeCancel", "state1", "data", "afterCancel"));
  rs.post();
  rs.cancel();  // browsing: both nothing
  rs.append();
  log.take();
  rs.cancel();
  EXPECT_THAT(log.take(), ElementsAre("beforeCancel", "beforeScroll", "state1", "data",
                                      "afterCancel", "afterScroll"));
  rs.deleteRecord();
  EXPECT_THAT(log.take(),
              ElementsAre("beforeDelete", "beforeScroll", "data", "afterDelete", "afterScroll"));
}

TEST_F(RecordSetEvents, scrollEventsOnlyWhenTheRecordChanges) {
  rs.next();
  EXPECT_THAT(log.take(), ElementsAre("beforeScroll", "data", "afterScroll"));
  rs.next();
  rs.last();
  EXPECT_FALSE(rs.locate({"CDBANCO"}, {std::string("999")}));
  EXPECT_THAT(log.take(), ElementsAre());
}

TEST_F(RecordSetEvents, raisingBeforeEventsLeaveEverythingAsItWas) {
  rs.beforeInsert = raise();
  EXPECT_THROW(rs.append(), std::runtime_error);
  rs.beforeDelete = raise();
  EXPECT_THROW(rs.deleteRecord(), std::runtime_error);
  rs.beforeEdit = raise();
  EXPECT_THROW(rs.edit(), std::runtime_error);
  EXPECT_EQ(rs.state(), DataSetState::Browse);
  EXPECT_EQ(rs.data(), banks({"001", "104", "237"}));
  EXPECT_EQ(code(rs), "104");

  rs.beforeEdit = nullptr;
  rs.beforePost = raise();
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Caixa");
  log.take();
  EXPECT_THROW(rs.post(), std::runtime_error);
  EXPECT_THROW(rs.next(), std::runtime_error);  // the move posts first, so it stops too
  EXPECT_THAT(log.take(), ElementsAre("updateData", "updateData"));
  EXPECT_EQ(rs.state(), DataSetState::Edit);
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Caixa");
  EXPECT_EQ(code(rs), "104");
  EXPECT_EQ(rs.changeCount(), 0);
}

TEST_F(RecordSetEvents, raisingOnNewRecordDropsTheNewRecord) {
  rs.onNewRecord = raise();
  EXPECT_THROW(rs.insert(), std::runtime_error);
  EXPECT_EQ(rs.state(), DataSetState::Browse);
  EXPECT_EQ(rs.displayRowCount(), 3);
  EXPECT_EQ(code(rs), "104");
}

TEST_F(RecordSetEvents, raisingAfterPostReachesTheCallerWithThePostDone) {
  // As the apply sequence does on a server refusal: cancel what is pending, raise again.
  rs.afterPost = [](RecordSet& s) {
    s.cancelUpdates();
    throw std::runtime_error("servidor recusou");
  };
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Caixa");
  EXPECT_THROW(rs.post(), std::runtime_error);
  EXPECT_EQ(rs.state(), DataSetState::Browse);
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Banco 104");
  EXPECT_EQ(rs.changeCount(), 0);
}

TEST(RecordSetListeners, aListenerMayRemoveItselfOrAnotherWhileBeingNotified) {
  RecordSet rs;
  declareBanks(rs);
  struct Counting : RecordSet::Listener {
    int heard = 0;
    std::function<void()> onHear;
    void stateChanged(RecordSet&) override {
      ++heard;
      if (onHear) onHear();
    }
  } first, second;
  rs.addListener(&first);
  rs.addListener(&second);
  first.onHear = [&] {
    rs.removeListener(&first);
    rs.removeListener(&second);
  };
  rs.setData(banks({"001"}));
  rs.close();
  EXPECT_EQ(first.heard, 1);
  EXPECT_EQ(second.heard, 0);
}

TEST_F(RecordSetEvents, displayTextOfAnotherRowConvertsItWithoutMovingThere) {
  // A conversion that reads a sibling field of the same row, as registration masks do.
  rs.fieldByName("NMBANCO").onGetText = [](const Field& f) {
    return f.asString() + " (" + f.dataSet().fieldByName("CDBANCO").asString() + ")";
  };
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Alterado");
  log.take();
  EXPECT_EQ(rs.displayText(0, 1), "Banco 001 (001)");
  EXPECT_EQ(rs.displayText(1, 1), "Alterado (104)") << "the row being edited shows its edit";
  EXPECT_EQ(rs.displayText(2, 0), "237") << "no conversion: the stored value";
  EXPECT_EQ(rs.displayText(7, 1), "");
  EXPECT_THAT(log.take(), ::testing::IsEmpty());
  EXPECT_EQ(code(rs), "104");
  EXPECT_EQ(rs.fieldByName("NMBANCO").text(), "Alterado (104)");
}

}  // namespace
}  // namespace qbk::data
