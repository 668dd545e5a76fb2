// Pending changes: the delta, merging, cancelling, and where the current record ends up.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/record_set.h"
#include "record_set_support.h"

namespace qbk::data {
namespace {

using namespace support;
using ::testing::ElementsAre;
using Op = Change::Op;

Row bank(const char* code, const std::string& name) {
  return {std::string(code), name, {}};
}

class RecordSetChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    declareBanks(rs);
    rs.setData(banks({"001", "104", "237", "341"}));
  }
  void rename(const char* code, const std::string& name) {
    ASSERT_TRUE(rs.locate({"CDBANCO"}, {std::string(code)}));
    rs.edit();
    rs.fieldByName("NMBANCO").setString(name);
    rs.post();
  }
  void insertBefore(const char* at, const char* code) {
    ASSERT_TRUE(rs.locate({"CDBANCO"}, {std::string(at)}));
    rs.insert();
    rs.fieldByName("CDBANCO").setString(code);
    rs.fieldByName("NMBANCO").setString(std::string("Novo ") + code);
    rs.post();
  }
  void remove(const char* code) {
    ASSERT_TRUE(rs.locate({"CDBANCO"}, {std::string(code)}));
    rs.deleteRecord();
  }
  RecordSet rs{"cdsBanco"};
};

TEST_F(RecordSetChanges, deltaListsDeletesThenUpdatesThenInserts) {
  insertBefore("001", "999");
  rename("237", "Bradesco");
  remove("104");
  EXPECT_EQ(rs.changeCount(), 3);
  const Delta d = rs.delta();
  EXPECT_EQ(d.fields, bankDefs());
  EXPECT_THAT(d.changes,
              ElementsAre(Change{Op::Delete, bank("104", "Banco 104"), {}},
                          Change{Op::Update, bank("237", "Banco 237"), bank("237", "Bradesco")},
                          Change{Op::Insert, {}, bank("999", "Novo 999")}));
}

TEST_F(RecordSetChanges, laterChangesFoldIntoTheFirst) {
  insertBefore("104", "999");
  rename("999", "Fundo Fixo");  // inserted then changed: still one insert
  insertBefore("104", "422");
  remove("422");  // inserted then deleted: nothing to send
  rename("237", "Bradesco");
  remove("237");  // changed then deleted: the original is deleted
  rename("341", "Itau");
  rename("341", "Banco 341");  // changed back: unchanged again
  EXPECT_THAT(rs.delta().changes, ElementsAre(Change{Op::Delete, bank("237", "Banco 237"), {}},
                                              Change{Op::Insert, {}, bank("999", "Fundo Fixo")}));
  EXPECT_EQ(rs.changeCount(), 2);
  EXPECT_THAT(shownCodes(rs), ElementsAre("001", "999", "104", "341"));
}

TEST_F(RecordSetChanges, postWithoutChangesLeavesNothingPending) {
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Banco 001");
  rs.post();
  EXPECT_EQ(rs.changeCount(), 0);
}

TEST_F(RecordSetChanges, mergeMakesPendingChangesTheOriginals) {
  rename("104", "Caixa");
  remove("237");
  insertBefore("341", "999");
  rs.mergeChangeLog();
  EXPECT_EQ(rs.changeCount(), 0);
  EXPECT_EQ(code(rs), "999");

  rename("104", "CEF");
  EXPECT_THAT(rs.delta().changes,
              ElementsAre(Change{Op::Update, bank("104", "Caixa"), bank("104", "CEF")}));
  rs.cancelUpdates();
  EXPECT_THAT(shownCodes(rs), ElementsAre("001", "104", "999", "341"));
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Caixa");
}

TEST_F(RecordSetChanges, cancelUpdatesRestoresRowsInPlaceAndKeepsTheCurrentOne) {
  rename("104", "Caixa");
  remove("237");
  insertBefore("001", "999");
  rename("341", "Itau");
  ASSERT_TRUE(rs.locate({"CDBANCO"}, {std::string("104")}));
  rs.cancelUpdates();
  EXPECT_EQ(rs.data(), banks({"001", "104", "237", "341"}));
  EXPECT_EQ(rs.changeCount(), 0);
  EXPECT_EQ(code(rs), "104");
}

