// Grids and navigators over a real record set.
#include "forms/grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/form.h"
#include "forms/navigator.h"

namespace qbk::forms {
namespace {

using data::DataSetState;
using data::FieldType;

class GridTest : public ::testing::Test {
 protected:
  GridTest() {
    instructions.addField("CDINSTCOBR", FieldType::String, 2).displayLabel = "Código";
    instructions.addField("NMINSTCOBR", FieldType::String, 100).displayLabel = "Nome";
    instructions.addField("CDBANCO", FieldType::String, 3).visible = false;
    instructions.fieldByName("CDINSTCOBR").tag = 1;  // key field
    instructions.setData(
        data::Packet{instructions.fieldDefs(),
                     {{std::string("01"), std::string("Protestar"), std::string("001")},
                      {std::string("02"), std::string("Não protestar"), std::string("001")}}});
    grid.setDataSource(&source);
    grid.setColumns({{"CDINSTCOBR", "", 64, true}, {"NMINSTCOBR", "", 350, true}});
  }

  std::string stored(const char* field) { return instructions.fieldByName(field).asString(); }

  data::RecordSet instructions{"cdsInstruCobr"};
  data::DataSource source{"dtsInstruCobr", &instructions};
  Form form;
  Grid& grid = form.create<Grid>("dbgInstruCobr");
};

TEST_F(GridTest, showsItsColumnsWithTheFieldsLabelsAndTheRecordSetsRows) {
  EXPECT_EQ(grid.columnTitle(0), "Código");
  EXPECT_EQ(grid.columnTitle(1), "Nome");
  EXPECT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.cellText(1, 1), "Não protestar");
  instructions.append();  // an unposted row shows too
  EXPECT_EQ(grid.rowCount(), 3);
  EXPECT_EQ(grid.currentRow(), 2);

  grid.setColumns({});  // without listed columns: every visible field
  EXPECT_EQ(grid.columnCount(), 2);
  EXPECT_EQ(grid.columnFieldName(1), "NMINSTCOBR");
}

TEST_F(GridTest, typingEditsTheSelectedCellAndEnterWritesIt) {
  ASSERT_TRUE(grid.setSelectedField("NMINSTCOBR"));
  EXPECT_EQ(grid.typeText("Baixar"), 6);
  EXPECT_EQ(instructions.state(), DataSetState::Edit);
  EXPECT_TRUE(grid.editorOpen());
  EXPECT_EQ(grid.cellText(0, 1), "Baixar") << "the first character replaces the cell";
  EXPECT_EQ(stored("NMINSTCOBR"), "Protestar");
  EXPECT_TRUE(grid.typeKey(chars::Enter));
  EXPECT_EQ(stored("NMINSTCOBR"), "Baixar");

  grid.typeText("X");
  EXPECT_TRUE(grid.keyDown(vk::Escape));  // gives the typed text up
  EXPECT_EQ(stored("NMINSTCOBR"), "Baixar");
}

TEST_F(GridTest, movingToAnotherRecordWritesTheCellFirst) {
  grid.setSelectedIndex(1);
  grid.typeText("Baixar");
  EXPECT_TRUE(grid.keyDown(vk::Down));
  EXPECT_EQ(instructions.recNo(), 2);
  EXPECT_EQ(instructions.state(), DataSetState::Browse);
  instructions.first();
  EXPECT_EQ(stored("NMINSTCOBR"), "Baixar");
}

TEST_F(GridTest, swallowedOrFilteredCharactersNeverReachTheCell) {
  // The key-field filter of the code tables: only Tab and Enter pass outside an insertion.
  grid.onKeyPress = [](Grid& g, char32_t& key) {
    const bool keyField = g.selectedField() && (g.selectedField()->tag & 1);
    if (keyField && g.dataSet()->state() != DataSetState::Insert && key != 9 && key != 13) key = 0;
  };
  EXPECT_FALSE(grid.typeKey(U'9'));
  EXPECT_EQ(instructions.state(), DataSetState::Browse);

  instructions.append();
  EXPECT_TRUE(grid.typeKey(U'9'));
  EXPECT_EQ(grid.editorText(), "9");

  grid.onKeyPress = nullptr;
  GridOptions rows = grid.options();
  rows.rowSelect = true;
  grid.setOptions(rows);
  EXPECT_FALSE(grid.editorOpen());
  EXPECT_FALSE(grid.typeKey(U'9')) << "whole-row selection has no cell editing";
}

TEST_F(GridTest, ctrlDeleteDeletesOnlyWhenNotSwallowedAndConfirmed) {
  EXPECT_FALSE(grid.keyDown(vk::Delete, Shift{.ctrl = true})) << "no one answered the question";
  grid.confirmDeletion = [](Grid&) { return true; };
  grid.onKeyDown = [](Grid&, int& key, Shift) {
    if (key == vk::Delete) key = 0;
  };
  EXPECT_FALSE(grid.keyDown(vk::Delete, Shift{.ctrl = true}));
  EXPECT_FALSE(grid.keyDown(vk::Delete));
  EXPECT_EQ(instructions.recordCount(), 2);

  grid.onKeyDown = nullptr;
  EXPECT_FALSE(grid.keyDown(vk::Delete)) << "Delete alone does not delete";
  EXPECT_TRUE(grid.keyDown(vk::Delete, Shift{.ctrl = true}));
  EXPECT_EQ(instructions.recordCount(), 1);
}

TEST_F(GridTest, columnExitSeesTheColumnBeingLeftWithItsCellWritten) {
  std::vector<std::string> seen;
  grid.onColExit = [&](Grid& g) {
    seen.push_back(g.selectedField()->name() + "=" + g.selectedField()->asString());
  };
  instructions.append();
  grid.typeText("3");
  EXPECT_TRUE(grid.keyDown(vk::Tab));
  EXPECT_EQ(grid.selectedIndex(), 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"CDINSTCOBR=3"}));

  // A check that refuses keeps the column.
  grid.onColExit = nullptr;
  grid.setSelectedIndex(0);
  grid.onColExit = [](Grid& g) {
    if (g.selectedField()->name() == "CDINSTCOBR") throw Error("Instrução já cadastrada.");
  };
  EXPECT_THROW(grid.keyDown(vk::Tab), Error);
  EXPECT_EQ(grid.selectedIndex(), 0);
  EXPECT_FALSE(grid.keyDown(vk::Tab, Shift{.shift = true})) << "no column before the first";
}

