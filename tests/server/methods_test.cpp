// What each read method answers: the record sets' fields in order and size, the rows of
// the requested bank only, in key order.
#include <gmock/gmock.h>

#include <fstream>

#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

using data::FieldType;
using data::Packet;
using data::Value;
using data::Variant;
using ::testing::ElementsAre;

std::vector<std::string> names(const Packet& p) {
  std::vector<std::string> n;
  for (const auto& f : p.fields) n.push_back(f.name);
  return n;
}

std::vector<Value> column(const Packet& p, const std::string& field) {
  std::vector<Value> values;
  for (const auto& row : p.rows) values.push_back(cell(p, row, field));
  return values;
}

int sizeOf(const Packet& p, const std::string& field) {
  const int i = p.fieldIndex(field);
  return i < 0 ? -1 : p.fields[i].size;
}

using MethodsTest = ServerTest;

TEST_P(MethodsTest, getBancoAnswersEveryBankInCodeOrderWithTheBankRecordFields) {
  const Packet p = fetch("GetBanco");
  EXPECT_THAT(names(p), ElementsAre("CDPICTAGEN", "CDBANCO", "NMBANCO", "CDPICTCONT", "CDBANCCNAB",
                                    "QTDIAPRORCNT", "DSARQBOLCOMP", "DSARQBOLPREI", "DSARQCHEQUE",
                                    "DSARQBORDREC", "DSARQBORDPAG", "DSARQBORDCHQ", "CDBANCOCONV",
                                    "DSDIRIMPARQDDA", "DSEMAILDDA", "DSARQLOGMAR"));
  EXPECT_EQ(sizeOf(p, "CDPICTAGEN"), 10);
  EXPECT_EQ(sizeOf(p, "NMBANCO"), 30);
  EXPECT_EQ(sizeOf(p, "DSARQCHEQUE"), 100);
  EXPECT_EQ(sizeOf(p, "DSARQLOGMAR"), 250);
  EXPECT_EQ(p.fields[p.fieldIndex("QTDIAPRORCNT")].type, FieldType::Float);
  EXPECT_THAT(column(p, "CDBANCO"), ElementsAre(Value("001"), Value("104"), Value("341")));

  const auto bb = rowWhere(p, "CDBANCO", "001");
  EXPECT_EQ(cell(p, bb, "QTDIAPRORCNT"), Value(5.0));
  EXPECT_EQ(cell(p, bb, "DSARQCHEQUE"), Value("/opt/qbk/modelos/cheque_bb.qr2"));
  EXPECT_EQ(cell(p, bb, "DSEMAILDDA"), Value("dda@empresa.com.br"));
  const auto caixa = rowWhere(p, "CDBANCO", "104");
  EXPECT_EQ(cell(p, caixa, "NMBANCO"), Value("CAIXA ECONÔMICA FEDERAL"));
  EXPECT_TRUE(data::isNull(cell(p, caixa, "QTDIAPRORCNT")));
  EXPECT_TRUE(data::isNull(cell(p, caixa, "DSARQLOGMAR")));
}

TEST_P(MethodsTest, codeTablesHoldOnlyTheRequestedBankInCodeOrder) {
  const Packet pag = fetch("GetErrCnabPag", {"001"});
  EXPECT_THAT(names(pag), ElementsAre("CDBANCO", "CDERRCNABP", "DSERRCNABP"));
  EXPECT_EQ(sizeOf(pag, "CDERRCNABP"), 10);
  EXPECT_EQ(sizeOf(pag, "DSERRCNABP"), 200);
  EXPECT_THAT(column(pag, "CDERRCNABP"), ElementsAre(Value("02"), Value("03")));
  EXPECT_THAT(column(pag, "CDBANCO"), ElementsAre(Value("001"), Value("001")));

  const Packet rec = fetch("GetErrCnabRec", {"001"});
  EXPECT_THAT(names(rec), ElementsAre("CDBANCO", "CDERRCNABR", "DSERRCNABR"));
  EXPECT_THAT(column(rec, "DSERRCNABR"), ElementsAre(Value("Liquidação normal"), Value("Baixa")));

  const Packet instr = fetch("GetInstruCobr", {"001"});
  EXPECT_THAT(names(instr), ElementsAre("CDBANCO", "NMINSTCOBR", "CDINSTCOBR"));
  EXPECT_EQ(sizeOf(instr, "NMINSTCOBR"), 100);
  EXPECT_EQ(sizeOf(instr, "CDINSTCOBR"), 2);
  EXPECT_THAT(column(instr, "CDINSTCOBR"), ElementsAre(Value("01"), Value("06")));

  EXPECT_TRUE(fetch("GetErrCnabRec", {"341"}).rows.empty());
  EXPECT_TRUE(fetch("GetInstruCobr", {"999"}).rows.empty());
  EXPECT_EQ(fetch("GetErrCnabPag", {"999"}).fields.size(), 3u)
      << "an empty answer keeps its fields";
}

