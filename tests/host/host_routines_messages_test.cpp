// Message tables, the error routine, the error boundary, the progress indicator and the
// scripted person the other tests rely on.
#include <gtest/gtest.h>

#include "host/errors_ui.h"
#include "host/messages.h"
#include "host/progress.h"
#include "host/user_interface_scripted.h"
#include "support/expect_throw.h"

namespace qbk::host {
namespace {

// Lines as a screen stores them: a stray apostrophe, a trailing blank, a missing full stop,
// a bar inside a text and a CR LF line end.
constexpr std::string_view kTable =
    "CdBanc_inv|Código deve ser informado.\n"
    "Mask_Inv|Máscara C/C inválida.\n"
    "DIG_INV|Quantidade de dígitos de controle deve estar entre 1 e 2'.\n"
    "Bcomp_inf|Modelo de Boleto Completo deve ser informado. \n"
    "\n"
    "Desc_ni|Descrição deve ser informada\r\n"
    "Arq_rel_err|Arquivo informado não encontrado.\n"
    "Pipe|a|b\n"
    "Vazio|";

class MessagesTest : public ::testing::Test {
 protected:
  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
  TMessages msg{kTable};
};

TEST_F(MessagesTest, textsComeBackExactlyAsStoredAndKeysIgnoreLetterCase) {
  EXPECT_EQ(msg.Msg("DIG_INV"), "Quantidade de dígitos de controle deve estar entre 1 e 2'.");
  EXPECT_EQ(msg.Msg("Bcomp_inf"), "Modelo de Boleto Completo deve ser informado. ");
  EXPECT_EQ(msg.Msg("Desc_ni"), "Descrição deve ser informada");
  EXPECT_EQ(msg.Msg("Pipe"), "a|b");
  EXPECT_EQ(msg.Msg("Vazio"), "");
  EXPECT_EQ(msg.Msg("MASK_INV"), "Máscara C/C inválida.");
  EXPECT_EQ(msg.Msg("Arq_Rel_Err"), "Arquivo informado não encontrado.");
  EXPECT_EQ(msg.Msg("cdbanc_INV"), "Código deve ser informado.");
  EXPECT_EQ(msg.keys(), (std::vector<std::string>{"CdBanc_inv", "Mask_Inv", "DIG_INV", "Bcomp_inf",
                                                  "Desc_ni", "Arq_rel_err", "Pipe", "Vazio"}));
}

TEST_F(MessagesTest, unknownKeyIsAnErrorNamingTheKey) {
  ASSERT_THROW_MSG(msg.Msg("Nao_Existe"), Error, "Mensagem 'Nao_Existe' não encontrada.");
  EXPECT_FALSE(msg.contains("Nao_Existe"));
  EXPECT_TRUE(msg.contains("dig_inv"));
}

TEST(MessagesResource, damagedLinesAndRepeatedKeysAreRefusedWithTheirLine) {
  ASSERT_THROW_MSG(TMessages("A|um\nsem barra\n"), Error,
                   "Tabela de mensagens, linha 2: esperado \"chave|texto\".");
  EXPECT_THROW(TMessages("|sem chave"), Error);
  ASSERT_THROW_MSG(TMessages("Excl|um\nEXCL|dois\n"), Error,
                   "Tabela de mensagens, linha 2: chave 'EXCL' repetida.");
}

TEST_F(MessagesTest, showMsgReportsYesOnlyWhenThePersonSaysYes) {
  ui.answerConfirm(true);
  ui.answerConfirm(false);
  EXPECT_EQ(msg.ShowMsg("DIG_INV", MsgType::Confirmation, MsgButtons::YesNo, 0), mrYes);
  EXPECT_EQ(msg.ShowMsg("DIG_INV", MsgType::Confirmation, MsgButtons::YesNo, 0), mrNo);

  EXPECT_EQ(msg.ShowMsg("Mask_Inv", MsgType::Warning, MsgButtons::OK, 0), mrOk);
  EXPECT_EQ(msg.ShowMsg("Mask_Inv", MsgType::Error, MsgButtons::OK, 0), mrOk);
  EXPECT_EQ(msg.ShowMsg("Mask_Inv", MsgType::Information, MsgButtons::OK, 0), mrOk);

  std::vector<UiEventKind> kinds;
  for (const auto& e : ui.events()) kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<UiEventKind>{UiEventKind::Confirm, UiEventKind::Confirm,
                                             UiEventKind::Warning, UiEventKind::Error,
                                             UiEventKind::Info}));
  EXPECT_EQ(ui.events().front().text, "Quantidade de dígitos de controle deve estar entre 1 e 2'.");
  ui.verifyDone();
}

