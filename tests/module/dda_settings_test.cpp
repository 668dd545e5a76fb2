// The DDA settings of a bank: the local directory checked on this machine, the shared one
// left to the server's word, the directory pickers, and Verificar keeping the bank whose
// settings are on screen.
#include <gmock/gmock.h>

#include "host/errors_ui.h"
#include "host/local_cache.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using data::DataSetState;
using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::Eq;
using ::testing::IsEmpty;

constexpr const char* kSharedMissing =
    "Diretório compartilhado parametrizado no cadastro de Banco(DDA) não existe.";

class DdaSettingsTest : public BankScreenTest {
 protected:
  // The screen on the DDA tab of 237, whose directories are cleared first.
  TfrmBanco& openOnDda() {
    startServer();
    exec(
        "UPDATE BANCO SET DSDIRIMPARQDDA = NULL, DSDIRIMPARQDDALOCAL = NULL, "
        "DSEMAILDDA = 'dda@exemplo.com.br' WHERE CDBANCO = '237'");
    TfrmBanco& s = openScreen();
    EXPECT_TRUE(goToBank("237"));
    EXPECT_TRUE(selectTab("tshDDA"));
    EXPECT_THAT(warnings(), IsEmpty());
    return s;
  }

  bool focusOn(std::string_view name) {
    return host::runGuarded([&] { ctl(name).setFocus(); });
  }
  bool retype(std::string_view edit, const std::string& text) {
    return host::runGuarded([&] { ctl<forms::Edit>(edit).setText(text); });
  }
  std::string stored(const char* column) {
    const db::Result r =
        query(std::string("SELECT ") + column + " FROM BANCO WHERE CDBANCO = '237'");
    const auto* s = std::get_if<std::string>(&r.rows.at(0).at(0));
    return s ? *s : "<null>";
  }
  const data::RecordSet& dda() const { return screen().dda().cdsDDA; }
};