TEST_P(MethodsTest, existenceChecksMatchTheCodeExactlyAsTyped) {
  EXPECT_EQ(fetch("GetCodigoPag", {"001", "02"}).rows.size(), 1u);
  EXPECT_TRUE(fetch("GetCodigoPag", {"001", "2"}).rows.empty());
  EXPECT_TRUE(fetch("GetCodigoPag", {"104", "02"}).rows.empty());
  EXPECT_EQ(fetch("GetCodigoRec", {"001", "09"}).rows.size(), 1u);
  EXPECT_TRUE(fetch("GetCodigoRec", {"001", "02"}).rows.empty()) << "payables code only";

  const Packet verif = fetch("VerifInstru", {"001", "06"});
  EXPECT_THAT(names(verif), ElementsAre("CDBANCO", "CDINSTCOBR", "NMINSTCOBR"));
  EXPECT_EQ(verif.rows.size(), 1u);
  EXPECT_TRUE(fetch("VerifInstru", {"001", "6"}).rows.empty());
  EXPECT_TRUE(fetch("VerifInstru", {"104", "06"}).rows.empty());
}

TEST_P(MethodsTest, instructionSearchListsTheBankWithAnEmptyCodeAndMatchesOneOtherwise) {
  const Packet all = fetch("GetPesqInstru", {"001", ""});
  EXPECT_THAT(names(all), ElementsAre("CDINSTCOBR", "NMINSTCOBR", "CDBANCO"));
  EXPECT_THAT(column(all, "CDINSTCOBR"), ElementsAre(Value("01"), Value("06")));

  const Packet one = fetch("GetPesqInstru", {"001", "06"});
  ASSERT_EQ(one.rows.size(), 1u);
  EXPECT_EQ(cell(one, one.rows[0], "NMINSTCOBR"), Value("Protestar após 5 dias"));
  EXPECT_TRUE(fetch("GetPesqInstru", {"001", "99"}).rows.empty());
  EXPECT_TRUE(fetch("GetPesqInstru", {"001", " "}).rows.empty()) << "only \"\" means all";
}

TEST_P(MethodsTest, companySettingsListEveryCompanyWithEmptySettingsWhereItHasNone) {
  const Packet p = fetch("GetEmprBanc", {"001"});
  EXPECT_THAT(names(p),
              ElementsAre("CDDIADEVOL", "CDCOMPROMISSO", "CDEMPRESA", "NMEMPRESA", "CDBANCO",
                          "CDEMPBANCPAG", "CDEMPBANCREC", "CDCARTCOBR", "CDINS1COBR", "CDINS2COBR",
                          "QTDIAPROTEST", "IDIMPRBOLETO", "IDPADRCNABREC", "IDCARTCOBR",
                          "TXMENSBOLETO", "CDDIAPROTEST", "IDFORMCADBANC", "IDLAYEXTBANCO",
                          "NRVARIACARTCOB", "IDLAYOUTCNAB", "CDFORNECED", "NMRAZSOCFORN",
                          "IDTPIJURFORN", "NRINSJURFORN", "CDTPBAIXAPAG", "NMTPBAIXAPAG",
                          "CDREDUCONT", "CDBANCODDA", "CDAGENCIA", "IDCONSDTENVREM",
                          "IDPADRAGENCNABPAG", "CDCONTCORR", "DSCONTCORR", "IDPADRCNABPAG",
                          "IDGERLINHACOMP", "QTDIADEVOL", "IDREGSEGSCOB", "IDGERLINHACOBEMAIL"));
  EXPECT_EQ(sizeOf(p, "NMEMPRESA"), 40);
  EXPECT_EQ(sizeOf(p, "TXMENSBOLETO"), 500);
  EXPECT_EQ(sizeOf(p, "IDPADRCNABPAG"), 20);
  EXPECT_THAT(column(p, "CDEMPRESA"),
              ElementsAre(Value("00"), Value("01"), Value("02"), Value("03")));
  EXPECT_THAT(column(p, "CDBANCO"),
              ElementsAre(Value("001"), Value("001"), Value("001"), Value("001")));

  const auto alfa = rowWhere(p, "CDEMPRESA", "01");
  EXPECT_EQ(cell(p, alfa, "NMEMPRESA"), Value("COMERCIAL ALFA LTDA"));
  EXPECT_EQ(cell(p, alfa, "CDCARTCOBR"), Value("017"));
  EXPECT_EQ(cell(p, alfa, "QTDIAPROTEST"), Value(10.0));

  // Company 02 has settings, but for another bank: here it gets an empty row.
  const auto beta = rowWhere(p, "CDEMPRESA", "02");
  EXPECT_EQ(cell(p, beta, "NMEMPRESA"), Value("BETA INDÚSTRIA S.A."));
  for (std::size_t i = 0; i < p.fields.size(); ++i) {
    const std::string& f = p.fields[i].name;
    if (f == "CDEMPRESA" || f == "NMEMPRESA" || f == "CDBANCO") continue;
    EXPECT_TRUE(data::isNull(beta[i])) << f;
  }

  EXPECT_TRUE(fetch("GetEmprBanc", {"999"}).rows.empty())
      << "no rows for a bank that does not exist";
}