TEST_F(MessagesTest, showMsgOfAnUnknownKeyShowsNothing) {
  EXPECT_THROW(msg.ShowMsg("Nao_Existe", MsgType::Warning, MsgButtons::OK), Error);
  EXPECT_TRUE(ui.events().empty());
}

TEST(StandardMessages, holdTheConfirmationsOfTheBaseScreen) {
  const TMessages& table = standardMessages();
  EXPECT_EQ(table.Msg("Excl"), "Confirma a exclusão do registro?");
  EXPECT_EQ(table.Msg("CANC"), "Confirma o cancelamento das alterações?");
}

TEST(FormatMessage, fillsPlaceholdersInOrderAndNeverFails) {
  const std::string report =
      "O arquivo contendo a definição do Relatório de código '%s' não foi encontrado no "
      "diretório '%s'.";
  EXPECT_EQ(formatMessage(report, {"QBK512", "/srv/rel"}),
            "O arquivo contendo a definição do Relatório de código 'QBK512' não foi "
            "encontrado no diretório '/srv/rel'.");
  EXPECT_EQ(formatMessage("Arquivo informado não encontrado.", {"/x.qr2", "/srv/rel"}),
            "Arquivo informado não encontrado.");
  EXPECT_EQ(formatMessage("'%s' e '%s'", {"um"}), "'um' e '%s'");
  EXPECT_EQ(formatMessage("100%% de %s%", {"50"}), "100% de 50%");
  // An argument is inserted as it is, never read as a format itself.
  EXPECT_EQ(formatMessage("%s/%s", {"%s", "b"}), "%s/b");
}

// ---- the error routine and the boundary ----------------------------------------------

TEST(MensErro, showsTheTextAndAbortsOnlyWhenAsked) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope(ui);
  EXPECT_THROW_MSG(MensErro("Código deve ser informado.", true), Abort,
                   "Código deve ser informado.");

  MensErro("Acesso negado.", false);
  EXPECT_EQ(ui.errors(),
            (std::vector<std::string>{"Código deve ser informado.", "Acesso negado."}));
}

TEST(RunGuarded, showsEachFailureOnceAndNeverAnAbortAgain) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope(ui);
  EXPECT_TRUE(runGuarded([] {}));
  EXPECT_FALSE(runGuarded([] { MensErro("Banco já cadastrado.", true); }));
  EXPECT_FALSE(runGuarded([] { throw Error("Conflito na tabela BANCO."); }));
  EXPECT_FALSE(runGuarded([] { throw 42; }));
  EXPECT_EQ(ui.errors(),
            (std::vector<std::string>{"Banco já cadastrado.", "Conflito na tabela BANCO.",
                                      "Erro inesperado."}));
}

TEST(RunGuarded, letsABrokenScriptThrough) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope(ui);
  EXPECT_THROW(runGuarded([] { userInterface().confirm("Confirma?"); }), ScriptError);
  EXPECT_EQ(ui.failures().size(), 1u);
  EXPECT_THROW(ui.verifyDone(), ScriptError);
}

// ---- the person-facing interface ---------------------------------------------------------

TEST(UserInterfaceInstall, noInterfaceIsAnErrorAndScopesRestoreThePreviousOne) {
  ASSERT_FALSE(hasUserInterface());
  EXPECT_THROW(userInterface(), Error);
  ScriptedUserInterface outer, inner;
  {
    UserInterfaceScope a(outer);
    {
      UserInterfaceScope b(inner);
      EXPECT_EQ(&userInterface(), &inner);
    }
    EXPECT_EQ(&userInterface(), &outer);
  }
  EXPECT_FALSE(hasUserInterface());
}

TEST(ScriptedUserInterface, answersEachKindFromItsOwnQueueAndRecordsTheQuestions) {
  ScriptedUserInterface ui;
  ui.answerOpenFile("/modelos/cheque.qr2");
  ui.answerOpenFile(std::nullopt);
  ui.answerSelectDirectory("/dda");
  ui.answerConfirm(true);

  EXPECT_TRUE(ui.confirm("Confirma a exclusão do registro?"));
  EXPECT_EQ(ui.openFile("Arquivos de Relatório (*.qr2)|*.qr2", "/modelos"), "/modelos/cheque.qr2");
  EXPECT_EQ(ui.openFile("Arquivos de Imagem (*.bmp)|*.bmp", ""), std::nullopt);
  EXPECT_EQ(ui.selectDirectory("/tmp", true), "/dda");

  auto files = ui.events(UiEventKind::OpenFile);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].text, "Arquivos de Relatório (*.qr2)|*.qr2");
  EXPECT_EQ(files[0].detail, "/modelos");
  auto dirs = ui.events(UiEventKind::SelectDirectory);
  ASSERT_EQ(dirs.size(), 1u);
  EXPECT_EQ(dirs[0].text, "/tmp");
  EXPECT_TRUE(dirs[0].allowCreate);
  ui.verifyDone();
}

