// The ways between the places of the bank screen: while one record set is edited only the
// ways to its own place stay open, and with no bank at all none does.
#include <gmock/gmock.h>

#include "host/errors_ui.h"
#include "scenario/bank_screen_fixture.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::vector<std::string> kWays = {"tshFolhaDados",
                                        "mnuFolhaDados",
                                        "tshFormulario",
                                        "mnuFormulario",
                                        "tshCNAB",
                                        "mnuCNABPag",
                                        "tshDadosEmpr",
                                        "mnuDadosEmpr",
                                        "tshEmpresa",
                                        "mnuEmpresa",
                                        "tshDados",
                                        "mnuDados",
                                        "tshErroRetornoPag",
                                        "mnuErroRetornoPag",
                                        "tshErroRetornoRec",
                                        "mnuErroRetornoRec",
                                        "tshInstruCobr",
                                        "mnuInstruCobr",
                                        "tshDDA"};

class PlaceWaysTest : public BankScreenTest {
 protected:
  std::vector<std::string> openWays() const {
    std::vector<std::string> open;
    for (const std::string& w : kWays)
      if (enabled(w)) open.push_back(w);
    return open;
  }
};

TEST_F(PlaceWaysTest, editingAPlaceLeavesOpenOnlyTheWaysToIt) {
  startServer();
  TfrmBanco& s = openScreen();
  ASSERT_TRUE(goToBank("001"));
  EXPECT_THAT(openWays(), ElementsAreArray(kWays)) << "nothing edited: every way is open";

  struct Case {
    const char* name;
    std::function<void()> start;
    data::RecordSet& records;
    std::vector<std::string> open;
  };
  const std::vector<Case> cases = {
      {"bank",
       [&] {
         ASSERT_TRUE(choose("mnuFormulario"));
         ASSERT_TRUE(press("sbtAlterar"));
       },
       s.bank().cdsBanco,
       {"tshFormulario", "mnuFormulario"}},
      // The instruction entry too: it would leave the company row in edit behind open tabs.
      {"company",
       [&] {
         ASSERT_TRUE(choose("mnuDadosEmpr"));
         ASSERT_TRUE(press("sbtAlterar"));
       },
       s.cnab().cdsEmprBanc,
       {"tshCNAB", "mnuCNABPag", "tshDadosEmpr", "mnuDadosEmpr", "tshDados", "mnuDados"}},
      {"instruction",
       [&] {
         ASSERT_TRUE(choose("mnuInstruCobr"));
         ASSERT_TRUE(press("sbtIncluir"));
       },
       s.codes().cdsInstruCobr,
       {"tshCNAB", "mnuCNABPag", "tshInstruCobr", "mnuInstruCobr"}},
      {"DDA",
       [&] {
         ASSERT_TRUE(selectTab("tshDDA"));
         ASSERT_TRUE(press("sbtAlterar"));
       },
       s.dda().cdsDDA,
       {"tshDDA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.start();
    ASSERT_TRUE(c.records.editing());
    EXPECT_THAT(openWays(), ElementsAreArray(c.open));
    ui.answerConfirm(true);
    ASSERT_TRUE(press("sbtCancelar"));
    EXPECT_FALSE(c.records.editing());
    EXPECT_THAT(openWays(), ElementsAreArray(kWays));
  }
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(PlaceWaysTest, aFirstBankTheServerRefusesLeavesNothingButIncluir) {
  startServer(/*demo=*/false);
  if (onPostgres()) {
    exec(
        "CREATE FUNCTION recusa() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'recusado'; END $$ "
        "LANGUAGE plpgsql");
    exec("CREATE TRIGGER recusa BEFORE INSERT ON BANCO FOR EACH ROW EXECUTE FUNCTION recusa()");
  } else {
    exec("CREATE TRIGGER recusa BEFORE INSERT ON BANCO BEGIN SELECT RAISE(ABORT, 'recusado'); END");
  }
  // The host shows what the entry raises, as the desktop does.
  EXPECT_FALSE(host::runGuarded([&] { openScreen(); }));
  TfrmBanco& s = screen();

  EXPECT_EQ(errors().size(), 1u);
  EXPECT_TRUE(s.bank().cdsBanco.isEmpty());
  EXPECT_EQ(s.bank().cdsBanco.changeCount(), 0);
  EXPECT_EQ(mainTab()->name(), "tshFolhaDados");
  EXPECT_THAT(openWays(), IsEmpty());
  for (const char* command :
       {"sbtAlterar", "sbtExcluir", "sbtProcurar", "sbtOrdenar", "sbtConfirmar", "sbtCancelar"})
    EXPECT_FALSE(enabled(command)) << command;
  EXPECT_TRUE(enabled("sbtIncluir"));
  EXPECT_TRUE(s.primeiraAtivacao()) << "the next activation tries again";
}

}  // namespace
}  // namespace qbk::module::testing
