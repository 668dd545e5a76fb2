// Field-bound controls against a real record set: what they show, when a person's input
// puts the set into edit, and when it reaches the field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/form.h"
#include "forms/static_controls.h"

namespace qbk::forms {
namespace {

using data::DataSetState;
using data::FieldType;

class BoundControlsTest : public ::testing::Test {
 protected:
  BoundControlsTest() {
    banks.addField("CDBANCO", FieldType::String, 3);
    banks.addField("NMBANCO", FieldType::String, 40);
    banks.addField("IDATIVO", FieldType::String, 1);
    banks.addField("IDLAYOUTCNAB", FieldType::String, 3);
    banks.addField("IDCARTCOBR", FieldType::String, 1);
    banks.addField("VLTAXA", FieldType::Float);
    data::Packet packet;
    packet.fields = banks.fieldDefs();
    packet.rows = {
        {std::string("001"), std::string("Banco do Brasil"), std::string("S"), std::string("240"),
         std::string("1"), 1.5},
        {std::string("399"), std::string("HSBC"), std::string("N"), std::string("266"),
         std::string("9"), 2.0},
    };
    banks.setData(packet);
  }

  data::RecordSet banks{"cdsBanco"};
  data::DataSource source{"dtsPadrao", &banks};
  Form form;
};

TEST_F(BoundControlsTest, editShowsTheCurrentRecordAndFollowsScrollAndClose) {
  DBEdit& name = form.create<DBEdit>("dbeBanco");
  name.setDataSource(&source);
  name.setDataField("NMBANCO");
  EXPECT_EQ(name.text(), "Banco do Brasil");
  banks.next();
  EXPECT_EQ(name.text(), "HSBC");
  banks.close();
  EXPECT_EQ(name.text(), "");
}

TEST_F(BoundControlsTest, typingPutsTheSetIntoEditAndLeavingWritesTheFieldBeforeTheExitHandler) {
  DBEdit& name = form.create<DBEdit>("dbeBanco");
  Edit& next = form.create<Edit>("dbeOutra");
  name.setDataSource(&source);
  name.setDataField("NMBANCO");
  std::string seenOnExit;
  name.onExit = [&](Control&) { seenOnExit = banks.fieldByName("NMBANCO").asString(); };

  name.setSelStart(15);
  EXPECT_EQ(name.typeText(" S.A."), 5);
  EXPECT_EQ(banks.state(), DataSetState::Edit);
  EXPECT_TRUE(name.modified());
  EXPECT_EQ(banks.fieldByName("NMBANCO").asString(), "Banco do Brasil") << "not before leaving";

  ASSERT_TRUE(next.setFocus());
  EXPECT_EQ(seenOnExit, "Banco do Brasil S.A.");
  EXPECT_FALSE(name.modified());
}

TEST_F(BoundControlsTest, typedTextReachesTheFieldWhenThePostAsks) {
  DBEdit& name = form.create<DBEdit>("dbeBanco");
  name.setDataSource(&source);
  name.setDataField("NMBANCO");
  std::string seenBeforePost;
  banks.beforePost = [&](data::RecordSet& rs) {
    seenBeforePost = rs.fieldByName("NMBANCO").asString();
  };
  name.setText("");
  name.typeText("BB");
  banks.post();  // the focus never left the edit
  EXPECT_EQ(seenBeforePost, "BB");
  EXPECT_EQ(banks.fieldByName("NMBANCO").asString(), "BB");
  EXPECT_EQ(name.text(), "BB");
}

TEST_F(BoundControlsTest, keysAreDroppedWhenTheSetCannotBeEditedByTyping) {
  DBEdit& name = form.create<DBEdit>("dbeBanco");
  name.setDataSource(&source);
  name.setDataField("NMBANCO");
  source.autoEdit = false;
  EXPECT_FALSE(name.typeKey(U'x'));
  EXPECT_EQ(banks.state(), DataSetState::Browse);
  EXPECT_EQ(name.text(), "Banco do Brasil");

  source.autoEdit = true;
  banks.setData(data::Packet{banks.fieldDefs(), {}});
  EXPECT_FALSE(name.typeKey(U'x')) << "an empty set has no record to change";
  EXPECT_EQ(banks.state(), DataSetState::Browse);

  DBEdit& unbound = form.create<DBEdit>("dbeSemCampo");
  unbound.setDataSource(&source);
  unbound.setDataField("NAOEXISTE");
  EXPECT_FALSE(unbound.typeKey(U'x'));
}

TEST_F(BoundControlsTest, fieldSizeLimitsTypingAndEscapeGivesTheTypedTextUp) {
  DBEdit& code = form.create<DBEdit>("dbeCodigo");
  code.setDataSource(&source);
  code.setDataField("CDBANCO");
  EXPECT_FALSE(code.typeKey(U'4')) << "three characters already";
  code.typeKey(chars::Backspace);
  EXPECT_EQ(code.text(), "00");
  code.typeKey(chars::Escape);
  EXPECT_EQ(code.text(), "001");
  EXPECT_FALSE(code.modified());
}

TEST_F(BoundControlsTest, textTheFieldRefusesKeepsTheFocusOnTheEdit) {
  DBEdit& rate = form.create<DBEdit>("dbeTaxa");
  Edit& next = form.create<Edit>("dbeOutra");
  rate.setDataSource(&source);
  rate.setDataField("VLTAXA");
  rate.setText("");
  rate.typeText("abc");
  EXPECT_THROW(next.setFocus(), data::DataError);
  EXPECT_EQ(form.activeControl(), &rate);
  EXPECT_EQ(rate.text(), "abc");
  banks.cancel();
  EXPECT_EQ(rate.text(), "1.5");
  EXPECT_TRUE(next.setFocus());
}

TEST_F(BoundControlsTest, checkBoxRoundTripsItsValues) {
  DBCheckBox& active = form.create<DBCheckBox>("dbcAtivo");
  active.setDataSource(&source);
  active.setDataField("IDATIVO");
  std::vector<bool> clicks;
  active.onClick = [&](CheckBox& b) { clicks.push_back(b.checked()); };
  EXPECT_TRUE(active.checked());

  EXPECT_TRUE(active.userClick());
  EXPECT_EQ(banks.state(), DataSetState::Edit);
  EXPECT_EQ(banks.fieldByName("IDATIVO").asString(), "N");
  banks.post();
  banks.next();  // "N" on the second bank too: no change, no click
  banks.first();
  EXPECT_FALSE(active.checked());
  EXPECT_EQ(clicks, (std::vector<bool>{false}));

  source.autoEdit = false;
  EXPECT_FALSE(active.userClick());
  EXPECT_FALSE(active.checked());
  EXPECT_EQ(banks.state(), DataSetState::Browse);
}

TEST_F(BoundControlsTest, radioGroupStoresTheValueBesideThePickedItem) {
  DBRadioGroup& layout = form.create<DBRadioGroup>("dbrgLayCnab");
  layout.setItems({"Arquivo de 240 posições", "Arquivo de 266 posições"});
  layout.setValues({"240", "266"});
  layout.setDataSource(&source);
  layout.setDataField("IDLAYOUTCNAB");
  std::vector<std::string> seen;
  layout.onChange = [&](RadioGroup& g) {
    seen.push_back(std::to_string(g.itemIndex()) + ":" +
                   banks.fieldByName("IDLAYOUTCNAB").asString());
  };
  EXPECT_EQ(layout.itemIndex(), 0);

  EXPECT_TRUE(layout.userPick(1));
  EXPECT_EQ(banks.state(), DataSetState::Edit);
  banks.fieldByName("IDLAYOUTCNAB").setString("999");  // no item has that value
  EXPECT_EQ(layout.itemIndex(), -1);
  banks.cancel();
  EXPECT_EQ(layout.itemIndex(), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"1:266", "-1:999", "0:240"}))
      << "the change handler sees the field already written, and runs for data changes too";
}

