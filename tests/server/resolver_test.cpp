// Writing deltas: all of a delta or nothing, optimistic checks against what the client
// read, and refusals that name the table and key and leave the database as it was.
#include <gmock/gmock.h>

#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

using data::Change;
using data::Delta;
using data::FieldType;
using data::Packet;
using data::Row;
using data::Value;
using data::Variant;
using ::testing::HasSubstr;

using ResolverTest = ServerTest;

Row newBank(const Packet& like, const std::string& code, const std::string& name) {
  Row row(like.fields.size());
  row = with(like, row, "CDBANCO", code);
  row = with(like, row, "NMBANCO", name);
  row = with(like, row, "CDBANCCNAB", code);
  row = with(like, row, "CDPICTCONT", "99999-9");
  return with(like, row, "CDPICTAGEN", "9999");
}

TEST_P(ResolverTest, bankInsertUpdateAndDeleteRoundTrip) {
  const Packet banks = fetch("GetBanco");
  Row sicoob =
      with(banks, newBank(banks, "756", "BANCO COOPERATIVO SICOOB S.A."), "QTDIAPRORCNT", 2.0);
  ASSERT_EQ(apply("SetBanco", setBancoArgs(insertDelta(banks, sicoob))), "");
  Packet after = fetch("GetBanco");
  EXPECT_EQ(rowWhere(after, "CDBANCO", "756"), sicoob);

  Row renamed = with(after, sicoob, "NMBANCO", "SICOOB");
  renamed = with(after, renamed, "QTDIAPRORCNT", Value());  // cleared: stored as null
  ASSERT_EQ(apply("SetBanco", setBancoArgs(updateDelta(after, sicoob, renamed))), "");
  after = fetch("GetBanco");
  EXPECT_EQ(rowWhere(after, "CDBANCO", "756"), renamed);

  ASSERT_EQ(apply("SetBanco", setBancoArgs(deleteDelta(after, renamed))), "");
  EXPECT_EQ(fetch("GetBanco").rows.size(), 3u);
}

TEST_P(ResolverTest, oneDeltaIsWrittenWhollyOrNotAtAll) {
  const Packet banks = fetch("GetBanco");
  const Row caixa = rowWhere(banks, "CDBANCO", "104");
  Delta d{banks.fields, {}};
  d.changes.push_back({Change::Op::Insert, {}, newBank(banks, "756", "SICOOB")});
  d.changes.push_back({Change::Op::Update, caixa, with(banks, caixa, "NMBANCO", "CAIXA")});
  d.changes.push_back({Change::Op::Insert, {}, newBank(banks, "001", "DUPLICADO")});
  const std::string before = dump();
  EXPECT_EQ(apply("SetBanco", setBancoArgs(d)), "Registro já cadastrado em BANCO (CDBANCO=001).");
  EXPECT_EQ(dump(), before) << "the insert and update before the refusal were rolled back";
}

TEST_P(ResolverTest, aKeyFreedByADeleteCanBeInsertedInTheSameDelta) {
  const Packet codes = fetch("GetErrCnabPag", {"001"});
  const Row old = rowWhere(codes, "CDERRCNABP", "02");
  Delta d{codes.fields, {}};
  // Sent insert first; deletes still run before inserts.
  d.changes.push_back({Change::Op::Insert, {}, with(codes, old, "DSERRCNABP", "Nova")});
  d.changes.push_back({Change::Op::Delete, old, {}});
  ASSERT_EQ(apply("SetErrCnabPag", {Variant(d)}), "");
  EXPECT_EQ(
      cell(codes, rowWhere(fetch("GetErrCnabPag", {"001"}), "CDERRCNABP", "02"), "DSERRCNABP"),
      Value("Nova"));
}

