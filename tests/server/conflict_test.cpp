// A delta built on what the client read, after another user changed the same rows through
// the server: every kind of clash refuses the whole delta with a text that names the table,
// the key and the fields that differ, and writes nothing, on both engines.
#include <gmock/gmock.h>

#include <functional>

#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

using data::Change;
using data::Delta;
using data::Packet;
using data::Row;
using data::Value;
using data::Variant;

using ConflictTest = ServerTest;

constexpr const char* kChanged =
    ": o registro foi alterado por outro usuário desde a leitura (campos alterados: ";
constexpr const char* kDeleted = ": o registro foi excluído por outro usuário desde a leitura.";
constexpr const char* kReadAgain = " Nada foi gravado; leia os dados novamente.";

struct Clash {
  const char* name;
  const char* method;
  const char* bank;  // the Get... argument, "" for GetBanco
  // What the other user does first, through a client of its own, from the same read.
  std::function<Delta(const Packet&)> other;
  // What this client then sends, from its old read.
  std::function<Delta(const Packet&)> mine;
  std::string refusal;
};

Row rowOf(const Packet& p, const std::string& keyField, const std::string& key) {
  return rowWhere(p, keyField, key);
}

TEST_P(ConflictTest, aDeltaThatMeetsAnotherUsersChangeIsRefusedWholeNamingWhatDiffers) {
  // Five receivables codes of bank 104, for the delta that changes them all.
  for (const char* code : {"11", "12", "13", "14", "15"})
    exec("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('104', ?, ?)",
         {code, std::string("Ocorrência ") + code});
  auto update = [](const Packet& p, const char* keyField, const char* key, const char* field,
                   Value value) {
    const Row row = rowOf(p, keyField, key);
    return updateDelta(p, row, with(p, row, field, std::move(value)));
  };
  const std::vector<Clash> clashes = {
      {"same column", "Banco", "",
       [&](const Packet& p) { return update(p, "CDBANCO", "001", "NMBANCO", "BB"); },
       [&](const Packet& p) {
         Delta d = update(p, "CDBANCO", "001", "NMBANCO", "BANCO DO BRASIL");
         const Row caixa = rowOf(p, "CDBANCO", "104");
         d.changes.push_back({Change::Op::Update, caixa, with(p, caixa, "NMBANCO", "CEF")});
         return d;
       },
       std::string("Conflito em BANCO (CDBANCO=001)") + kChanged + "NMBANCO)." + kReadAgain},
      {"update against delete", "ErrCnabPag", "001",
       [](const Packet& p) { return deleteDelta(p, rowOf(p, "CDERRCNABP", "03")); },
       [&](const Packet& p) { return update(p, "CDERRCNABP", "03", "DSERRCNABP", "Rejeitada"); },
       std::string("Conflito em ERRCNABP (CDBANCO=001, CDERRCNABP=03)") + kDeleted + kReadAgain},
      {"delete against update", "InstruCobr", "001",
       [&](const Packet& p) { return update(p, "CDINSTCOBR", "01", "NMINSTCOBR", "Juros"); },
       [](const Packet& p) { return deleteDelta(p, rowOf(p, "CDINSTCOBR", "01")); },
       std::string("Conflito em INSTCOBRANCA (CDBANCO=001, CDINSTCOBR=01)") + kChanged +
           "NMINSTCOBR)." + kReadAgain},
      {"duplicate insert", "ErrCnabRec", "104",
       [](const Packet& p) {
         return insertDelta(p, {"104", "A1", "Liquidado"});
       },
       [](const Packet& p) {
         return insertDelta(p, {"104", "A1", "Liquidação"});
       },
       "Registro já cadastrado em ERRCNABR (CDBANCO=104, CDERRCNABR=A1)."},
      {"null original now filled", "Banco", "",
       [&](const Packet& p) { return update(p, "CDBANCO", "104", "DSARQCHEQUE", "/x.qr2"); },
       [&](const Packet& p) { return update(p, "CDBANCO", "104", "DSARQCHEQUE", "/y.qr2"); },
       std::string("Conflito em BANCO (CDBANCO=104)") + kChanged + "DSARQCHEQUE)." + kReadAgain},
      {"filled original now null", "Banco", "",
       [&](const Packet& p) { return update(p, "CDBANCO", "001", "DSEMAILDDA", Value()); },
       [&](const Packet& p) { return update(p, "CDBANCO", "001", "DSEMAILDDA", "b@x.com.br"); },
       std::string("Conflito em BANCO (CDBANCO=001)") + kChanged + "DSEMAILDDA)." + kReadAgain},
      {"five rows, one stale", "ErrCnabRec", "104",
       [&](const Packet& p) { return update(p, "CDERRCNABR", "13", "DSERRCNABR", "Outra"); },
       [](const Packet& p) {
         Delta d{p.fields, {}};
         for (const char* code : {"11", "12", "13", "14", "15"}) {
           const Row row = rowOf(p, "CDERRCNABR", code);
           d.changes.push_back({Change::Op::Update, row, with(p, row, "DSERRCNABR", "Nova")});
         }
         return d;
       },
       std::string("Conflito em ERRCNABR (CDBANCO=104, CDERRCNABR=13)") + kChanged +
           "DSERRCNABR)." + kReadAgain},
  };

  RpcClient otherUser(server->port());
  for (const Clash& clash : clashes) {
    SCOPED_TRACE(clash.name);
    auto read = [&] {
      return clash.bank[0] ? fetch(std::string("Get") + clash.method, {clash.bank})
                           : fetch(std::string("Get") + clash.method);
    };
    auto args = [&](Delta d) {
      return std::string(clash.method) == "Banco" ? setBancoArgs(std::move(d))
                                                  : data::VariantArray{Variant(std::move(d))};
    };
    const Packet mine = read();
    const auto r = otherUser.call(std::string("Set") + clash.method, args(clash.other(read())));
    ASSERT_TRUE(r.ok) << r.errorMessage;

    const std::string before = dump();
    const auto refused = call(std::string("Set") + clash.method, args(clash.mine(mine)));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.errorCode, data::rpc_code::kApplication);
    EXPECT_EQ(refused.errorMessage, clash.refusal);
    EXPECT_EQ(dump(), before) << "nothing of the refused delta was written";
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, ConflictTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server::testing
