// The real dialogs a person answers, and the shell's own rules: the command line, the
// title, and how modules are found.
#include <gmock/gmock.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "desktop/choice_dialog.h"
#include "desktop/command_line.h"
#include "desktop/main_window.h"
#include "desktop/module_loader.h"
#include "desktop/qt_text.h"
#include "desktop/qt_user_interface.h"
#include "support/expect_throw.h"

namespace qbk::desktop {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Pair;

// Acts on the next modal window once it shows (the dialog's own event loop runs then).
void whenModalShows(std::function<void(QWidget*)> act) {
  auto attempt = std::make_shared<std::function<void()>>();
  *attempt = [act, attempt] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      act(w);
    } else {
      QTimer::singleShot(10, *attempt);
    }
  };
  QTimer::singleShot(0, *attempt);
}

QStringList buttonTexts(QWidget* box) {
  QStringList out;
  for (auto* b : box->findChildren<QPushButton*>()) out << b->text();
  out.sort();
  return out;
}

void clickButton(QWidget* box, const QString& text) {
  for (auto* b : box->findChildren<QPushButton*>()) {
    if (b->text() == text) {
      b->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << text.toStdString();
}

TEST(Dialogs, questionsAndMessagesAnswerInPortuguese) {
  QtUserInterface ui;
  QStringList seen;
  whenModalShows([&](QWidget* box) {
    seen = buttonTexts(box);
    clickButton(box, "Não");
  });
  EXPECT_FALSE(ui.confirm("Confirma a exclusão do registro?"));
  EXPECT_EQ(seen, (QStringList{"Não", "Sim"}));

  whenModalShows([](QWidget* box) { clickButton(box, "Sim"); });
  EXPECT_TRUE(ui.confirm("Confirma?"));

  QString text;
  whenModalShows([&](QWidget* box) {
    seen = buttonTexts(box);
    text = static_cast<QMessageBox*>(box)->text();
    clickButton(box, "OK");
  });
  ui.showError("Código do banco deve ser informado.");
  EXPECT_EQ(seen, QStringList{"OK"});
  EXPECT_EQ(text, "Código do banco deve ser informado.");
}

TEST(Dialogs, theChoiceWindowListsTheRowsAndReturnsThePickedOne) {
  QtUserInterface ui;
  int rows = 0;
  QString title;
  whenModalShows([&](QWidget* w) {
    title = w->windowTitle();
    auto* table = w->findChild<QTableWidget*>("choiceTable");
    rows = table->rowCount();
    table->selectRow(1);
    clickButton(w, "OK");
  });
  const auto chosen = ui.choose("Instruções", {"Código", "Descrição"},
                                {{"01", "Protestar"}, {"02", "Não protestar"}}, "Nenhuma.");
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(title, "Instruções");

  whenModalShows([](QWidget* w) { clickButton(w, "Cancelar"); });
  EXPECT_EQ(ui.choose("Instruções", {"Código"}, {{"01"}}, "Nenhuma."), std::nullopt);

  // With no rows the person reads the empty-list message instead of an empty window.
  QString text;
  whenModalShows([&](QWidget* w) {
    text = static_cast<QMessageBox*>(w)->text();
    clickButton(w, "OK");
  });
  EXPECT_EQ(ui.choose("Instruções", {"Código"}, {}, "Nenhuma instrução cadastrada."), std::nullopt);
  EXPECT_EQ(text, "Nenhuma instrução cadastrada.");
}

TEST(Dialogs, theListPickerStartsWithThePreselectedRowsTicked) {
  QtUserInterface ui;
  whenModalShows([](QWidget* w) {
    auto* table = w->findChild<QTableWidget*>("choiceTable");
    table->item(2, 0)->setCheckState(Qt::Checked);
    clickButton(w, "OK");
  });
  const auto chosen = ui.chooseMany("Bancos", {"Código"}, {{"001"}, {"237"}, {"341"}}, {0}, "");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_THAT(*chosen, ElementsAre(0, 2));
}

TEST(Dialogs, theProgressIndicatorShowsItsKindsTextUntilHidden) {
  QWidget owner;
  QtUserInterface ui(&owner);
  ui.showProgress(1, "");
  ASSERT_NE(ui.progressWindow(), nullptr);
  auto* label = ui.progressWindow()->findChild<QLabel*>("progressText");
  EXPECT_EQ(label->text(), "Atualizando dados...");
  ui.showProgress(6, "Carregando bancos");  // one indicator: replaced, not stacked
  EXPECT_EQ(label->text(), "Carregando bancos");
  ui.hideProgress();
  EXPECT_EQ(ui.progressWindow(), nullptr);
  EXPECT_EQ(progressText(0, ""), "Conectando ao servidor...");
}

TEST(Dialogs, fileFiltersBecomeTheDialogsNameFilters) {
  EXPECT_EQ(fileDialogFilter("Arquivos de Relatório (*.qr2)|*.qr2"),
            "Arquivos de Relatório (*.qr2)");
  EXPECT_EQ(fileDialogFilter("Bitmaps|*.bmp;*.jpg|Todos (*.*)|*.*"),
            "Bitmaps (*.bmp *.jpg);;Todos (*.*)");
}

TEST(Shell, theServerOptionOverridesHostAndPortAndRefusesAnythingElse) {
  const char* argv[] = {"qbk-host",  "--server", "10.0.0.5:9000", "--database",
                        "/tmp/x.db", "--open",   "QBK51200"};
  const CommandLine cmd = parseCommandLine(7, argv);
  EXPECT_THAT(cmd.overrides, ElementsAre(Pair("web_url", "10.0.0.5"), Pair("web_port", "9000"),
                                         Pair("database", "/tmp/x.db")));
  EXPECT_EQ(cmd.openCode, "QBK51200");
  // The configuration applies the overrides last, so they win over file and environment.
  const host::HostConfig config = host::loadHostConfig({{"QBK_WEB_PORT", "1234"}}, cmd.overrides);
  EXPECT_EQ(config.webPort, 9000);

  for (const char* bad : {"semporta", ":8051", "host:", "host:0", "host:65536", "host:80x"}) {
    EXPECT_THROW(serverOverrides(bad), UsageError) << bad;
  }
  const char* unknown[] = {"qbk-host", "--servidor", "x"};
  EXPECT_THROW(parseCommandLine(3, unknown), UsageError);
}

TEST(Shell, menuShortcutsBecomeTheKeysAPersonPresses) {
  EXPECT_EQ(keySequences(forms::parseShortcut("Ctrl+Enter")),
            (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Return),
                                 QKeySequence(Qt::CTRL | Qt::Key_Enter)}));
  EXPECT_EQ(keySequences(forms::parseShortcut("Shift+Ctrl+Del")),
            QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete)});
  EXPECT_EQ(keySequences(forms::parseShortcut("F5")),
            QList<QKeySequence>{QKeySequence(Qt::Key_F5)});
  EXPECT_EQ(keySequences(forms::parseShortcut("Ctrl+E")),
            QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_E)});
  EXPECT_TRUE(keySequences({}).isEmpty());
}

TEST(Shell, theTitleNamesTheProductThenTheActiveScreen) {
  EXPECT_EQ(MainWindow::titleFor("Qbk", "Banco"), "Qbk - [Banco]");
  EXPECT_EQ(MainWindow::titleFor("Qbk", ""), "Qbk");
}

TEST(Shell, aModuleIsLoadedOnlyFromItsOwnFileInTheModuleDirectory) {
  ModuleLoader loader("/nonexistent/modules");
  EXPECT_EQ(loader.libraryPath("QBK51200"), "/nonexistent/modules/libqbk51200.so");
  ASSERT_THROW_MSG(loader.open("QBK51200"), ModuleError,
                   HasSubstr("/nonexistent/modules/libqbk51200.so"));
  // A code is part of a file name: no path may hide in it.
  EXPECT_THROW(loader.open("../../tmp/evil"), ModuleError);
  EXPECT_THROW(loader.open(""), ModuleError);
  EXPECT_FALSE(loader.loaded("QBK51200"));
}

}  // namespace
}  // namespace qbk::desktop