TEST_P(ResolverTest, secondEditOfTheSameFieldIsRefusedAsAConflictAndWritesNothing) {
  const Packet readByA = fetch("GetBanco");
  const Packet readByB = fetch("GetBanco");
  const Row bbA = rowWhere(readByA, "CDBANCO", "001");
  const Row bbB = rowWhere(readByB, "CDBANCO", "001");

  ASSERT_EQ(apply("SetBanco",
                  setBancoArgs(updateDelta(readByA, bbA, with(readByA, bbA, "NMBANCO", "BB")))),
            "");

  // B changes the same name and, in the same delta, inserts another bank.
  Delta d = updateDelta(readByB, bbB, with(readByB, bbB, "NMBANCO", "BANCO DO BRASIL"));
  d.changes.push_back({Change::Op::Insert, {}, newBank(readByB, "756", "SICOOB")});
  const std::string before = dump();
  EXPECT_EQ(apply("SetBanco", setBancoArgs(d)),
            "Conflito em BANCO (CDBANCO=001): o registro foi alterado por outro usuário desde "
            "a leitura (campos alterados: NMBANCO). Nada foi gravado; leia os dados "
            "novamente.");
  EXPECT_EQ(dump(), before);
  EXPECT_EQ(cell(readByA, rowWhere(fetch("GetBanco"), "CDBANCO", "001"), "NMBANCO"), Value("BB"));
}

TEST_P(ResolverTest, editsOfDifferentFieldsOfOneRowByTwoClientsBothSurvive) {
  const Packet read = fetch("GetBanco");
  const Row bb = rowWhere(read, "CDBANCO", "001");
  ASSERT_EQ(apply("SetBanco", setBancoArgs(updateDelta(read, bb, with(read, bb, "NMBANCO", "BB")))),
            "");
  ASSERT_EQ(apply("SetBanco",
                  setBancoArgs(updateDelta(read, bb, with(read, bb, "DSARQCHEQUE", Value())))),
            "");
  const Row now = rowWhere(fetch("GetBanco"), "CDBANCO", "001");
  EXPECT_EQ(cell(read, now, "NMBANCO"), Value("BB"));
  EXPECT_TRUE(data::isNull(cell(read, now, "DSARQCHEQUE")));
}

TEST_P(ResolverTest, changesToARowDeletedMeanwhileAreRefused) {
  const Packet codes = fetch("GetErrCnabRec", {"001"});
  const Row baixa = rowWhere(codes, "CDERRCNABR", "09");
  exec("DELETE FROM ERRCNABR WHERE CDERRCNABR = '09'");
  const std::string deleted =
      "Conflito em ERRCNABR (CDBANCO=001, CDERRCNABR=09): o registro foi excluído por outro "
      "usuário desde a leitura. Nada foi gravado; leia os dados novamente.";
  EXPECT_EQ(apply("SetErrCnabRec",
                  {Variant(updateDelta(codes, baixa, with(codes, baixa, "DSERRCNABR", "x")))}),
            deleted);
  EXPECT_EQ(apply("SetErrCnabRec", {Variant(deleteDelta(codes, baixa))}), deleted);
}

TEST_P(ResolverTest, deleteOfARowChangedMeanwhileIsRefusedNamingTheChange) {
  const Packet instr = fetch("GetInstruCobr", {"001"});
  exec(
      "UPDATE INSTCOBRANCA SET NMINSTCOBR = 'Outro nome' WHERE CDBANCO = '001' AND "
      "CDINSTCOBR = '01'");
  EXPECT_EQ(
      apply("SetInstruCobr", {Variant(deleteDelta(instr, rowWhere(instr, "CDINSTCOBR", "01")))}),
      "Conflito em INSTCOBRANCA (CDBANCO=001, CDINSTCOBR=01): o registro foi alterado "
      "por outro usuário desde a leitura (campos alterados: NMINSTCOBR). Nada foi "
      "gravado; leia os dados novamente.");
  EXPECT_EQ(fetch("GetInstruCobr", {"001"}).rows.size(), 2u);
}