TEST_P(MethodsTest, ddaFlagSaysWhetherTheSharedDirectoryExistsOnTheServer) {
  auto dda = [&](const std::string& bank) {
    const auto r = call("GetBancoDDA", {Variant(bank)});
    EXPECT_TRUE(r.ok) << r.errorMessage;
    const auto& a = r.result.asArray();
    EXPECT_EQ(a.size(), 2u);
    return std::make_pair(a.at(0).asString(), a.at(1).asPacket());
  };
  const std::string existing = dir.path().string();
  const std::string missing = (dir.path() / "nao-existe").string();

  exec("UPDATE BANCO SET DSDIRIMPARQDDA = ?, DSDIRIMPARQDDALOCAL = ? WHERE CDBANCO = '001'",
       {existing, "C:\\DDA"});
  auto [flag, p] = dda("001");
  EXPECT_EQ(flag, "S");
  EXPECT_THAT(names(p),
              ElementsAre("DSDIRIMPARQDDA", "DSEMAILDDA", "DSDIRIMPARQDDALOCAL", "CDBANCO"));
  EXPECT_EQ(sizeOf(p, "CDBANCO"), 20);
  ASSERT_EQ(p.rows.size(), 1u);
  EXPECT_EQ(p.rows[0], (data::Row{existing, "dda@empresa.com.br", "C:\\DDA", "001"}));

  exec("UPDATE BANCO SET DSDIRIMPARQDDA = ? WHERE CDBANCO = '001'", {missing});
  EXPECT_EQ(dda("001").first, "N");
  const std::string file = dir.file("arquivo.txt");
  std::ofstream(file) << "x";
  exec("UPDATE BANCO SET DSDIRIMPARQDDA = ? WHERE CDBANCO = '001'", {file});
  EXPECT_EQ(dda("001").first, "N") << "a file is not a directory";
  exec("UPDATE BANCO SET DSDIRIMPARQDDA = '   ' WHERE CDBANCO = '001'");
  EXPECT_EQ(dda("001").first, "S") << "a blank directory is not configured";
  EXPECT_EQ(dda("104").first, "S") << "no directory configured";
  auto [unknownFlag, unknown] = dda("999");
  EXPECT_EQ(unknownFlag, "S");
  EXPECT_TRUE(unknown.rows.empty());
}

TEST_P(MethodsTest, standardMessageGoesToEverySettingOfBanksWithThatClearingCode) {
  // A second bank sharing clearing-house code 001, with settings for two companies.
  exec("INSERT INTO BANCO (CDBANCO, NMBANCO, CDBANCCNAB) VALUES ('B01', 'BB FILIAL', '001')");
  exec("INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO, CDCARTCOBR) VALUES ('02', 'B01', '018')");
  exec("INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO) VALUES ('03', 'B01')");

  const auto r = call("ExecProcMsgPadraoBanco", {"001"});
  ASSERT_TRUE(r.ok) << r.errorMessage;
  EXPECT_TRUE(r.result.isNull());

  const auto rows = conn->query(
                            "SELECT CDEMPRESA, CDBANCO, TXMENSBOLETO FROM EMPRBANC "
                            "ORDER BY CDBANCO, CDEMPRESA")
                        .rows;
  const Value msg("Não receber após o vencimento.");
  EXPECT_EQ(
      rows,
      (std::vector<data::Row>{
          {"01", "001", msg}, {"02", "341", Value()}, {"02", "B01", msg}, {"03", "B01", msg}}))
      << "existing settings only; bank 341 has another clearing code";
}

TEST_P(MethodsTest, standardMessageOfAnUnknownClearingCodeIsRefusedAndChangesNothing) {
  const std::string before = dump();
  const auto r = call("ExecProcMsgPadraoBanco", {"237"});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorCode, data::rpc_code::kApplication);
  EXPECT_EQ(r.errorMessage,
            "Não há mensagem padrão cadastrada para o código de compensação '237'.");
  EXPECT_EQ(dump(), before);
}

INSTANTIATE_TEST_SUITE_P(Engines, MethodsTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server::testing