TEST(ScriptedUserInterface, failsLoudlyOnUnforeseenQuestionsAndLeftoverAnswers) {
  ScriptedUserInterface ui;
  EXPECT_THROW(ui.selectDirectory("/", false), ScriptError);
  EXPECT_EQ(ui.events().size(), 1u);  // the question is still on record

  ScriptedUserInterface leftover;
  leftover.answerConfirm(true);
  EXPECT_THROW(leftover.verifyDone(), ScriptError);
}

TEST(ScriptedUserInterface, aScriptedDialogFailureRaisesAnError) {
  ScriptedUserInterface ui;
  ui.failNextSelectDirectory("Acesso negado.");
  ASSERT_THROW_MSG(ui.selectDirectory("/", true), Error, "Acesso negado.");
  ui.verifyDone();
}

TEST(ChoiceWindow, anEmptyListShowsItsMessageInsteadOfAskingAnything) {
  ScriptedUserInterface ui;
  EXPECT_EQ(ui.choose("Fornecedor", {"Inscrição Jurídica"}, {}, "Não há fornecedor cadastrado."),
            std::nullopt);
  EXPECT_EQ(ui.chooseMany("Banco", {"Código"}, {}, {}, "Não há banco cadastrado."), std::nullopt);
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Não há fornecedor cadastrado.",
                                                     "Não há banco cadastrado."}));
  ui.verifyDone();
}

TEST(ChoiceWindow, recordsWhatWasListedAndRefusesAnAnswerOutsideTheList) {
  ScriptedUserInterface ui;
  std::vector<ChoiceRow> rows{{"001", "Banco do Brasil"}, {"237", "Bradesco"}};
  ui.answerChoose(1);
  ui.answerChoose(2);
  ui.answerChooseMany(std::vector<int>{1, 0, 1});
  EXPECT_EQ(ui.choose("Banco", {"Código", "Nome"}, rows, "vazio"), 1);
  EXPECT_THROW(ui.choose("Banco", {"Código", "Nome"}, rows, "vazio"), Error);
  EXPECT_EQ(ui.chooseMany("Banco", {"Código", "Nome"}, rows, {0}, "vazio"),
            (std::vector<int>{0, 1}));

  auto shown = ui.events(UiEventKind::ChooseMany);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rows, rows);
  EXPECT_EQ(shown[0].preselected, std::vector<int>{0});
}

// ---- progress indicator ------------------------------------------------------------------

TEST(ProgressIndicator, showsKindAndTextAndTracksHides) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope(ui);
  int screen = 0;
  ActiveShowAvi(nullptr, kAviConnect);
  DeactiveShowAvi();
  ActiveShowAvi(&screen, kAviUpdate, "Atualizando dados...");
  EXPECT_TRUE(ui.progressVisible());
  DeactiveShowAvi();
  DeactiveShowAvi();  // a second hide finds nothing shown

  auto shows = ui.events(UiEventKind::ShowProgress);
  ASSERT_EQ(shows.size(), 2u);
  EXPECT_EQ(shows[0].progressKind, 0);
  EXPECT_EQ(shows[0].text, "");
  EXPECT_EQ(shows[1].progressKind, 1);
  EXPECT_EQ(shows[1].text, "Atualizando dados...");
  EXPECT_FALSE(ui.progressVisible());
  EXPECT_EQ(ui.unmatchedHides(), 1);
}

TEST(ProgressIndicator, aScopeHidesTheIndicatorWhenTheOperationFails) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope(ui);
  EXPECT_THROW(
      {
        ShowAviScope avi(nullptr, kAviFetch);
        EXPECT_TRUE(ui.progressVisible());
        throw Error("Servidor indisponível.");
      },
      Error);
  EXPECT_FALSE(ui.progressVisible());
  ui.verifyDone();
}

}  // namespace
}  // namespace qbk::host