TEST_P(ResolverTest, aBankInUseCannotBeDeletedAndOneNotInUseTakesItsCodesAlong) {
  const Packet banks = fetch("GetBanco");
  const std::string before = dump();
  EXPECT_EQ(apply("SetBanco", setBancoArgs(deleteDelta(banks, rowWhere(banks, "CDBANCO", "341")))),
            "BANCO (CDBANCO=341) está em uso e não pode ser excluído.");
  EXPECT_EQ(dump(), before);

  ASSERT_EQ(apply("SetBanco", setBancoArgs(deleteDelta(banks, rowWhere(banks, "CDBANCO", "001")))),
            "");
  EXPECT_TRUE(fetch("GetErrCnabPag", {"001"}).rows.empty());
  EXPECT_TRUE(fetch("GetInstruCobr", {"001"}).rows.empty());
}

TEST_P(ResolverTest, refusedDeltasNameTheProblemAndLeaveTheDatabaseAsItWas) {
  const Packet banks = fetch("GetBanco");
  const Row bb = rowWhere(banks, "CDBANCO", "001");
  const std::string before = dump();
  auto setBanco = [&](Delta d) { return apply("SetBanco", setBancoArgs(std::move(d))); };

  // 31 characters, 4 of them two bytes long.
  const std::string tooLong = "CAIXA ECONÔMICA FEDERAL ÁÉÍ S.A";
  ASSERT_EQ(data::utf8Length(tooLong), 31u);
  EXPECT_EQ(setBanco(updateDelta(banks, bb, with(banks, bb, "NMBANCO", tooLong))),
            "Valor de NMBANCO em BANCO (CDBANCO=001) tem 31 caracteres; o máximo é 30.");

  Delta unknown = updateDelta(banks, bb, bb);
  unknown.fields[2].name = "NMBANCOX";
  EXPECT_EQ(setBanco(unknown), "Campo desconhecido 'NMBANCOX' em BANCO.");

  Delta wrongType = updateDelta(banks, bb, with(banks, bb, "NMBANCO", 7.0));
  wrongType.fields[2].type = FieldType::Float;
  wrongType.changes[0].oldRow[2] = 1.0;
  EXPECT_EQ(setBanco(wrongType), "Campo 'NMBANCO' de BANCO deve ser texto.");

  Delta noKey = updateDelta(banks, bb, with(banks, bb, "NMBANCO", "BB"));
  noKey.fields.erase(noKey.fields.begin() + 1);
  noKey.changes[0].oldRow.erase(noKey.changes[0].oldRow.begin() + 1);
  noKey.changes[0].newRow.erase(noKey.changes[0].newRow.begin() + 1);
  EXPECT_EQ(setBanco(noKey), "As alterações de BANCO não trazem o campo-chave CDBANCO.");

  EXPECT_EQ(
      setBanco(insertDelta(banks, with(banks, newBank(banks, "756", "X"), "CDBANCO", Value()))),
      "Campo-chave CDBANCO de BANCO deve ser informado.");
  EXPECT_EQ(setBanco(insertDelta(banks, with(banks, newBank(banks, "756", "X"), "CDBANCO", "  "))),
            "Campo-chave CDBANCO de BANCO deve ser informado.");
  EXPECT_EQ(setBanco(updateDelta(banks, bb, with(banks, bb, "NMBANCO", Value()))),
            "Campo NMBANCO de BANCO (CDBANCO=001) deve ser informado.");
  EXPECT_EQ(setBanco(updateDelta(banks, bb, with(banks, bb, "CDBANCO", "002"))),
            "A chave de BANCO (CDBANCO=001) não pode ser alterada (novo CDBANCO=002).");

  // An insert that does not carry a required column would store it as null.
  Delta noName = insertDelta(banks, newBank(banks, "756", "X"));
  noName.fields.erase(noName.fields.begin() + 2);
  noName.changes[0].newRow.erase(noName.changes[0].newRow.begin() + 2);
  EXPECT_EQ(setBanco(noName), "Campo NMBANCO de BANCO (CDBANCO=756) deve ser informado.");

  EXPECT_EQ(dump(), before);
}

