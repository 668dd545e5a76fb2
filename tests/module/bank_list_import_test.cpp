// "Importar Lista de Bancos...": the list a person picks, the preview's three groups, and
// the ticked rows reaching the server as one SetBanco delta, all of them or none.
#include <gmock/gmock.h>

#include <fstream>

#include "scenario/call_recorder.h"
#include "scenario/bank_screen_fixture.h"
#include "host/config.h"

namespace qbk::module::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kHeader =
    "\xEF\xBB\xBFISPB,Nome_Reduzido,Número_Código,Participa_da_Compe,Acesso_Principal,"
    "Nome_Extenso,Início_da_Operação\n";

// Against the demo banks: 001 as the table has it, 004 under a longer name, 003 and 654 new.
const std::string kList =
    kHeader +
    "00000000,BCO DO BRASIL S.A.,1,Sim,RSFN,Banco do Brasil S.A.   ,22/04/2002\n"
    "04902979,BCO DA AMAZONIA S.A.,3,Sim,RSFN,Banco da Amazônia S.A.,22/04/2002\n"
    "07237373,BCO DO NORDESTE DO BRASIL S.A.,4,Sim,RSFN,Banco do Nordeste do "
    "Brasil S.A.,22/04/2002\n"
    "00038121,Selic,n/a,Não,RSFN,Banco Central do Brasil - Selic,22/04/2002\n"
    "92874270,BCO DIGIMAIS S.A.,654,Sim,RSFN,BANCO DIGIMAIS S.A.,22/04/2002\n";

class BankListImportTest : public BankScreenTest {
 protected:
  void SetUp() override {
    BankScreenTest::SetUp();
    startServer();
    recorder = std::make_unique<CallRecorder>(host::hostConfig().webPort);
    host::HostConfig config = host::hostConfig();
    config.webPort = recorder->port();
    host::setHostConfig(config);
    openScreen();
    ui.clearEvents();
  }

  std::string listFile(const std::string& content) {
    const std::string path = dir.file("ParticipantesSTR.csv");
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  void answerFile(const std::string& content) {
    ui.answerChoose(1);
    ui.answerOpenFile(listFile(content));
  }
  std::string name(const std::string& code) {
    const db::Result r = query("SELECT NMBANCO FROM BANCO WHERE CDBANCO = ?", {code});
    return r.rows.empty() ? "<sem linha>" : std::get<std::string>(r.rows.at(0).at(0));
  }
  const host::BankImportReview& review() {
    static host::BankImportReview none;
    const auto asked = ui.events(host::UiEventKind::ReviewBankImport);
    if (asked.empty()) return none;
    last_ = asked.back().bankImport;
    return last_;
  }

  std::unique_ptr<CallRecorder> recorder;

 private:
  host::BankImportReview last_;
};

std::vector<std::string> codes(const std::vector<host::BankImportRow>& rows) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(r.code);
  return out;
}