TEST_F(RecordSetChanges, cancelUpdatesOnAnInsertedCurrentRowMovesToItsNeighbour) {
  insertBefore("237", "999");
  rs.cancelUpdates();
  EXPECT_EQ(code(rs), "237");

  rs.append();
  rs.fieldByName("CDBANCO").setString("998");
  rs.post();
  rs.cancelUpdates();
  EXPECT_EQ(code(rs), "341");
}

TEST_F(RecordSetChanges, cancelUpdatesAlsoDropsAnOpenEdit) {
  rename("001", "Brasil");
  rs.edit();
  rs.fieldByName("NMBANCO").setString("BB");
  rs.cancelUpdates();
  EXPECT_EQ(rs.state(), DataSetState::Browse);
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Banco 001");
}

TEST_F(RecordSetChanges, deleteMakesTheFollowingRecordCurrentOrTheNewLast) {
  remove("104");
  EXPECT_EQ(code(rs), "237");
  remove("341");
  EXPECT_EQ(code(rs), "237");
  remove("001");
  remove("237");
  EXPECT_TRUE(rs.isEmpty());
  EXPECT_TRUE(rs.fieldByName("CDBANCO").isNull());
  EXPECT_EQ(rs.changeCount(), 4);
}

TEST_F(RecordSetChanges, unpostedInsertionIsShownAtItsPlace) {
  rs.setRecNo(2);
  rs.insert();
  rs.fieldByName("CDBANCO").setString("999");
  EXPECT_THAT(shownCodes(rs), ElementsAre("001", "999", "104", "237", "341"));
  EXPECT_EQ(rs.displayCurrentRow(), 1);
  rs.cancel();
  EXPECT_EQ(code(rs), "104");

  rs.append();
  EXPECT_THAT(shownCodes(rs), ElementsAre("001", "104", "237", "341", "<null>"));
  EXPECT_EQ(rs.recNo(), 5);
  rs.fieldByName("CDBANCO").setString("999");
  rs.post();
  EXPECT_EQ(rs.recNo(), 5);
  EXPECT_EQ(rs.recordCount(), 5);
}

TEST_F(RecordSetChanges, movingAwayPostsAModifiedRecordAndDropsAnUntouchedOne) {
  rs.insert();
  rs.next();  // untouched insertion: dropped
  EXPECT_EQ(rs.recordCount(), 4);
  EXPECT_EQ(code(rs), "104");
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Caixa");
  rs.last();
  EXPECT_EQ(rs.state(), DataSetState::Browse);
  EXPECT_EQ(rs.changeCount(), 1);
}

TEST(RecordSetNavigation, locateMatchesEveryFieldInItsOwnTerms) {
  RecordSet rs;
  declareBanks(rs);
  Packet p = banks({"001", "104", "237"});
  p.rows[1][2] = 30.0;
  p.rows[2][2] = 30.0;
  rs.setData(std::move(p));

  EXPECT_TRUE(rs.locate({"QTDIAS", "CDBANCO"}, {std::string("30,0"), std::string("237")}));
  EXPECT_EQ(code(rs), "237");
  EXPECT_TRUE(rs.locate({"QTDIAS"}, {Value{}}));
  EXPECT_EQ(code(rs), "001");
  EXPECT_FALSE(rs.locate({"CDBANCO"}, {std::string("1")}));
  EXPECT_EQ(code(rs), "001");
  EXPECT_THROW(rs.locate({"NADA"}, {Value{}}), DataError);
}

TEST(RecordSetNavigation, bofAndEofMarkTheEnds) {
  RecordSet rs;
  declareBanks(rs);
  rs.setData(banks({"001", "104"}));
  EXPECT_TRUE(rs.bof());
  EXPECT_FALSE(rs.eof());
  std::vector<std::string> walked;
  for (rs.first(); !rs.eof(); rs.next()) walked.push_back(code(rs));
  EXPECT_THAT(walked, ElementsAre("001", "104"));
  EXPECT_EQ(rs.moveBy(-5), -1);
  EXPECT_TRUE(rs.bof());
  rs.setData(banks({}));
  EXPECT_TRUE(rs.bof() && rs.eof());
  EXPECT_EQ(rs.moveBy(1), 0);
}

}  // namespace
}  // namespace qbk::data