TEST_P(ResolverTest, textsCountCharactersSoAccentedNamesUpToTheSizeFit) {
  const Packet banks = fetch("GetBanco");
  const Row bb = rowWhere(banks, "CDBANCO", "001");
  const std::string thirty = "AÇÃO ÉÉÉ ÍÍÍ ÓÓÓ ÚÚÚ ÂÂÂ ÊÊÊ Ô";  // 30 characters, 52 bytes
  ASSERT_EQ(data::utf8Length(thirty), 30u);
  ASSERT_EQ(
      apply("SetBanco", setBancoArgs(updateDelta(banks, bb, with(banks, bb, "NMBANCO", thirty)))),
      "");
  EXPECT_EQ(cell(banks, rowWhere(fetch("GetBanco"), "CDBANCO", "001"), "NMBANCO"), Value(thirty));
}

TEST_P(ResolverTest, setBancoAcceptsOnlyEmptyOrTheFieldNameAtEachNullablePosition) {
  const Packet banks = fetch("GetBanco");
  const Row caixa = rowWhere(banks, "CDBANCO", "104");
  const Delta d = updateDelta(banks, caixa, with(banks, caixa, "NMBANCO", "CEF"));

  auto args = setBancoArgs(d);
  args[3] = Variant("DSARQCHEQUE");
  args[9] = Variant("CDBANCOCONV");
  EXPECT_EQ(apply("SetBanco", args), "");

  args = setBancoArgs(d);
  args[3] = Variant("DSARQBOLCOMP");  // a name, but not the one of the third position
  const std::string before = dump();
  const auto r = call("SetBanco", args);
  EXPECT_EQ(r.errorCode, data::rpc_code::kInvalidParams);
  EXPECT_EQ(r.errorMessage,
            "SetBanco: o parâmetro 4 deve ser \"\" ou \"DSARQCHEQUE\", recebeu \"DSARQBOLCOMP\".");
  EXPECT_EQ(dump(), before);
}

TEST_P(ResolverTest, unchangedUpdateWritesNothingEvenIfTheRowChangedMeanwhile) {
  const Packet banks = fetch("GetBanco");
  const Row bb = rowWhere(banks, "CDBANCO", "001");
  exec("UPDATE BANCO SET NMBANCO = 'OUTRO' WHERE CDBANCO = '001'");
  EXPECT_EQ(apply("SetBanco", setBancoArgs(updateDelta(banks, bb, bb))), "");
  EXPECT_EQ(cell(banks, rowWhere(fetch("GetBanco"), "CDBANCO", "001"), "NMBANCO"), Value("OUTRO"));
}

TEST_P(ResolverTest, codeTablesAcceptNewCodesThatTheExistenceChecksThenFind) {
  const Packet pag = fetch("GetErrCnabPag", {"104"});
  ASSERT_EQ(apply("SetErrCnabPag", {Variant(insertDelta(pag, {"104", "A1", "Agendado"}))}), "");
  EXPECT_EQ(fetch("GetCodigoPag", {"104", "A1"}).rows.size(), 1u);

  const Packet rec = fetch("GetErrCnabRec", {"104"});
  ASSERT_EQ(apply("SetErrCnabRec", {Variant(insertDelta(rec, {"104", "A1", "Liquidado"}))}), "");
  EXPECT_EQ(fetch("GetCodigoRec", {"104", "A1"}).rows.size(), 1u);

  const Packet instr = fetch("GetInstruCobr", {"104"});
  ASSERT_EQ(apply("SetInstruCobr", {Variant(insertDelta(instr, {"104", "Protestar", "09"}))}), "");
  EXPECT_EQ(fetch("VerifInstru", {"104", "09"}).rows.size(), 1u);
}

