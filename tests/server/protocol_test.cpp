// The HTTP and JSON-RPC surface: health check, malformed and hostile requests, the error
// codes the client relies on, and calls from several clients at once.
#include <gmock/gmock.h>

#include <atomic>
#include <thread>

#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

namespace code = data::rpc_code;
using data::Variant;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using ProtocolTest = ServerTest;

data::json::RpcResponse decoded(const httplib::Result& res) {
  if (!res) throw std::runtime_error("sem resposta HTTP");
  EXPECT_EQ(res->status, 200);
  EXPECT_THAT(res->get_header_value("Content-Type"), StartsWith("application/json"));
  return data::json::decodeResponse(res->body);
}

TEST_P(ProtocolTest, healthAnswersOk) {
  auto res = client->http().Get("/health");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body, "ok");
}

TEST_P(ProtocolTest, malformedRequestsGetTheirJsonRpcCodesAndTheIdWhenThereIsOne) {
  auto r = decoded(client->post(R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":[)"));
  EXPECT_EQ(r.errorCode, code::kParseError);
  EXPECT_TRUE(r.id.isNull());

  r = decoded(client->post(R"({"id":2,"method":"GetBanco","params":[]})"));
  EXPECT_EQ(r.errorCode, code::kInvalidRequest);
  r = decoded(client->post(R"({"jsonrpc":"2.0","id":5,"method":"GetBanco","params":{}})"));
  EXPECT_EQ(r.errorCode, code::kInvalidParams);
  EXPECT_EQ(r.id, Variant(5));

  r = decoded(client->post(R"({"jsonrpc":"2.0","id":"abc","method":"DropBanco","params":[]})"));
  EXPECT_EQ(r.errorCode, code::kMethodNotFound);
  EXPECT_EQ(r.id, Variant("abc"));
  EXPECT_THAT(r.errorMessage, HasSubstr("DropBanco"));

  r = decoded(client->post(R"({"jsonrpc":"2.0","id":7,"method":"GetBanco","params":[]})"));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.id, Variant(7));
}

TEST_P(ProtocolTest, parametersAreCheckedByCountAndKind) {
  auto r = call("GetEmprBanc", {"001", "002"});
  EXPECT_EQ(r.errorCode, code::kInvalidParams);
  EXPECT_EQ(r.errorMessage, "GetEmprBanc espera 1 parâmetro(s), recebeu 2.");
  r = call("GetBanco", {"001"});
  EXPECT_EQ(r.errorMessage, "GetBanco espera 0 parâmetro(s), recebeu 1.");
  r = call("SetBanco", {data::Delta{}});
  EXPECT_EQ(r.errorMessage, "SetBanco espera 10 parâmetro(s), recebeu 1.");

  r = call("GetPesqInstru", {"001", 6});
  EXPECT_EQ(r.errorCode, code::kInvalidParams);
  EXPECT_EQ(r.errorMessage, "GetPesqInstru: o parâmetro 2 deve ser um texto.");
  r = call("SetErrCnabPag", {"001"});
  EXPECT_EQ(r.errorMessage, "SetErrCnabPag: o parâmetro 1 deve ser um pacote de alterações.");
  r = call("GetErrCnabPag", {Variant()});
  EXPECT_EQ(r.errorCode, code::kInvalidParams);
}

// Rows go from the database straight into the reply; a row that cannot be written (here a
// name stored as broken UTF-8 by some other program) must turn the whole answer into an
// error, with nothing of the half-written packet left in front of it.
TEST_P(ProtocolTest, aPacketThatFailsMidwayAnswersACleanErrorAndTheNextCallIsWhole) {
  if (engine() == db::Engine::PostgreSQL)
    GTEST_SKIP() << "PostgreSQL stores no broken UTF-8, so no row can fail this way";
  exec("INSERT INTO BANCO (CDBANCO, NMBANCO) VALUES ('ZZZ', CAST(X'C328' AS TEXT))");
  auto res = client->post(R"({"jsonrpc":"2.0","id":5,"method":"GetBanco","params":[]})");
  ASSERT_TRUE(res);
  const auto r = data::json::decodeResponse(res->body);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorCode, code::kInternalError);
  EXPECT_EQ(r.id, Variant(5));
  EXPECT_THAT(res->body, StartsWith(R"({"jsonrpc":"2.0","id":5,"error":)"));

  exec("DELETE FROM BANCO WHERE CDBANCO = 'ZZZ'");
  EXPECT_FALSE(fetch("GetBanco").rows.empty());
}

TEST_P(ProtocolTest, aDeeplyNestedBodyIsRefusedWithoutHarm) {
  std::string body = R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":)";
  body += std::string(100000, '[') + std::string(100000, ']') + "}";
  ASSERT_GT(body.size(), 200000u);
  const auto r = decoded(client->post(body));
  EXPECT_EQ(r.errorCode, code::kParseError);
  EXPECT_TRUE(fetch("GetBanco").rows.size() == 3) << "the server still answers";
}

TEST_P(ProtocolTest, aBodyOverTheLimitIsRefusedBeforeItIsRead) {
  const std::string body(server->options().maxBodyBytes + 1, ' ');
  auto res = client->post(body);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 413);
  RpcClient fresh(server->port());
  EXPECT_TRUE(fresh.call("GetBanco").ok) << "the server still answers";
}

TEST_P(ProtocolTest, onlyJsonBodiesAreAccepted) {
  auto res =
      client->post(R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":[]})", "text/plain");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 415);
  res = client->post(R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":[]})",
                     "Application/JSON; charset=utf-8");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
}

TEST_P(ProtocolTest, responsesAreNotCompressedEvenWhenTheClientOffersIt) {
  // Compressing a whole-table answer costs more than sending it on a local network.
  httplib::Headers headers{{"Accept-Encoding", "gzip, deflate, br"}};
  client->http().set_decompress(false);
  auto res = client->http().Post(kRpcPath, headers,
                                 R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":[]})",
                                 "application/json");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->get_header_value("Content-Encoding"), "");
  EXPECT_TRUE(data::json::decodeResponse(res->body).ok);
}

TEST_P(ProtocolTest, severalClientsReadAndWriteAtOnce) {
  // Each thread keeps its own code table rows; every call must succeed and every row land.
  constexpr int kClients = 6, kCalls = 25;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kClients; ++t) {
    threads.emplace_back([&, t] {
      RpcClient c(server->port());
      const data::Packet like = c.call("GetErrCnabRec", {"104"}).result.asPacket();
      for (int i = 0; i < kCalls; ++i) {
        const std::string code = std::to_string(t) + "-" + std::to_string(i);
        data::Delta d{like.fields, {{data::Change::Op::Insert, {}, {"104", code, "x"}}}};
        if (!c.call("SetErrCnabRec", {Variant(d)}).ok) ++failures;
        if (!c.call("GetBanco").ok) ++failures;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(fetch("GetErrCnabRec", {"104"}).rows.size(), std::size_t{kClients * kCalls});
}

INSTANTIATE_TEST_SUITE_P(Engines, ProtocolTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server::testing
