// The administrators' import of a bank list: one SetBanco delta, all of it or nothing.
#include "server/bank_import.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "server/app_error.h"
#include "server_fixture.h"
#include "support/expect_throw.h"

namespace qbk::server::testing {
namespace {

using ::testing::HasSubstr;

// The central bank's file as downloaded: byte-order mark, "n/a", padded long names, a code
// that lost its zeros. Against the fixture: 001 differs in letter case only, 077 and 539 are
// new, 341 has another name, 104 is not in the list.
const std::string kList =
    "\xEF\xBB\xBFISPB,Nome_Reduzido,Número_Código,Participa_da_Compe,Acesso_Principal,"
    "Nome_Extenso,Início_da_Operação\n"
    "00000000,BCO DO BRASIL S.A.,1,Sim,RSFN,Banco do Brasil S.A.       ,22/04/2002\n"
    "00038121,Selic,n/a,Não,RSFN,Banco Central do Brasil - Selic,22/04/2002\n"
    "416968,BANCO INTER,77,Sim,RSFN,Banco Inter S.A.,25/11/2003\n"
    "60701190,ITAÚ UNIBANCO S.A.,341,Sim,RSFN,Itaú Unibanco Holding S.A.,22/04/2002\n"
    "00122327,SANTINVEST S.A. - CFI,539,Sim,RSFN,\"SANTINVEST S.A. - CREDITO, FINANCIAMENTO E "
    "INVESTIMENTOS\",01/01/2020\n";

class BankImportTest : public ServerTest {
 protected:
  std::string listFile() {
    const std::string path = dir.file("ParticipantesSTR.csv");
    std::ofstream(path, std::ios::binary) << kList;
    return path;
  }
  banklist::BankList list() { return banklist::readBankListFile(listFile()); }

  // What the command prints, and its exit status.
  std::pair<int, std::string> command(bool dryRun) {
    const std::string outPath = dir.file("saida.txt");
    std::FILE* out = std::fopen(outPath.c_str(), "w");
    const int status = runBankImportCommand(*conn, listFile(), dryRun, out);
    std::fclose(out);
    std::ifstream in(outPath);
    return {status, std::string(std::istreambuf_iterator<char>(in), {})};
  }
};

TEST_F(BankImportTest, addsNewBanksAndRenamesTheOthersInOneDelta) {
  const BankImportResult r = importBanks(*conn, list(), true);
  EXPECT_TRUE(r.applied);
  EXPECT_EQ(r.comparison.added.size(), 2u);
  EXPECT_EQ(r.comparison.renamed.size(), 1u);
  ASSERT_EQ(r.comparison.absent.size(), 1u);
  EXPECT_EQ(r.comparison.absent[0].code, "104");

  const data::Packet banks = fetch("GetBanco");
  ASSERT_EQ(banks.rows.size(), 5u);
  const data::Row inter = rowWhere(banks, "CDBANCO", "077");
  EXPECT_EQ(cell(banks, inter, "NMBANCO"), data::Value("Banco Inter S.A."));
  EXPECT_EQ(cell(banks, inter, "CDBANCCNAB"), data::Value("077"));
  EXPECT_EQ(cell(banks, inter, "CDPICTAGEN"), data::Value("9999"));
  EXPECT_EQ(cell(banks, inter, "CDPICTCONT"), data::Value("9999999-9"));
  EXPECT_TRUE(data::isNull(cell(banks, inter, "QTDIAPRORCNT")));
  // 55 characters: the short name in title case.
  EXPECT_EQ(cell(banks, rowWhere(banks, "CDBANCO", "539"), "NMBANCO"),
            data::Value("Santinvest S.A. - CFI"));
  // Only the name changes; the bank's other fields stay as they were.
  const data::Row itau = rowWhere(banks, "CDBANCO", "341");
  EXPECT_EQ(cell(banks, itau, "NMBANCO"), data::Value("Itaú Unibanco Holding S.A."));
  EXPECT_EQ(cell(banks, itau, "CDPICTCONT"), data::Value("99999-9"));
  EXPECT_EQ(cell(banks, rowWhere(banks, "CDBANCO", "001"), "NMBANCO"),
            data::Value("BANCO DO BRASIL S.A."));

  // Run again: the table now agrees with the list.
  const BankImportResult again = importBanks(*conn, list(), true);
  EXPECT_FALSE(again.applied);
  EXPECT_TRUE(again.comparison.empty());
  EXPECT_EQ(again.comparison.unchanged, 4);
  EXPECT_EQ(again.comparison.absent.size(), 1u);
}

TEST_F(BankImportTest, aConflictingConcurrentChangeRefusesTheWholeImport) {
  auto other = db::open(dbPath);
  // Someone renames a bank the import renames too, between its read and its write.
  std::string before;
  EXPECT_THROW_MSG(
      importBanks(*conn, list(), true,
                  [&] {
                    other->execute("UPDATE BANCO SET NMBANCO = 'ITAU' WHERE CDBANCO = '341'");
                    before = dump();
                  }),
      ApplicationError,
      HasSubstr("Importação recusada, nada foi gravado: Conflito em BANCO "
                "(CDBANCO=341): o registro foi alterado por outro usuário"));
  EXPECT_EQ(dump(), before);

  // Someone adds a bank the import adds: the other addition and the rename stay out too.
  EXPECT_THROW_MSG(
      importBanks(*conn, list(), true,
                  [&] {
                    other->execute(
                        "INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB) "
                        "VALUES ('077', 'INTER', '9999', '9999-9', '077')");
                    before = dump();
                  }),
      ApplicationError,
      "Importação recusada, nada foi gravado: Registro já cadastrado em BANCO (CDBANCO=077).");
  EXPECT_EQ(dump(), before);
}

TEST_F(BankImportTest, commandPrintsTheGroupsAndADryRunWritesNothing) {
  const std::string before = dump();
  const auto [status, out] = command(true);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(dump(), before);
  EXPECT_THAT(out, HasSubstr("4 instituições com código; 1 sem código, deixadas de fora."));
  EXPECT_THAT(out,
              HasSubstr("A incluir (2):\n  077  Banco Inter S.A.                agência 9999"));
  EXPECT_THAT(out, HasSubstr("[nome curto; na lista: SANTINVEST S.A. - CREDITO, FINANCIAMENTO E "
                             "INVESTIMENTOS]"));
  EXPECT_THAT(out, HasSubstr("Com nome diferente (1):\n  341  ITAÚ UNIBANCO S.A.             -> "
                             "Itaú Unibanco Holding S.A.\n"));
  EXPECT_THAT(out, HasSubstr("Fora da lista, mantidos (1):\n  104  CAIXA ECONÔMICA FEDERAL\n"));
  EXPECT_THAT(out, HasSubstr("Simulação (--dry-run): nada foi gravado."));

  const auto [applyStatus, applied] = command(false);
  EXPECT_EQ(applyStatus, 0);
  EXPECT_THAT(applied, HasSubstr("Gravado numa única transação: 2 banco(s) incluído(s), 1 "
                                 "renomeado(s)"));
  EXPECT_EQ(fetch("GetBanco").rows.size(), 5u);
}

}  // namespace
}  // namespace qbk::server::testing