TEST_P(ResolverTest, rowsOfABankThatDoesNotExistAreRefusedNamingTheBank) {
  const std::string before = dump();
  const Packet pag = fetch("GetErrCnabPag", {"104"});
  EXPECT_EQ(apply("SetErrCnabPag", {Variant(insertDelta(pag, {"777", "A1", "Agendado"}))}),
            "O banco 777 não está cadastrado: ERRCNABP (CDBANCO=777, CDERRCNABP=A1) não pode ser "
            "gravado.");
  const Packet rec = fetch("GetErrCnabRec", {"104"});
  EXPECT_EQ(apply("SetErrCnabRec", {Variant(insertDelta(rec, {"777", "A1", "Liquidado"}))}),
            "O banco 777 não está cadastrado: ERRCNABR (CDBANCO=777, CDERRCNABR=A1) não pode ser "
            "gravado.");
  const Packet instr = fetch("GetInstruCobr", {"104"});
  EXPECT_EQ(apply("SetInstruCobr", {Variant(insertDelta(instr, {"777", "Sem banco", "09"}))}),
            "O banco 777 não está cadastrado: INSTCOBRANCA (CDBANCO=777, CDINSTCOBR=09) não pode "
            "ser gravado.");
  // The whole delta is refused, its rows of an existing bank included.
  Delta mixed = insertDelta(instr, {"104", "Protestar", "09"});
  mixed.changes.push_back(insertDelta(instr, {"777", "Sem banco", "09"}).changes[0]);
  EXPECT_THAT(apply("SetInstruCobr", {Variant(mixed)}), HasSubstr("O banco 777 não está"));

  const Packet dda = call("GetBancoDDA", {"104"}).result.asArray().at(1).asPacket();
  const Row old{Value(), Value(), Value(), "777"};
  EXPECT_EQ(
      apply("SetBancoDDA",
            {Variant(updateDelta(dda, old, with(dda, old, "DSEMAILDDA", "x@exemplo.com.br")))}),
      "O banco 777 não está cadastrado: BANCO (CDBANCO=777) não pode ser gravado.");
  EXPECT_EQ(dump(), before);
}

// ---- company settings ----------------------------------------------------------------

TEST_P(ResolverTest, editingAnEmptyCompanyRowCreatesItsSettings) {
  const Packet p = fetch("GetEmprBanc", {"001"});
  const Row empty = rowWhere(p, "CDEMPRESA", "03");
  Row filled = with(p, empty, "CDCARTCOBR", "109");
  filled = with(p, filled, "IDLAYOUTCNAB", "240");
  filled = with(p, filled, "QTDIAPROTEST", 5.0);
  filled = with(p, filled, "NMEMPRESA", "NOME QUE NÃO É GRAVADO");
  ASSERT_EQ(apply("SetEmprBanc", {Variant(updateDelta(p, empty, filled))}), "");

  const auto stored = conn->query(
      "SELECT CDCARTCOBR, IDLAYOUTCNAB, QTDIAPROTEST, CDINS1COBR FROM EMPRBANC "
      "WHERE CDEMPRESA = '03' AND CDBANCO = '001'");
  ASSERT_EQ(stored.rows.size(), 1u);
  EXPECT_EQ(stored.rows[0], (Row{"109", "240", 5.0, Value()}));
  EXPECT_EQ(cell(p, rowWhere(fetch("GetEmprBanc", {"001"}), "CDEMPRESA", "03"), "NMEMPRESA"),
            Value("GAMA SERVIÇOS LTDA"))
      << "the company name is read-only";

  // Now it exists, the next edit is an ordinary update.
  const Row now = rowWhere(fetch("GetEmprBanc", {"001"}), "CDEMPRESA", "03");
  ASSERT_EQ(apply("SetEmprBanc", {Variant(updateDelta(p, now, with(p, now, "CDCARTCOBR", "110")))}),
            "");
  EXPECT_EQ(conn->query("SELECT CDCARTCOBR FROM EMPRBANC WHERE CDEMPRESA = '03' AND "
                        "CDBANCO = '001'")
                .rows[0][0],
            Value("110"));
}