class NavigatorTest : public GridTest {
 protected:
  Navigator& nav = form.create<Navigator>("dbnPadrao");
  std::vector<std::string> clicks;
  void SetUp() override {
    nav.setDataSource(&source);
    nav.onClick = [this](Navigator&, NavButton) {
      clicks.push_back(std::to_string(instructions.recNo()));
    };
  }
};

TEST_F(NavigatorTest, buttonsActThenReportAndRefuseWhatCannotBeDone) {
  EXPECT_FALSE(nav.press(NavButton::Prior)) << "already on the first record";
  EXPECT_TRUE(nav.press(NavButton::Next));
  EXPECT_FALSE(nav.press(NavButton::Last));
  EXPECT_FALSE(nav.press(NavButton::Post)) << "nothing is being edited";
  nav.setVisibleButtons({NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last});
  EXPECT_FALSE(nav.press(NavButton::Edit)) << "a hidden button cannot be pressed";
  nav.setEnabled(false);
  EXPECT_FALSE(nav.press(NavButton::First));
  nav.setEnabled(true);
  EXPECT_TRUE(nav.press(NavButton::First));
  EXPECT_EQ(clicks, (std::vector<std::string>{"2", "1"}));
}

TEST_F(NavigatorTest, deleteNeedsAConfirmation) {
  EXPECT_FALSE(nav.press(NavButton::Delete));
  nav.confirmDeletion = [](Navigator&) { return false; };
  EXPECT_FALSE(nav.press(NavButton::Delete));
  nav.setConfirmDelete(false);
  EXPECT_TRUE(nav.press(NavButton::Delete));
  EXPECT_EQ(instructions.recordCount(), 1);
}

TEST(GridPages, pageKeysMoveByTheRowsShownAndCtrlHomeEndToTheEnds) {
  data::RecordSet rs{"cdsBanco"};
  rs.addField("CDBANCO", FieldType::String, 3);
  data::Packet p{rs.fieldDefs(), {}};
  for (int i = 0; i < 50; ++i) p.rows.push_back({std::to_string(100 + i)});
  rs.setData(std::move(p));
  data::DataSource source{"dtsPadrao", &rs};
  Form form;
  Grid& grid = form.create<Grid>("dbgPadrao");
  grid.setDataSource(&source);
  grid.setHeight(Grid::kRowHeight * 11);  // a title row and ten rows

  EXPECT_TRUE(grid.keyDown(vk::PageDown));
  EXPECT_EQ(grid.currentRow(), 10);
  EXPECT_TRUE(grid.keyDown(vk::End, {.ctrl = true}));
  EXPECT_EQ(grid.currentRow(), 49);
  EXPECT_FALSE(grid.keyDown(vk::PageDown)) << "already on the last row";
  EXPECT_TRUE(grid.keyDown(vk::PageUp));
  EXPECT_EQ(grid.currentRow(), 39);
  EXPECT_FALSE(grid.keyDown(vk::Home)) << "without Ctrl, Home is the cell's";
  EXPECT_TRUE(grid.keyDown(vk::Home, {.ctrl = true}));
  EXPECT_EQ(grid.currentRow(), 0);
}

}  // namespace
}  // namespace qbk::forms
