#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/local_cache.h"
#include "host/server_calls.h"
#include "link_test_server.h"
#include "support/expect_throw.h"

namespace qbk::host {
namespace {

using data::FieldType;
using data::Packet;
using data::RecordSet;
using data::Value;
using data::Variant;
using data::VariantArray;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeRpcServer;
namespace json = data::json;

Packet bankPacket(const std::vector<std::string>& codes) {
  Packet p;
  p.fields = {{"CDBANCO", FieldType::String, 3}, {"NMBANCO", FieldType::String, 40}};
  for (const auto& code : codes) p.rows.push_back({code, "BANCO " + code});
  return p;
}

// The bank record set with the nine nullable fields after its code and name.
Packet fullBankPacket(const std::vector<Value>& nullable) {
  Packet p = bankPacket({"001"});
  for (auto name : kBancoNullableFields)
    p.fields.push_back(
        {std::string(name), name == "QTDIAPRORCNT" ? FieldType::Float : FieldType::String, 60});
  p.rows[0].insert(p.rows[0].end(), nullable.begin(), nullable.end());
  return p;
}

std::vector<std::string> codes(const RecordSet& rs) {
  std::vector<std::string> out;
  const Packet p = rs.data();
  for (const auto& row : p.rows) out.push_back(std::get<std::string>(row[0]));
  return out;
}

class LinkCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    net.host = "127.0.0.1";
    net.port = server.port();
    net.connect();
    localCache().clear();
    banks.setData(bankPacket({"001", "104"}));
  }

  // Hooks that log what the screen would see, with the cache and pending state at that
  // moment, so the order of the finishing actions shows in the log.
  ProgressHooks loggingHooks() {
    auto state = [this] {
      return " cache=" + std::to_string(localCache().invalidations("BANCO")) +
             " pending=" + std::to_string(banks.changeCount());
    };
    return {"Atualizando dados...", [=, this](const std::string& t) { log.push_back("show " + t); },
            [=, this] { log.push_back("hide" + state()); },
            [=, this] { log.push_back("repaint" + state()); }};
  }

  void renameFirstBank(const std::string& name) {
    banks.first();
    banks.edit();
    banks.fieldByName("NMBANCO").setString(name);
    banks.post();
  }

  FakeRpcServer server;
  NetConnection net;
  RecordSet banks{"cdsBanco"};
  std::vector<std::string> log;
};

// ---- fetching -----------------------------------------------------------------------------

TEST_F(LinkCalls, fetchReplacesTheContentAndAFailureKeepsTheOldOne) {
  server.answerResult(bankPacket({"237", "341", "399"}));
  fetchInto(net, banks, "GetBanco");
  EXPECT_THAT(codes(banks), ElementsAre("237", "341", "399"));

  server.answerError(data::rpc_code::kApplication, "Falha ao ler BANCO.");
  EXPECT_THROW(fetchInto(net, banks, "GetBanco"), ServerError);
  server.answerResult(true);  // a payload that is no packet
  EXPECT_THROW(fetchInto(net, banks, "GetBanco"), data::DataError);
  EXPECT_THAT(codes(banks), ElementsAre("237", "341", "399"));
}

TEST_F(LinkCalls, flaggedFetchLoadsThePacketAndReturnsTheFlag) {
  server.answerResult(VariantArray{"N", bankPacket({"422"})});
  EXPECT_EQ(fetchFlaggedInto(net, banks, "GetBancoDDA", {"422"}), "N");
  EXPECT_THAT(codes(banks), ElementsAre("422"));
  EXPECT_THAT(server.calls().back().params, ElementsAre(Variant("422")));

  server.answerResult(VariantArray{bankPacket({"999"}), "S"});
  EXPECT_THROW(fetchFlaggedInto(net, banks, "GetBancoDDA", {"422"}), data::DataError);
  server.answerResult(Variant(bankPacket({"999"})));
  EXPECT_THROW(fetchFlaggedInto(net, banks, "GetBancoDDA", {"422"}), data::DataError);
  EXPECT_THAT(codes(banks), ElementsAre("422"));
}

