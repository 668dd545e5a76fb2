// What observers (the renderer) hear: real changes only, nothing after detaching, one
// notification when nested update locks are released.
#include <gtest/gtest.h>

#include <vector>

#include "forms/edits.h"
#include "forms/form.h"
#include "forms/static_controls.h"
#include "support/expect_throw.h"

namespace qbk::forms {
namespace {

TEST(ControlNotification, firesOnlyOnRealChangesNamingTheProperty) {
  Form form;
  Label& label = form.create<Label>("lblCodigo");
  std::vector<Property> heard;
  auto sub = label.observe([&](Control&, Property p) { heard.push_back(p); });

  label.setCaption("Código");
  label.setCaption("Código");
  label.setEnabled(true);  // already enabled
  label.setEnabled(false);
  label.setBounds(0, 0, 40, 0);  // only the width differs
  label.setBold(true);
  label.setTag(0);

  EXPECT_EQ(heard, (std::vector<Property>{Property::Caption, Property::Enabled, Property::Width,
                                          Property::Bold}));
}

TEST(ControlNotification, detachedObserversHearNothingMoreEvenMidNotification) {
  Form form;
  Edit& edit = form.create<Edit>("dbeCodigo");
  int first = 0;
  int second = 0;
  Subscription secondSub;
  auto firstSub = edit.observe([&](Control&, Property) {
    ++first;
    secondSub.reset();  // detaching another observer while notifications run
  });
  secondSub = edit.observe([&](Control&, Property) { ++second; });

  edit.setHint("Código");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);

  firstSub.reset();
  edit.setHint("Outro");
  EXPECT_EQ(first, 1);
  {
    auto scoped = edit.observe([&](Control&, Property) { ++second; });
  }  // a subscription going out of scope detaches
  edit.setHint("Mais um");
  EXPECT_EQ(second, 0);
}

TEST(UpdateLock, nestedLocksNotifyOnceWhenTheOutermostIsReleased) {
  Form form;
  int unlocked = 0;
  auto sub = form.observe([&](Form&, FormEvent e) {
    if (e == FormEvent::UpdatesUnlocked) ++unlocked;
  });

  form.lockUpdates();
  {
    Form::UpdateLock inner(form);
    EXPECT_TRUE(form.updatesLocked());
  }
  EXPECT_EQ(unlocked, 0);
  EXPECT_TRUE(form.updatesLocked());
  form.unlockUpdates();
  EXPECT_EQ(unlocked, 1);
  EXPECT_FALSE(form.updatesLocked());

  // A handler that raises inside a scoped lock still releases it.
  try {
    Form::UpdateLock lock(form);
    throw Error("falhou");
  } catch (const Error&) {
  }
  EXPECT_FALSE(form.updatesLocked());
  EXPECT_EQ(unlocked, 2);

  EXPECT_THROW(form.unlockUpdates(), FormError);
}

TEST(Repaint, isCountedAndAnnounced) {
  Form form;
  std::vector<FormEvent> heard;
  auto sub = form.observe([&](Form&, FormEvent e) { heard.push_back(e); });
  form.repaint();
  form.repaint();
  form.setCaption("Banco");
  form.setCaption("Banco");
  EXPECT_EQ(form.repaintCount(), 2);
  EXPECT_EQ(heard,
            (std::vector<FormEvent>{FormEvent::Repaint, FormEvent::Repaint, FormEvent::Caption}));
}

TEST(FormControls, lookupNamesWhatIsMissingOrOfAnotherKind) {
  Form form{"TfrmBanco", "frmBanco"};
  form.create<Label>("lblCodigo");
  EXPECT_NE(form.tryFind<Label>("lblCodigo"), nullptr);
  EXPECT_EQ(form.tryFind<Edit>("lblCodigo"), nullptr);
  ASSERT_THROW_MSG(form.find<Edit>("lblCodigo"), FormError,
                   "O controle 'lblCodigo' do formulário 'frmBanco' é TLabel, não TEdit.");
  ASSERT_THROW_MSG(form.find<Edit>("dbeCodigo"), FormError,
                   "Controle 'dbeCodigo' não encontrado no formulário 'frmBanco'.");
  EXPECT_THROW(form.create<Edit>("lblCodigo"), FormError);  // names are unique
  EXPECT_EQ(form.controls().size(), 1u);
}

}  // namespace
}  // namespace qbk::forms
