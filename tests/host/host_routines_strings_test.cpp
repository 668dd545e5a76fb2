// Emptiness, code normalisation and the blank fields a save reports as null.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/record_set.h"
#include "host/strings.h"

namespace qbk::host {
namespace {

using data::FieldType;
using data::Packet;
using data::RecordSet;
using data::Value;

TEST(EmptyString, blanksAreNoContent) {
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("   "));
  EXPECT_TRUE(EmptyString(" \t "));
  EXPECT_FALSE(EmptyString(" 0 "));
  EXPECT_FALSE(EmptyString("/dda"));
}

TEST(Ajusta, leftFillsWithZerosToTheWidth) {
  EXPECT_EQ(Ajusta("1", 3), "001");
  EXPECT_EQ(Ajusta("01", 3), "001");
  EXPECT_EQ(Ajusta("1", 2), "01");
  EXPECT_EQ(Ajusta(" 7 ", 3), "007");
  EXPECT_EQ(Ajusta("999", 3), "999");
  EXPECT_EQ(Ajusta("A", 3), "00A");
}

TEST(Ajusta, nothingTypedStaysNothing) {
  EXPECT_EQ(Ajusta("", 3), "");
  EXPECT_EQ(Ajusta("   ", 3), "");  // an entry mask "999;0; " shows three blanks
}

TEST(Ajusta, aCodeAtOrOverTheWidthIsOnlyTrimmed) {
  EXPECT_EQ(Ajusta("1234", 3), "1234");
  EXPECT_EQ(Ajusta(" 12 ", 2), "12");
  // Width counts characters, not bytes.
  EXPECT_EQ(Ajusta("é", 3), "00é");
  EXPECT_EQ(Ajusta("éé", 2), "éé");
}

class SetaCampoNull : public ::testing::Test {
 protected:
  void SetUp() override {
    rs.addField("CDBANCO", FieldType::String, 3);
    rs.addField("DSARQCHEQUE", FieldType::String, 100);
    rs.addField("CDBANCOCONV", FieldType::String, 3);
    rs.addField("DSARQLOGMAR", FieldType::String, 250);
    rs.addField("QTDIAPRORCNT", FieldType::Float);
    Packet p;
    p.fields = rs.fieldDefs();
    p.rows.push_back({Value{"001"}, Value{""}, Value{"   "}, Value{"/logo.bmp"}, Value{0.0}});
    rs.setData(p);
  }
  RecordSet rs{"cdsBanco"};
};

TEST_F(SetaCampoNull, blankTextsBecomeNullAndEverythingElseStays) {
  rs.edit();
  Seta_Campo_Null(rs);
  EXPECT_EQ(rs.fieldByName("CDBANCO").asString(), "001");
  EXPECT_TRUE(rs.fieldByName("DSARQCHEQUE").isNull());
  EXPECT_TRUE(rs.fieldByName("CDBANCOCONV").isNull());
  EXPECT_EQ(rs.fieldByName("DSARQLOGMAR").asString(), "/logo.bmp");
  EXPECT_FALSE(rs.fieldByName("QTDIAPRORCNT").isNull());  // zero days is a value

  rs.post();
  rs.mergeChangeLog();
  EXPECT_TRUE(rs.fieldByName("DSARQCHEQUE").isNull());
}

TEST_F(SetaCampoNull, worksOnAnInsertedRecord) {
  rs.append();
  rs.fieldByName("CDBANCO").setString("002");
  rs.fieldByName("DSARQCHEQUE").setString("  ");
  Seta_Campo_Null(rs);
  EXPECT_TRUE(rs.fieldByName("DSARQCHEQUE").isNull());
  EXPECT_EQ(rs.fieldByName("CDBANCO").asString(), "002");
}

TEST_F(SetaCampoNull, needsEditOrInsertEvenWhenNothingIsBlank) {
  EXPECT_THROW(Seta_Campo_Null(rs), data::DataError);
  EXPECT_EQ(rs.fieldByName("DSARQCHEQUE").asString(), "");
}

}  // namespace
}  // namespace qbk::host