TEST_F(LinkCalls, procedureFailureIsRaisedNotIgnored) {
  server.answerResult(Variant());
  EXPECT_NO_THROW(execProcedure(net, "ExecProcMsgPadraoBanco", {"001"}));
  server.answerError(data::rpc_code::kApplication,
                     "Não há mensagem padrão cadastrada para o código de compensação '001'.");
  EXPECT_THROW(execProcedure(net, "ExecProcMsgPadraoBanco", {"001"}), ServerError);
}

// ---- applying -----------------------------------------------------------------------------

TEST_F(LinkCalls, nothingPendingSendsNothingShowsNothingButRunsTheFollowUp) {
  int followUps = 0;
  applyUpdates(net, banks,
               {.method = "SetErrCnabPag",
                .cacheName = "DELETECAHE",
                .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache},
                .followUp = [&] { ++followUps; },
                .progress = loggingHooks()});
  EXPECT_EQ(followUps, 1);
  EXPECT_TRUE(server.calls().empty());
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(localCache().history().empty());
}

TEST_F(LinkCalls, sendRunsTheStepsInTheHandlersOrder) {
  server.answerResult(true);
  renameFirstBank("BANCO DO BRASIL S.A.");
  applyUpdates(
      net, banks,
      {.method = "SetBanco",
       .cacheName = "BANCO",
       .finish = {Finish::Cache, Finish::Hide, Finish::Repaint, Finish::Merge},
       .extraArgs =
           [&] {
             log.push_back("extra");
             return VariantArray{"", "DSARQBOLPREI"};
           },
       .followUp =
           [&] { log.push_back("follow-up pending=" + std::to_string(banks.changeCount())); },
       .progress = loggingHooks()});
  EXPECT_THAT(log, ElementsAre("show Atualizando dados...", "extra", "hide cache=1 pending=1",
                               "repaint cache=1 pending=1", "follow-up pending=0"));

  const auto calls = server.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].method, "SetBanco");
  ASSERT_EQ(calls[0].params.size(), 3u);
  const data::Delta& delta = calls[0].params[0].asDelta();
  ASSERT_EQ(delta.changes.size(), 1u);
  EXPECT_EQ(delta.changes[0].op, data::Change::Op::Update);
  EXPECT_EQ(delta.changes[0].newRow[1], Value(std::string("BANCO DO BRASIL S.A.")));
  EXPECT_EQ(calls[0].params[2], Variant("DSARQBOLPREI"));
  EXPECT_THAT(localCache().history(), ElementsAre("BANCO"));
}

TEST_F(LinkCalls, handlersWithoutRepaintOrWithTheCacheLastAreHonoured) {
  server.answerResult(true);
  renameFirstBank("X");
  applyUpdates(net, banks,
               {.method = "SetErrCnabPag",
                .cacheName = "BANCO",
                .finish = {Finish::Hide, Finish::Merge, Finish::Cache},
                .progress = loggingHooks()});
  EXPECT_THAT(log, ElementsAre("show Atualizando dados...", "hide cache=0 pending=1"));
  EXPECT_EQ(banks.changeCount(), 0);
  EXPECT_EQ(localCache().invalidations("BANCO"), 1);
}

TEST_F(LinkCalls, serverRefusalCancelsThePendingChangeAndRaisesTheServerText) {
  const std::string refusal =
      "Conflito em BANCO (CDBANCO=001): o registro foi alterado por outro usuário.";
  server.answerError(data::rpc_code::kApplication, refusal);
  renameFirstBank("OUTRO NOME");
  banks.last();
  bool followed = false;
  EXPECT_THROW_MSG(
      applyUpdates(net, banks,
                   {.method = "SetEmprBanc",
                    .cacheName = "BANCO",
                    .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache},
                    .followUp = [&] { followed = true; },
                    .progress = loggingHooks()}),
      ServerError, refusal);
  EXPECT_THAT(log, ElementsAre("show Atualizando dados...", "hide cache=0 pending=0",
                               "repaint cache=0 pending=0"));
  EXPECT_EQ(banks.changeCount(), 0);
  banks.first();
  EXPECT_EQ(banks.fieldByName("NMBANCO").asString(), "BANCO 001");
  EXPECT_FALSE(followed);
  EXPECT_TRUE(localCache().history().empty());
}