TEST_F(DdaSettingsTest, theLocalDirectoryMustExistHereAndTheSharedOneIsTheServersToJudge) {
  openOnDda();
  const std::string missing = dir.file("nao-existe");
  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_FALSE(ctl<forms::Navigator>("dbnPadrao").enabled());

  ASSERT_TRUE(retype("dbeDirLocal", missing));
  ASSERT_TRUE(focusOn("dbeDirLocal"));
  EXPECT_FALSE(focusOn("dbeEmailDest"));
  EXPECT_THAT(errors(), ElementsAre("Diretório não existe."));
  EXPECT_EQ(screen().form().activeControl()->name(), "dbeDirLocal");
  EXPECT_FALSE(press("sbtConfirmar"));
  EXPECT_EQ(errors().size(), 2u);
  EXPECT_EQ(dda().state(), DataSetState::Edit);

  // Empty is accepted; so is a shared directory that does not exist on this machine.
  ui.clearEvents();
  ASSERT_TRUE(retype("dbeDirLocal", ""));
  ASSERT_TRUE(retype("dbeDirDDA", missing));
  host::localCache().clear();
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(stored("DSDIRIMPARQDDA"), missing);
  EXPECT_THAT(stored("DSDIRIMPARQDDALOCAL"), AnyOf(Eq(""), Eq("<null>")));
  // The settings are columns of the bank table, so both cached tables are stale.
  EXPECT_EQ(host::localCache().invalidations("BANCO"), 1);
  EXPECT_EQ(host::localCache().invalidations("EMPRBANC"), 1);

  ASSERT_TRUE(selectTab("tshFolhaDados"));
  ASSERT_TRUE(selectTab("tshDDA"));
  EXPECT_THAT(warnings(), ElementsAre(kSharedMissing));
  EXPECT_EQ(ctl<forms::Edit>("dbeDirDDA").text(), missing) << "the data stays loaded";

  // An existing local directory is taken.
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(retype("dbeDirLocal", dir.path().string()));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("DSDIRIMPARQDDALOCAL"), dir.path().string());
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(DdaSettingsTest, theDirectoryPickersWriteOnlyAChosenDirectoryAndShowTheirOwnFailure) {
  openOnDda();
  ASSERT_TRUE(retype("dbeDirLocal", "/tmp"));

  ui.answerSelectDirectory(std::nullopt);
  ASSERT_TRUE(press("btnArqDDA"));
  const auto asked = ui.events(host::UiEventKind::SelectDirectory);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "/tmp") << "the dialog starts at the edit's directory";
  EXPECT_TRUE(asked[0].allowCreate);
  EXPECT_EQ(dda().fieldByName("DSDIRIMPARQDDALOCAL").asString(), "");

  const std::string chosen = dir.path().string();
  ui.answerSelectDirectory(chosen);
  ASSERT_TRUE(press("btnArqDDA"));
  EXPECT_EQ(dda().state(), DataSetState::Edit);
  EXPECT_EQ(ctl<forms::Edit>("dbeDirLocal").text(), chosen);
  EXPECT_EQ(dda().fieldByName("DSDIRIMPARQDDALOCAL").asString(), chosen);

  ui.answerSelectDirectory("/srv/compartilhado/dda");
  ASSERT_TRUE(press("BtnPesDirLocas"));
  EXPECT_EQ(dda().fieldByName("DSDIRIMPARQDDA").asString(), "/srv/compartilhado/dda");

  // A path the field cannot hold whole is refused rather than cut.
  ui.answerSelectDirectory("/" + std::string(250, 'd'));
  EXPECT_TRUE(press("BtnPesDirLocas"));
  EXPECT_THAT(errors(), ElementsAre("O diretório escolhido tem 251 caracteres; o campo aceita no "
                                    "máximo 250. Escolha um caminho mais curto."));
  EXPECT_EQ(dda().fieldByName("DSDIRIMPARQDDA").asString(), "/srv/compartilhado/dda");

  // A failing dialog shows what failed, and the click still ends normally.
  ui.clearEvents();
  ui.failNextSelectDirectory("Unidade de rede indisponível.");
  EXPECT_TRUE(press("BtnPesDirLocas"));
  EXPECT_THAT(errors(), ElementsAre("Unidade de rede indisponível."));
  EXPECT_EQ(dda().fieldByName("DSDIRIMPARQDDA").asString(), "/srv/compartilhado/dda");

  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("DSDIRIMPARQDDALOCAL"), chosen);
  EXPECT_EQ(stored("DSDIRIMPARQDDA"), "/srv/compartilhado/dda");

  // The buttons' after-search events put browsing settings into edit.
  for (const char* button : {"btnArqDDA", "BtnPesDirLocas"}) {
    auto& b = ctl<forms::SearchButton>(button);
    ASSERT_TRUE(host::runGuarded([&] { b.afterSearch(b); }));
    EXPECT_EQ(dda().state(), DataSetState::Edit) << button;
    ui.answerConfirm(true);
    ASSERT_TRUE(press("sbtCancelar"));
  }
}

TEST_F(DdaSettingsTest, verificarReadsTheSettingsAgainAndKeepsTheirBankCurrent) {
  TfrmBanco& s = openOnDda();
  exec("UPDATE BANCO SET DSEMAILDDA = 'novo@exemplo.com.br' WHERE CDBANCO = '237'");
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_EQ(s.bank().codigoBanco(), "237");
  EXPECT_EQ(ctl<forms::Edit>("dbeEmailDest").text(), "novo@exemplo.com.br");
  EXPECT_FALSE(ctl<forms::Navigator>("dbnPadrao").enabled());
  for (const char* command : {"sbtIncluir", "sbtProcurar", "sbtExcluir"})
    EXPECT_FALSE(enabled(command)) << command;
  EXPECT_TRUE(enabled("sbtAlterar"));
  EXPECT_THAT(errors(), IsEmpty());

  // Settings being typed stay as typed, with the way out of their edit still open.
  ASSERT_TRUE(press("sbtAlterar"));
  ASSERT_TRUE(retype("dbeEmailDest", "outro@exemplo.com.br"));
  ASSERT_TRUE(press("sbtVerificar"));
  EXPECT_THAT(errors(), IsEmpty());
  EXPECT_EQ(dda().state(), DataSetState::Edit);
  EXPECT_EQ(ctl<forms::Edit>("dbeEmailDest").text(), "outro@exemplo.com.br");
  EXPECT_TRUE(enabled("sbtConfirmar"));
  EXPECT_TRUE(enabled("sbtCancelar"));
  EXPECT_FALSE(enabled("sbtIncluir"));
  ASSERT_TRUE(press("sbtConfirmar"));
  EXPECT_EQ(stored("DSEMAILDDA"), "outro@exemplo.com.br");
}

}  // namespace
}  // namespace qbk::module::testing
