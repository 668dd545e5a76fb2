// Reading both list formats with the faults real copies have.
#include "banklist/bank_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include "banklist/list_error.h"
#include "support/expect_throw.h"
#include "support/temp_dir.h"

namespace qbk::banklist {
namespace {

using ::qbk::testing::TempDir;
using ::testing::HasSubstr;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kStrHeader =
    "ISPB,Nome_Reduzido,Número_Código,Participa_da_Compe,Acesso_Principal,Nome_Extenso,"
    "Início_da_Operação\n";
const std::string kShippedHeader =
    "COMPE,ISPB,Document,LongName,ShortName,Network,Type,Charge,DateOperationStarted\n";

std::string written(const TempDir& dir, const std::string& name, const std::string& content) {
  const std::string path = dir.file(name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST(BankListRead, centralBankFileAsDownloaded) {
  TempDir dir;
  // A byte-order mark, "n/a" for institutions without a code, long names padded with blanks,
  // codes and ISPBs that a copy stripped of their leading zeros, CRLF line ends.
  const std::string path = written(
      dir, "ParticipantesSTR.csv",
      kBom + kStrHeader +
          "00000000,BCO DO BRASIL S.A.,1,Sim,RSFN,Banco do Brasil S.A.                    ,"
          "22/04/2002\r\n"
          "00038121,Selic,n/a,Não,RSFN,Banco Central do Brasil - Selic          ,22/04/2002\r\n"
          "416968,BANCO INTER,77,Sim,RSFN,Banco Inter S.A.   ,25/11/2003\r\n"
          "60746948,BCO BRADESCO S.A.,237,Sim,RSFN,\"Banco Bradesco S.A.\",22/04/2002\r\n"
          "00360305,CAIXA ECONOMICA FEDERAL,104,Sim,RSFN,CAIXA  ECONOMICA   "
          "FEDERAL,22/04/2002\r\n");
  const BankList list = readBankListFile(path);
  EXPECT_EQ(list.format, ListFormat::CentralBank);
  EXPECT_EQ(list.withoutCode, 1);
  ASSERT_EQ(list.institutions.size(), 4u);
  EXPECT_EQ(list.institutions[0].code, "001");
  EXPECT_EQ(list.institutions[0].longName, "Banco do Brasil S.A.");
  EXPECT_EQ(list.institutions[0].shortName, "BCO DO BRASIL S.A.");
  EXPECT_EQ(list.institutions[0].line, 2);
  EXPECT_EQ(list.institutions[1].code, "077");
  EXPECT_EQ(list.institutions[1].longName, "Banco Inter S.A.");
  EXPECT_EQ(list.institutions[2].code, "104");
  EXPECT_EQ(list.institutions[2].longName, "CAIXA ECONOMICA FEDERAL");
  EXPECT_EQ(list.institutions[3].code, "237");
}

TEST(BankListRead, spreadsheetCopiesSavedAgain) {
  // Semicolons and Windows-1252, as a spreadsheet on Brazilian Windows saves; no mark.
  const std::string cp1252 =
      "ISPB;Nome_Reduzido;N\xFAmero_C\xF3"
      "digo;Participa_da_Compe;Acesso_Principal;"
      "Nome_Extenso;In\xED"
      "cio_da_Opera\xE7\xE3o\n"
      "4902979;BCO DA AMAZONIA S.A.;3;Sim;RSFN;Banco da Amaz\xF4nia S.A.;22/04/2002\n";
  const BankList list = parseBankList(cp1252);
  ASSERT_EQ(list.institutions.size(), 1u);
  EXPECT_EQ(list.institutions[0].code, "003");
  EXPECT_EQ(list.institutions[0].longName, "Banco da Amazônia S.A.");

  // The shipped list, quoted fields holding the delimiter and a line break.
  const BankList shipped = parseBankList(
      kShippedHeader +
      "654,92874270,92.874.270/0001-40,\"Banco Digimais S.A., antigo Renner\",BCO DIGIMAIS "
      "S.A.,RSFN,Banco Múltiplo,Sim,2002-04-22\n"
      "\n"
      "036,06271464,06.271.464/0001-19,\"Banco Bradesco BBI\nS.A.\",BCO BBI S.A.,RSFN,,,"
      "2004-08-31\n"
      "0077,00416968,00.416.968/0001-01,Banco Inter S.A.,BANCO INTER,RSFN,,Sim,2003-11-25\n");
  EXPECT_EQ(shipped.format, ListFormat::Shipped);
  ASSERT_EQ(shipped.institutions.size(), 3u);
  EXPECT_EQ(shipped.institutions[0].code, "036");
  EXPECT_EQ(shipped.institutions[0].longName, "Banco Bradesco BBI\nS.A.");
  EXPECT_EQ(shipped.institutions[0].line, 4);
  EXPECT_EQ(shipped.institutions[1].code, "077");
  EXPECT_EQ(shipped.institutions[1].line, 6);
  EXPECT_EQ(shipped.institutions[2].longName, "Banco Digimais S.A., antigo Renner");
}

TEST(BankListRead, badInputNamesTheLine) {
  EXPECT_THROW_MSG(parseBankList(""), ListError, "O arquivo está vazio.");
  EXPECT_THROW_MSG(parseBankList("\n\n"), ListError, "O arquivo está vazio.");
  EXPECT_THROW_MSG(
      parseBankList("Codigo,Nome\n001,Banco do Brasil\n"), ListError,
      HasSubstr("Linha 1: formato não reconhecido. Esperado o arquivo de participantes "
                "do STR do Banco Central (cabeçalho ISPB,Nome_Reduzido,Número_Código,"));
  EXPECT_THROW_MSG(
      parseBankList(kStrHeader + "00000000,BCO DO BRASIL S.A.,1,Sim,RSFN,Banco do Brasil S.A.\n"),
      ListError, "Linha 2: 6 campo(s), mas o cabeçalho tem 7.");
  EXPECT_THROW_MSG(
      parseBankList(kStrHeader + "00000000,BB,1,Sim,RSFN,Banco do Brasil S.A.,22/04/2002\n" +
                    "00416968,INTER,77,Sim,RSFN,Banco Inter S.A.,25/11/2003\n" +
                    "00000001,OUTRO,001,Sim,RSFN,Outro Banco S.A.,01/01/2020\n"),
      ListError, "Linha 4: código 001 repetido (já na linha 2).");
  EXPECT_THROW_MSG(parseBankList(kStrHeader + "12345678,X,1234,Sim,RSFN,Banco X,01/01/2020\n"),
                   ListError, "Linha 2: o código \"1234\" não é um código de três dígitos.");
  EXPECT_THROW_MSG(parseBankList(kShippedHeader + "\n7a,1,2,Banco,BCO,RSFN,,,\n"), ListError,
                   "Linha 3: o código \"7a\" não é um código de três dígitos.");
  EXPECT_THROW_MSG(parseBankList(kShippedHeader + ",1,2,Banco,BCO,RSFN,,,\n"), ListError,
                   "Linha 2: código do banco vazio.");
  EXPECT_THROW_MSG(parseBankList(kShippedHeader + "001,1,2, , ,RSFN,,,\n"), ListError,
                   "Linha 2: a instituição de código 001 não tem nome.");
  EXPECT_THROW_MSG(parseBankList(kShippedHeader + "001,1,2,\"Banco do Brasil,BCO,RSFN,,,\n"),
                   ListError, "Linha 2: aspas abertas e não fechadas.");
  EXPECT_THROW_MSG(readBankListFile("/nao/existe.csv"), ListError,
                   "Não foi possível abrir o arquivo \"/nao/existe.csv\".");
}

TEST(BankListRead, builtInListHoldsEveryShippedInstitution) {
  const BankList list = builtInBankList();
  EXPECT_EQ(list.format, ListFormat::Shipped);
  EXPECT_EQ(list.institutions.size(), 511u);
  for (std::size_t i = 1; i < list.institutions.size(); ++i)
    EXPECT_LT(list.institutions[i - 1].code, list.institutions[i].code);
}

}  // namespace
}  // namespace qbk::banklist