TEST_F(BoundControlsTest, comboBoxShowsTheDisplayTextAndWritesByPickedPosition) {
  const std::vector<std::string> entries = {"", "Cobrança Simples", "Cobrança Vinculada"};
  data::Field& wallet = banks.fieldByName("IDCARTCOBR");
  wallet.onGetText = [&](const data::Field& f) {
    const std::string code = f.asString();
    return code == "1" ? entries[1] : code == "2" ? entries[2] : std::string();
  };
  DBComboBox& combo = form.create<DBComboBox>("dbcTpCarteira");
  combo.setItems(entries);
  combo.setDataSource(&source);
  combo.setDataField("IDCARTCOBR");
  EXPECT_EQ(combo.itemIndex(), 1);
  banks.next();  // "9" shows as the empty entry
  EXPECT_EQ(combo.itemIndex(), 0);

  std::vector<int> picked;
  combo.onPick = [&](DBComboBox& c, int index) {
    picked.push_back(index);
    c.field()->setString(index == 0 ? std::string() : std::to_string(index));
  };
  int changes = 0;
  combo.onChange = [&](ComboBox&) { ++changes; };
  EXPECT_TRUE(combo.userPick(2));
  EXPECT_EQ(wallet.asString(), "2");
  EXPECT_EQ(combo.text(), "Cobrança Vinculada");
  EXPECT_EQ(picked, (std::vector<int>{2}));
  EXPECT_EQ(changes, 1);

  combo.onPick = nullptr;  // without a hook the entry's text goes through setText
  wallet.onSetText = [](data::Field& f, const std::string& text) {
    f.setString(text.empty() ? "" : "1");
  };
  EXPECT_TRUE(combo.userPick(1));
  EXPECT_EQ(wallet.asString(), "1");
}

TEST_F(BoundControlsTest, textLabelFollowsTheCurrentRecord) {
  DBText& caption = form.create<DBText>("dbtNome");
  caption.setDataSource(&source);
  caption.setDataField("NMBANCO");
  EXPECT_EQ(caption.caption(), "Banco do Brasil");
  banks.last();
  EXPECT_EQ(caption.caption(), "HSBC");
}

TEST(BoundControlsLifetime, aRecordSetDestroyedFirstIsForgotten) {
  Form form;
  DBEdit& edit = form.create<DBEdit>("dbeBanco");
  {
    data::RecordSet banks("cdsBanco");
    banks.addField("NMBANCO", FieldType::String, 40);
    data::DataSource source("dtsPadrao", &banks);
    edit.setDataSource(&source);
    edit.setDataField("NMBANCO");
    banks.setData(data::Packet{banks.fieldDefs(), {{std::string("HSBC")}}});
    EXPECT_EQ(edit.text(), "HSBC");
  }
  EXPECT_EQ(edit.text(), "");
  EXPECT_FALSE(edit.typeKey(U'x'));
}

}  // namespace
}  // namespace qbk::forms