TEST_F(LinkCalls, failingExtraArgumentsCancelBeforeAnythingIsSent) {
  renameFirstBank("Y");
  EXPECT_THROW(
      applyUpdates(net, banks,
                   {.method = "SetBanco",
                    .cacheName = "BANCO",
                    .finish = {Finish::Cache, Finish::Hide, Finish::Repaint, Finish::Merge},
                    .extraArgs = []() -> VariantArray {
                      throw data::DataError("Campo 'CDBANCOCONV' não encontrado.");
                    },
                    .progress = loggingHooks()}),
      data::DataError);
  EXPECT_TRUE(server.calls().empty());
  EXPECT_EQ(banks.changeCount(), 0);
  EXPECT_EQ(log.size(), 3u);  // show, hide, repaint
}

TEST_F(LinkCalls, followUpFailureCancelsOnlyWhenMarkedAndNeverHidesTwice) {
  server.answerResult(true);
  const auto plan = [&](bool cancels) {
    return ApplySpec{.method = "SetBanco",
                     .cacheName = "BANCO",
                     .finish = {Finish::Cache, Finish::Hide, Finish::Repaint, Finish::Merge},
                     .followUp = [] { throw Error("Falha ao recarregar os dados do banco."); },
                     .followUpFailureCancels = cancels,
                     .progress = loggingHooks()};
  };
  renameFirstBank("Z");
  EXPECT_THROW(applyUpdates(net, banks, plan(true)), Error);
  // Sent and merged before the follow-up failed: the change stays, the screen is repainted.
  EXPECT_THAT(log, ElementsAre("show Atualizando dados...", "hide cache=1 pending=1",
                               "repaint cache=1 pending=1", "repaint cache=1 pending=0"));
  EXPECT_EQ(banks.fieldByName("NMBANCO").asString(), "Z");

  log.clear();
  EXPECT_THROW(applyUpdates(net, banks, plan(false)), Error);  // nothing pending this time
  EXPECT_TRUE(log.empty());
}

TEST_F(LinkCalls, applyWithoutMergeIsRefusedBeforeSending) {
  renameFirstBank("W");
  EXPECT_THROW(
      applyUpdates(
          net, banks,
          {.method = "SetBanco", .cacheName = "BANCO", .finish = {Finish::Cache, Finish::Hide}}),
      Error);
  EXPECT_TRUE(server.calls().empty());
  EXPECT_EQ(banks.changeCount(), 1);
}

// ---- the names that travel with SetBanco ----------------------------------------------------

TEST(LinkNullableNames, nameWhenNullEmptyTextWhenSet) {
  RecordSet rs("cdsBanco");
  const std::vector<Value> allNull(9);
  rs.setData(fullBankPacket(allNull));
  VariantArray expected;
  for (auto name : kBancoNullableFields) expected.emplace_back(std::string(name));
  EXPECT_THAT(nullFieldNames(rs, kBancoNullableFields), ElementsAreArray(expected));

  std::vector<Value> allSet;
  for (auto name : kBancoNullableFields)
    allSet.push_back(name == "QTDIAPRORCNT" ? Value(3.0) : Value(std::string("C:\\m.qr2")));
  rs.setData(fullBankPacket(allSet));
  EXPECT_THAT(nullFieldNames(rs, kBancoNullableFields), ElementsAreArray(VariantArray(9, "")));

  std::vector<Value> noLogo = allSet;
  noLogo[6] = std::monostate{};
  rs.setData(fullBankPacket(noLogo));
  VariantArray onlyLogo(9, "");
  onlyLogo[6] = "DSARQLOGMAR";
  EXPECT_THAT(nullFieldNames(rs, kBancoNullableFields), ElementsAreArray(onlyLogo));

  // The empty text is a value, not null.
  std::vector<Value> emptyCheque = allSet;
  emptyCheque[2] = std::string();
  rs.setData(fullBankPacket(emptyCheque));
  EXPECT_EQ(nullFieldNames(rs, kBancoNullableFields)[2], Variant(""));
}

}  // namespace
}  // namespace qbk::host
