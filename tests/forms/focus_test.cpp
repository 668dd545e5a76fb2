// Focus moves as on a desktop: exit handler of the control being left first, a raise keeps
// the focus, and only controls a person can reach take it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/edits.h"
#include "forms/form.h"
#include "forms/pages.h"
#include "forms/static_controls.h"

namespace qbk::forms {
namespace {

class FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Edit* e : {&code, &name, &elsewhere}) {
      e->onEnter = [this](Control& c) { log.push_back("enter " + c.name()); };
      e->onExit = [this](Control& c) { log.push_back("exit " + c.name()); };
    }
  }

  Form form{"TfrmTeste", "frmTeste"};
  PageControl& pages = form.create<PageControl>("pgcPadrao");
  TabSheet& formPage = form.create<TabSheet>("tshFormulario", &pages);
  TabSheet& otherPage = form.create<TabSheet>("tshOutra", &pages);
  Panel& panel = form.create<Panel>("panDados", &formPage);
  Edit& code = form.create<Edit>("dbeCodigo", &panel);
  Edit& name = form.create<Edit>("dbeBanco", &panel);
  Label& label = form.create<Label>("lblCodigo", &panel);
  Edit& elsewhere = form.create<Edit>("dbeOutra", &otherPage);
  std::vector<std::string> log;
};

TEST_F(FocusTest, movingTheFocusRunsExitOfTheOldControlThenEnterOfTheNew) {
  ASSERT_TRUE(form.userFocus(code));
  ASSERT_TRUE(name.setFocus());
  EXPECT_EQ(form.activeControl(), &name);
  EXPECT_EQ(log, (std::vector<std::string>{"enter dbeCodigo", "exit dbeCodigo", "enter dbeBanco"}));
  log.clear();
  EXPECT_TRUE(form.userFocus(name));  // already there: nothing runs
  EXPECT_TRUE(log.empty());
}

TEST_F(FocusTest, exitHandlerThatRaisesKeepsTheFocusWhereItWas) {
  ASSERT_TRUE(form.userFocus(code));
  code.onExit = [](Control&) { throw Error("Código deve ser informado."); };
  EXPECT_THROW(form.userFocus(name), Error);
  EXPECT_EQ(form.activeControl(), &code);
  EXPECT_THROW(name.setFocus(), Error);
  EXPECT_EQ(form.activeControl(), &code);
  EXPECT_EQ(log, (std::vector<std::string>{"enter dbeCodigo"}));
}

TEST_F(FocusTest, checkThatPutsThePersonBackDoesNotRunTheExitAgain) {
  ASSERT_TRUE(form.userFocus(code));
  int exits = 0;
  code.onExit = [&](Control&) {
    ++exits;
    code.setFocus();  // a failing check focuses the offending control, then raises
    throw Error("Banco já cadastrado.");
  };
  EXPECT_THROW(form.userFocus(name), Error);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(form.activeControl(), &code);

  // A handler that sends the focus somewhere else wins over the original target.
  code.onExit = [&](Control&) { pages.setFocus(); };
  EXPECT_FALSE(form.userFocus(name));
  EXPECT_EQ(form.activeControl(), &pages);
}

TEST_F(FocusTest, personCannotReachDisabledHiddenOrCoveredControls) {
  ASSERT_TRUE(form.userFocus(pages));

  name.setEnabled(false);
  EXPECT_FALSE(form.userFocus(name));
  name.setEnabled(true);

  name.setVisible(false);
  EXPECT_FALSE(form.userFocus(name));
  name.setVisible(true);

  panel.setEnabled(false);  // a disabled container disables what it holds
  EXPECT_FALSE(form.userFocus(name));
  panel.setEnabled(true);

  EXPECT_FALSE(form.userFocus(elsewhere));  // on a page that is not in front
  EXPECT_FALSE(form.userFocus(label));      // labels never take the focus
  EXPECT_FALSE(elsewhere.isEffectivelyVisible());

  EXPECT_EQ(form.activeControl(), &pages);
  EXPECT_TRUE(log.empty()) << "a refused focus runs no exit handler";
}

TEST_F(FocusTest, programFocusOnAnotherPageFailsUntilThatPageIsInFront) {
  EXPECT_FALSE(elsewhere.setFocus());
  EXPECT_EQ(form.activeControl(), nullptr);
  pages.setActivePage(&otherPage);
  EXPECT_TRUE(elsewhere.setFocus());
  EXPECT_EQ(form.activeControl(), &elsewhere);
}

TEST_F(FocusTest, hidingOrTurningAwayTheFocusedControlDropsTheFocusSilently) {
  ASSERT_TRUE(form.userFocus(code));
  log.clear();
  code.setVisible(false);
  EXPECT_EQ(form.activeControl(), nullptr);
  code.setVisible(true);

  ASSERT_TRUE(form.userFocus(code));
  log.clear();
  pages.setActivePage(&otherPage);
  EXPECT_EQ(form.activeControl(), nullptr);
  EXPECT_TRUE(log.empty()) << "nobody left the control: no exit handler";
}

TEST_F(FocusTest, tabFollowsTabOrderAndSkipsWhatCannotTakeTheFocus) {
  name.setTabOrder(0);
  code.setTabOrder(1);
  ASSERT_TRUE(form.focusNext());  // the page control comes first, then its page's controls
  EXPECT_EQ(form.activeControl(), &pages);
  ASSERT_TRUE(form.focusNext());
  EXPECT_EQ(form.activeControl(), &name);
  ASSERT_TRUE(form.focusNext());
  EXPECT_EQ(form.activeControl(), &code);
  ASSERT_TRUE(form.focusNext());  // wraps; the edit on the hidden page is skipped
  EXPECT_EQ(form.activeControl(), &pages);
  ASSERT_TRUE(form.focusNext(true));
  EXPECT_EQ(form.activeControl(), &code);
}

}  // namespace
}  // namespace qbk::forms
