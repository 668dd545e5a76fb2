// Typing into edits, and the click/change rules of the plain choice controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/form.h"
#include "forms/static_controls.h"

namespace qbk::forms {
namespace {

// The kind of filter the mask edits use: "A" becomes "a", which is kept only after the "-".
void maskFilter(Edit& edit, char32_t& key) {
  if (key == U'A') key = U'a';
  const auto dash = edit.text().find('-');
  if (key == U'a' && (dash == std::string::npos || edit.selStart() < static_cast<int>(dash) + 1)) {
    key = 0;
  }
}

TEST(EditTyping, keyFilterSeesTheCaretAndMayChangeOrDropTheKey) {
  Form form;
  Edit& mask = form.create<Edit>("dbeMascaraCC");
  mask.onKeyPress = maskFilter;
  mask.setText("9999-");
  mask.setSelStart(2);
  EXPECT_FALSE(mask.typeKey(U'a'));  // caret before the "-"
  EXPECT_EQ(mask.text(), "9999-");
  mask.setSelStart(5);
  EXPECT_TRUE(mask.typeKey(U'A'));
  EXPECT_EQ(mask.text(), "9999-a");
  EXPECT_EQ(mask.selStart(), 6);
}

TEST(EditTyping, insertsAtTheCaretWithinMaxLengthCountingCharacters) {
  Form form;
  Edit& edit = form.create<Edit>("dbeNome");
  edit.setMaxLength(5);
  EXPECT_EQ(edit.typeText("Ação"), 4);
  edit.setSelStart(1);
  EXPECT_TRUE(edit.typeKey(U'É'));
  EXPECT_EQ(edit.text(), "AÉção");
  EXPECT_FALSE(edit.typeKey(U'x')) << "five characters, although more bytes";
  EXPECT_TRUE(edit.typeKey(chars::Backspace));
  EXPECT_EQ(edit.text(), "Ação");
  EXPECT_EQ(edit.selStart(), 1);
  edit.setSelStart(0);
  EXPECT_FALSE(edit.typeKey(chars::Backspace));
  EXPECT_FALSE(edit.typeKey(chars::Enter)) << "control keys are no text";
  EXPECT_EQ(edit.text(), "Ação");
}

TEST(EditTyping, readOnlyOrUnreachableEditsKeepTheirText) {
  Form form;
  Edit& edit = form.create<Edit>("dbeDir");
  int filtered = 0;
  edit.onKeyPress = [&](Edit&, char32_t&) { ++filtered; };
  edit.setReadOnly(true);
  EXPECT_FALSE(edit.typeKey(U'x'));
  EXPECT_EQ(filtered, 1) << "the key still reaches the filter";
  edit.setReadOnly(false);
  edit.setEnabled(false);
  EXPECT_FALSE(edit.typeKey(U'x'));
  EXPECT_EQ(filtered, 1) << "a disabled edit never gets the key";
  EXPECT_EQ(edit.text(), "");
}

TEST(EditTyping, typingTakesTheFocusAndIsStoppedByAFailingExitElsewhere) {
  Form form;
  Edit& code = form.create<Edit>("dbeCodigo");
  Edit& name = form.create<Edit>("dbeBanco");
  ASSERT_TRUE(code.setFocus());
  code.onExit = [](Control&) { throw Error("Código deve ser informado."); };
  EXPECT_THROW(name.typeKey(U'x'), Error);
  EXPECT_EQ(name.text(), "");
  code.onExit = nullptr;
  EXPECT_TRUE(name.typeKey(U'x'));
  EXPECT_TRUE(name.focused());
}

TEST(EditTyping, onChangeRunsForEveryRealChangeOfTheText) {
  Form form;
  Edit& edit = form.create<Edit>("dbeCdTpBaixa");
  std::vector<std::string> seen;
  edit.onChange = [&](Edit& e) { seen.push_back(e.text()); };
  edit.setText("01");
  edit.setText("01");
  edit.typeKey(U'2');
  EXPECT_EQ(seen, (std::vector<std::string>{"01", "012"}));
}

TEST(CheckBox, clickHandlerRunsForEveryChangeByPersonOrProgram) {
  Form form;
  CheckBox& box = form.create<CheckBox>("chkVerifAgen");
  std::vector<bool> clicks;
  box.onClick = [&](CheckBox& b) { clicks.push_back(b.checked()); };
  EXPECT_TRUE(box.userClick());
  box.setChecked(true);  // no change: nothing
  box.setChecked(false);
  box.setEnabled(false);
  EXPECT_FALSE(box.userClick());
  EXPECT_EQ(clicks, (std::vector<bool>{true, false}));
}

TEST(RadioButton, tickingOneUnticksItsSiblingsOnly) {
  Form form;
  Control& group = form.create<GroupBox>("grbBancos");
  RadioButton& all = form.create<RadioButton>("rbtClienteTodos", &group);
  RadioButton& list = form.create<RadioButton>("rbtBancoLista", &group);
  RadioButton& outside = form.create<RadioButton>("rbtFora");
  std::vector<std::string> clicks;
  for (RadioButton* r : {&all, &list, &outside}) {
    r->onClick = [&](RadioButton& b) { clicks.push_back(b.name()); };
  }
  outside.setChecked(true);
  all.setChecked(true);
  EXPECT_TRUE(list.userClick());
  EXPECT_FALSE(all.checked());
  EXPECT_TRUE(list.checked());
  EXPECT_TRUE(outside.checked()) << "another parent, another group";
  EXPECT_EQ(clicks, (std::vector<std::string>{"rbtFora", "rbtClienteTodos", "rbtBancoLista"}));
}

TEST(ComboBox, onlyAPersonsPickFiresChange) {
  Form form;
  ComboBox& combo = form.create<ComboBox>("cbbFmCadastro");
  combo.setItems({"Com Registro", "Sem Registro"});
  int changes = 0;
  combo.onChange = [&](ComboBox&) { ++changes; };
  combo.setItemIndex(1);
  EXPECT_EQ(combo.text(), "Sem Registro");
  combo.setText("nenhum");
  EXPECT_EQ(combo.itemIndex(), -1);
  EXPECT_EQ(changes, 0);
  EXPECT_THROW(combo.setItemIndex(2), FormError);

  EXPECT_TRUE(combo.userPick(0));
  EXPECT_FALSE(combo.userPick(5));
  EXPECT_TRUE(combo.typeKey(U's'));  // a typed letter picks the next entry starting with it
  EXPECT_EQ(combo.itemIndex(), 1);
  EXPECT_EQ(changes, 2);
}

TEST(RadioGroup, changeRunsWheneverThePickedItemChanges) {
  Form form;
  RadioGroup& group = form.create<RadioGroup>("rdgLayout");
  group.setItems({"Arquivo de 240 posições", "Arquivo de 266 posições"});
  std::vector<int> seen;
  group.onChange = [&](RadioGroup& g) { seen.push_back(g.itemIndex()); };
  group.setItemIndex(0);
  EXPECT_TRUE(group.userPick(1));
  group.setItemIndex(1);
  group.setItems({"Único"});  // the picked item is gone
  EXPECT_EQ(seen, (std::vector<int>{0, 1, -1}));
}

}  // namespace
}  // namespace qbk::forms