TEST_P(ResolverTest, settingsSomeoneCreatedMeanwhileAreCheckedLikeAnyUpdate) {
  const Packet p = fetch("GetEmprBanc", {"001"});
  const Row empty = rowWhere(p, "CDEMPRESA", "02");
  exec("INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO, CDCARTCOBR) VALUES ('02', '001', '018')");

  // A different field: no conflict, both values kept.
  ASSERT_EQ(
      apply("SetEmprBanc", {Variant(updateDelta(p, empty, with(p, empty, "IDLAYOUTCNAB", "240")))}),
      "");
  // The field the other user set: refused.
  const std::string before = dump();
  EXPECT_EQ(
      apply("SetEmprBanc", {Variant(updateDelta(p, empty, with(p, empty, "CDCARTCOBR", "019")))}),
      "Conflito em EMPRBANC (CDEMPRESA=02, CDBANCO=001): o registro foi alterado por outro "
      "usuário desde a leitura (campos alterados: CDCARTCOBR, IDLAYOUTCNAB). Nada foi "
      "gravado; leia os dados novamente.");
  EXPECT_EQ(dump(), before);
}

TEST_P(ResolverTest, settingsDeletedMeanwhileAreNotBroughtBackHalfFilled) {
  const Packet p = fetch("GetEmprBanc", {"001"});
  const Row alfa = rowWhere(p, "CDEMPRESA", "01");
  exec("DELETE FROM EMPRBANC WHERE CDEMPRESA = '01' AND CDBANCO = '001'");
  EXPECT_THAT(
      apply("SetEmprBanc", {Variant(updateDelta(p, alfa, with(p, alfa, "CDINS2COBR", "06")))}),
      HasSubstr("foi excluído por outro usuário"));
  EXPECT_TRUE(conn->query("SELECT 1 FROM EMPRBANC WHERE CDEMPRESA = '01' AND CDBANCO = '001'")
                  .rows.empty());
}

// ---- DDA -------------------------------------------------------------------------------

TEST_P(ResolverTest, ddaSettingsAreUpdatedInTheBankRowAndNeverInsertedOrDeleted) {
  auto ddaPacket = [&] { return call("GetBancoDDA", {"104"}).result.asArray().at(1).asPacket(); };
  const Packet p = ddaPacket();
  ASSERT_EQ(p.rows.size(), 1u);
  const Row old = p.rows[0];
  const Row changed{"/srv/dda/caixa", "dda@alfa.com.br", "C:\\DDA\\CAIXA", "104"};
  ASSERT_EQ(apply("SetBancoDDA", {Variant(updateDelta(p, old, changed))}), "");
  EXPECT_EQ(ddaPacket().rows[0], changed);
  EXPECT_EQ(cell(fetch("GetBanco"), rowWhere(fetch("GetBanco"), "CDBANCO", "104"), "DSEMAILDDA"),
            Value("dda@alfa.com.br"));

  const std::string before = dump();
  const std::string refused = "Inclusão/exclusão não permitida em configurações DDA.";
  EXPECT_EQ(apply("SetBancoDDA", {Variant(insertDelta(p, {Value(), Value(), Value(), "756"}))}),
            refused);
  EXPECT_EQ(apply("SetBancoDDA", {Variant(deleteDelta(p, changed))}), refused);
  // The code travels as 20 characters, but the column holds 3.
  EXPECT_EQ(
      apply("SetBancoDDA", {Variant(updateDelta(p, changed, {"/x", Value(), Value(), "104 "}))}),
      "A chave de BANCO (CDBANCO=104) não pode ser alterada (novo CDBANCO=104 ).");
  // A bank field that is not one of the DDA settings.
  Delta name = updateDelta(p, changed, changed);
  name.fields[0].name = "NMBANCO";
  EXPECT_EQ(apply("SetBancoDDA", {Variant(name)}), "Campo desconhecido 'NMBANCO' em BANCO.");
  EXPECT_EQ(dump(), before);
}

INSTANTIATE_TEST_SUITE_P(Engines, ResolverTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server::testing
