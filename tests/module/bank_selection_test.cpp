// Another bank becoming current: the company settings reload only while they are on
// screen, and the bank-specific CNAB panels follow the bank's clearing-house code.
#include <gmock/gmock.h>

#include "host/config.h"
#include "host/errors_ui.h"
#include "scenario/bank_screen_fixture.h"
#include "scenario/call_recorder.h"

namespace qbk::module::testing {
namespace {

using ::testing::IsEmpty;

// What a person sees of the bank-specific panels of the company data page.
struct Panels {
  bool layout;
  int layoutPage;
  bool layoutPag;
  int layoutPagPage;
  int layoutPagTop;
  bool dadosBanc;
  int dadosBancPage;
  bool scheduling;
  bool linhaComplementar, registroS, linhaEmail;
};

class BankSelectionTest : public BankScreenTest {
 protected:
  // Moves the current bank with the bank navigator, as a person does from any tab.
  bool moveTo(const std::string& code) {
    TfrmBanco& s = screen();
    auto& nav = ctl<forms::Navigator>("dbnPadrao");
    bool moved = false;
    if (!host::runGuarded([&] { moved = nav.press(forms::NavButton::First); })) return false;
    while (s.bank().cdsBanco.fieldByName("CDBANCO").asString() != code) {
      moved = false;
      if (!host::runGuarded([&] { moved = nav.press(forms::NavButton::Next); }) || !moved)
        return false;
    }
    return true;
  }
  Panels panels() const {
    auto& layout = ctl<forms::Notebook>("ntbLayout");
    auto& pag = ctl<forms::Notebook>("ntbLayoutPag");
    auto& dados = ctl<forms::Notebook>("ntbDadosBanc");
    EXPECT_EQ(ctl("lblPadrAgend").visible(), ctl("cbbPadrAgend").visible());
    return {layout.visible(),
            layout.pageIndex(),
            pag.visible(),
            pag.pageIndex(),
            pag.top(),
            dados.visible(),
            dados.pageIndex(),
            ctl("lblPadrAgend").visible(),
            ctl("ckcLinhaComplemtentar").visible(),
            ctl("ckcRegistroSCobranca").visible(),
            ctl("ckcLinhaCobEmail").visible()};
  }
  bool variation() const {
    EXPECT_EQ(ctl("lblVarCartCob").visible(), ctl("dbeVarCartCob").visible());
    return ctl("lblVarCartCob").visible();
  }
};

TEST_F(BankSelectionTest, panelsFollowTheClearingHouseCodeInEitherDirection) {
  startServer();
  openScreen();
  ASSERT_TRUE(selectTab("tshCNAB"));
  // Bank 033 stands for every code without panels of its own.
  exec("UPDATE BANCO SET CDBANCCNAB = '033' WHERE CDBANCO = '033'");

  const auto check341 = [&] {
    const Panels p = panels();
    EXPECT_TRUE(p.layout);
    EXPECT_EQ(p.layoutPage, 0);
    EXPECT_TRUE(p.layoutPag);
    EXPECT_EQ(p.layoutPagPage, 0);
    EXPECT_EQ(p.layoutPagTop, 125);
    EXPECT_TRUE(ctl("rdbLayoutCnabPag").visible());
    EXPECT_TRUE(p.linhaComplementar);
    EXPECT_FALSE(p.registroS || p.linhaEmail);
  };
  const auto check237 = [&] {
    const Panels p = panels();
    EXPECT_TRUE(p.layoutPag);
    EXPECT_EQ(p.layoutPagPage, 1);
    EXPECT_EQ(p.layoutPagTop, 55);
    EXPECT_TRUE(p.dadosBanc);
    EXPECT_EQ(p.dadosBancPage, 3);
    EXPECT_TRUE(p.scheduling);
    EXPECT_FALSE(p.linhaComplementar || p.registroS || p.linhaEmail);
  };
  const auto check399 = [&] {
    const Panels p = panels();
    EXPECT_TRUE(p.layout);
    EXPECT_EQ(p.layoutPage, 1);
    EXPECT_FALSE(p.layoutPag);
    EXPECT_FALSE(p.scheduling);
    EXPECT_FALSE(p.linhaComplementar || p.registroS || p.linhaEmail);
  };
  const auto check104 = [&] {
    const Panels p = panels();
    EXPECT_TRUE(p.layout);
    EXPECT_EQ(p.layoutPage, 2);
    EXPECT_FALSE(p.layoutPag);
    EXPECT_TRUE(p.dadosBanc);
    EXPECT_EQ(p.dadosBancPage, 2);
    EXPECT_EQ(ctl("ntbDadosBanc").top(), 209);
    EXPECT_FALSE(p.scheduling);
  };
  const auto check422 = [&] {
    const Panels p = panels();
    EXPECT_FALSE(p.layout || p.layoutPag || p.dadosBanc || p.scheduling);
    EXPECT_TRUE(p.linhaEmail);
    EXPECT_FALSE(p.linhaComplementar || p.registroS);
  };
  // The segment S record of 001's collection shows beside its variation.
  const auto check001 = [&] {
    const Panels p = panels();
    EXPECT_FALSE(p.layout || p.layoutPag || p.dadosBanc || p.scheduling || p.linhaComplementar ||
                 p.linhaEmail);
    EXPECT_TRUE(p.registroS);
  };
  const auto checkOther = [&] {
    const Panels p = panels();
    EXPECT_FALSE(p.layout || p.layoutPag || p.dadosBanc || p.scheduling || p.linhaComplementar ||
                 p.registroS || p.linhaEmail);
    EXPECT_EQ(p.layoutPagTop, 125);
    EXPECT_FALSE(ctl("rdbLayoutCnabPag").visible());
    EXPECT_FALSE(ctl("grbFornBanc").visible());
  };

  const std::vector<std::pair<std::string, std::function<void()>>> order = {
      {"033", checkOther}, {"341", check341}, {"237", check237},  {"399", check399},
      {"104", check104},   {"237", check237}, {"341", check341},  {"422", check422},
      {"001", check001},   {"104", check104}, {"033", checkOther}};
  for (const auto& [code, check] : order) {
    SCOPED_TRACE(code);
    ASSERT_TRUE(moveTo(code));
    check();
  }
  EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(BankSelectionTest, variationAndCompanyReloadOnlyWhileTheCompanySettingsAreInFront) {
  startServer();
  auto recorder = std::make_unique<CallRecorder>(host::hostConfig().webPort);
  host::HostConfig config = host::hostConfig();
  config.webPort = recorder->port();
  host::setHostConfig(config);
  openScreen();

  ASSERT_TRUE(moveTo("001"));
  EXPECT_FALSE(variation()) << "the company page was not shown yet";
  EXPECT_EQ(recorder->calls("GetEmprBanc"), 0) << "no server call from the list";

  ASSERT_TRUE(selectTab("tshCNAB"));
  ASSERT_TRUE(moveTo("237"));
  ASSERT_TRUE(moveTo("001"));
  EXPECT_TRUE(variation());
  const auto loads = recorder->textArgs("GetEmprBanc");
  ASSERT_FALSE(loads.empty());
  EXPECT_EQ(loads.back().at(0), "001");
  ASSERT_TRUE(moveTo("341"));
  EXPECT_FALSE(variation());

  // Away from the company settings the variation stays as it was.
  ASSERT_TRUE(selectTab("tshErroRetornoPag"));
  const int before = recorder->calls("GetEmprBanc");
  ASSERT_TRUE(moveTo("001"));
  EXPECT_FALSE(variation());
  EXPECT_EQ(recorder->calls("GetEmprBanc"), before);
}

}  // namespace
}  // namespace qbk::module::testing