TEST_F(BankListImportTest, tickedRowsGoInAsOneDeltaAndTheBanksAreReadAgain) {
  ASSERT_TRUE(goToBank("077"));
  const int banks = screen().bank().cdsBanco.recordCount();
  const int sends = recorder->calls("SetBanco");
  answerFile(kList);
  // Only the second new bank and the rename.
  ui.answerReviewBankImport(host::BankImportChoice{{1}, {0}});
  ASSERT_TRUE(choose("mnuImportarBancos"));

  const host::BankImportReview& r = review();
  EXPECT_THAT(r.source, HasSubstr("ParticipantesSTR.csv"));
  EXPECT_THAT(codes(r.added), ElementsAre("003", "654"));
  EXPECT_EQ(r.added[1].storedName, "Banco Digimais S.A.");
  EXPECT_EQ(r.added[1].sourceName, "BANCO DIGIMAIS S.A.");
  EXPECT_EQ(r.added[1].note, "agência 9999, conta 999999999999-9 (padrão)");
  ASSERT_THAT(codes(r.renamed), ElementsAre("004"));
  EXPECT_EQ(r.renamed[0].currentName, "Banco do Nordeste do Brasil");
  EXPECT_EQ(r.renamed[0].storedName, "Bco do Nordeste do Brasil S.A.");
  EXPECT_EQ(r.renamed[0].sourceName, "Banco do Nordeste do Brasil S.A.");
  EXPECT_EQ(r.renamed[0].note, "nome curto");
  // Every demo bank but the two the list names is shown as kept; the fixed-fund bank not.
  EXPECT_EQ(r.absent.size(), 25u);
  EXPECT_EQ(r.absent[0].code, "021");

  EXPECT_EQ(recorder->calls("SetBanco"), sends + 1);
  EXPECT_EQ(name("654"), "Banco Digimais S.A.");
  EXPECT_EQ(name("003"), "<sem linha>");
  EXPECT_EQ(name("004"), "Bco do Nordeste do Brasil S.A.");
  const db::Result added =
      query("SELECT CDBANCCNAB, CDPICTAGEN, CDPICTCONT FROM BANCO WHERE CDBANCO = '654'");
  EXPECT_EQ(added.rows.at(0),
            (data::Row{data::Value("654"), data::Value("9999"), data::Value("999999999999-9")}));

  data::RecordSet& cds = screen().bank().cdsBanco;
  EXPECT_EQ(cds.recordCount(), banks + 1);
  EXPECT_EQ(cds.changeCount(), 0);
  EXPECT_EQ(cds.fieldByName("CDBANCO").asString(), "077");
  EXPECT_THAT(ui.messages(),
              ElementsAre("Importação concluída: 1 banco(s) incluído(s), 1 renomeado(s)."));
  EXPECT_THAT(errors(), IsEmpty());
  ui.verifyDone();
}

TEST_F(BankListImportTest, aBankChangedSinceTheScreenReadItRefusesTheWholeImport) {
  // Someone else renames 004 after the screen read the banks.
  exec("UPDATE BANCO SET NMBANCO = 'BNB' WHERE CDBANCO = '004'");
  answerFile(kList);
  ui.answerReviewBankImport(host::BankImportChoice{{0, 1}, {0}});
  EXPECT_FALSE(choose("mnuImportarBancos"));

  ASSERT_EQ(errors().size(), 1u);
  EXPECT_THAT(errors()[0], HasSubstr("Conflito em BANCO (CDBANCO=004)"));
  EXPECT_EQ(name("004"), "BNB");
  EXPECT_EQ(name("003"), "<sem linha>");
  EXPECT_EQ(name("654"), "<sem linha>");
  EXPECT_EQ(screen().bank().cdsBanco.changeCount(), 0);
  EXPECT_FALSE(ui.progressVisible());
  ui.verifyDone();
}

TEST_F(BankListImportTest, aBadListOrACancelWritesNothing) {
  const int sends = recorder->calls("SetBanco");
  answerFile(kHeader + "00000000,BB,1,Sim,RSFN,Banco do Brasil S.A.,22/04/2002\n" +
             "00000001,OUTRO,001,Sim,RSFN,Outro Banco S.A.,01/01/2020\n");
  EXPECT_FALSE(choose("mnuImportarBancos"));
  EXPECT_THAT(errors(), ElementsAre("Linha 3: código 001 repetido (já na linha 2)."));

  // The built-in list, previewed and left.
  ui.answerChoose(0);
  ui.answerReviewBankImport(std::nullopt);
  EXPECT_TRUE(choose("mnuImportarBancos"));
  EXPECT_EQ(review().added.size(), 484u);
  EXPECT_EQ(recorder->calls("SetBanco"), sends);
  EXPECT_EQ(count("BANCO"), screen().bank().cdsBanco.recordCount());
  ui.verifyDone();
}

TEST_F(BankListImportTest, theEntryIsOpenOnlyWhileNothingIsEdited) {
  EXPECT_TRUE(enabled("mnuImportarBancos"));
  ASSERT_TRUE(press("sbtAlterar"));
  EXPECT_FALSE(enabled("mnuImportarBancos"));
  EXPECT_FALSE(choose("mnuImportarBancos"));
  ui.answerConfirm(true);
  ASSERT_TRUE(press("sbtCancelar"));
  EXPECT_TRUE(enabled("mnuImportarBancos"));
  ui.verifyDone();
}

}  // namespace
}  // namespace qbk::module::testing
