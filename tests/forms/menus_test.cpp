// Menus, shortcuts, command buttons and pop-ups.
#include "forms/menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/buttons.h"
#include "forms/edits.h"
#include "forms/form.h"
#include "forms/static_controls.h"

namespace qbk::forms {
namespace {

TEST(ShortcutText, parsesModifiersAndKeysAndPrintsThemBack) {
  EXPECT_EQ(parseShortcut("Ctrl+E"), (Shortcut{'E', Shift{.ctrl = true}}));
  EXPECT_EQ(parseShortcut(" shift + ctrl+del "),
            (Shortcut{vk::Delete, Shift{.shift = true, .ctrl = true}}));
  EXPECT_EQ(parseShortcut("F5"), (Shortcut{vk::F1 + 4, {}}));
  EXPECT_TRUE(parseShortcut("").empty());
  EXPECT_EQ(shortcutText(parseShortcut("alt+shift+ctrl+x")), "Ctrl+Shift+Alt+X");
  EXPECT_EQ(shortcutText(parseShortcut("Ctrl+Insert")), "Ctrl+Ins");
  EXPECT_THROW(parseShortcut("Ctrl+Foo"), FormError);
  EXPECT_THROW(parseShortcut("Hyper+E"), FormError);
  EXPECT_THROW(parseShortcut("Ctrl+"), FormError);
}

class MenuTest : public ::testing::Test {
 protected:
  MenuItem& item(const std::string& name, Control& parent, const std::string& shortcut = {}) {
    MenuItem& m = form.create<MenuItem>(name, &parent);
    m.setShortcut(shortcut);
    m.onClick = [this](MenuItem& clicked) { clicks.push_back(clicked.name()); };
    return m;
  }

  Form form;
  MainMenu& menu = form.create<MainMenu>("mnuPrincipal");
  MenuItem& operation = item("mnuOperacao", menu);
  MenuItem& maintenance = item("mnuManutencao", menu);
  MenuItem& separator = item("N1", maintenance);
  MenuItem& editModel = item("mnuEdit", maintenance, "Ctrl+E");
  MenuItem& include = item("mnuIncluir", maintenance, "Ins");
  MenuItem& hiddenTwin = item("mnuEditOculto", operation, "Ctrl+E");
  std::vector<std::string> clicks;
};

TEST_F(MenuTest, shortcutClicksTheUsableItemThatCarriesIt) {
  hiddenTwin.setEnabled(false);  // earlier in the menu, but a person could not choose it
  separator.setCaption("-");
  EXPECT_TRUE(form.shortcut('e', Shift{.ctrl = true}));
  EXPECT_TRUE(form.shortcut(vk::Insert));
  EXPECT_FALSE(form.shortcut('E'));  // no Ctrl: no item
  EXPECT_EQ(clicks, (std::vector<std::string>{"mnuEdit", "mnuIncluir"}));
}

TEST_F(MenuTest, disabledItemsOrMenusAreNotClickedByShortcutOrPerson) {
  hiddenTwin.setVisible(false);
  editModel.setEnabled(false);
  EXPECT_FALSE(form.shortcut('E', Shift{.ctrl = true}));
  editModel.setEnabled(true);
  maintenance.setEnabled(false);  // the menu above it
  EXPECT_FALSE(form.shortcut('E', Shift{.ctrl = true}));
  EXPECT_FALSE(include.userClick());
  maintenance.setEnabled(true);

  separator.setCaption("-");
  EXPECT_TRUE(separator.isSeparator());
  EXPECT_FALSE(separator.userClick());
  EXPECT_TRUE(clicks.empty());

  editModel.setEnabled(false);
  editModel.click();  // the program may choose it anyway
  EXPECT_EQ(clicks, (std::vector<std::string>{"mnuEdit"}));
}

TEST_F(MenuTest, buttonTakesTheEnabledStateOfItsMenuItemWhenToldTo) {
  CommandButton& button = form.create<CommandButton>("sbtEdit");
  button.setMenuItem(&editModel);
  editModel.setEnabled(false);
  EXPECT_TRUE(button.enabled()) << "following is the screen's decision, not automatic";
  button.followMenuItem();
  EXPECT_FALSE(button.enabled());
  editModel.setEnabled(true);
  button.followMenuItem();
  EXPECT_TRUE(button.enabled());
}

TEST(CommandButton, personClicksOnlyUsableButtonsAndNeverMovesTheFocus) {
  Form form;
  Edit& edit = form.create<Edit>("dbeCodigo");
  int exits = 0;
  edit.onExit = [&](Control&) { ++exits; };
  Panel& bar = form.create<Panel>("panMenu");
  CommandButton& button = form.create<CommandButton>("sbtConfirmar", &bar);
  int clicks = 0;
  button.onClick = [&](CommandButton&) { ++clicks; };
  ASSERT_TRUE(form.userFocus(edit));

  EXPECT_TRUE(button.userClick());
  button.setEnabled(false);
  EXPECT_FALSE(button.userClick());
  button.setEnabled(true);
  bar.setVisible(false);
  EXPECT_FALSE(button.userClick());
  button.click();  // the program clicks whatever the state

  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(form.activeControl(), &edit);
  EXPECT_EQ(exits, 0);
}

TEST(PopupMenu, popupRecordsWhereAndTellsObservers) {
  Form form;
  PopupMenu& popup = form.create<PopupMenu>("pmnEditModelo");
  form.create<MenuItem>("mnuModCheque", &popup);
  int shown = 0;
  auto sub = popup.observe([&](Control&, Property p) {
    if (p == Property::Popup) ++shown;
  });
  popup.popup(120, 48);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(popup.popupCount(), 1);
  EXPECT_EQ(popup.popupX(), 120);
  EXPECT_EQ(popup.popupY(), 48);
  EXPECT_EQ(popup.items().size(), 1u);
}

}  // namespace
}  // namespace qbk::forms
