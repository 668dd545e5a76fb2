#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/local_cache.h"
#include "host/net_connection.h"
#include "host/server_result.h"
#include "link_test_server.h"
#include "support/expect_throw.h"

namespace qbk::host {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using testing::FakeRpcServer;
using ::testing::HasSubstr;
namespace json = data::json;

data::Packet instructionPacket() {
  data::Packet p;
  p.fields = {{"CDINSTCOBR", data::FieldType::String, 2},
              {"NMINSTCOBR", data::FieldType::String, 40}};
  p.rows = {{std::string("02"), std::string("PROTESTAR APÓS 5 DIAS")}};
  return p;
}

void connectTo(NetConnection& net, const FakeRpcServer& server) {
  net.host = "127.0.0.1";
  net.port = server.port();
  net.connect();
}

TEST(LinkConnection, callsByNameWithPositionalArgumentsAndAFreshIdEachTime) {
  FakeRpcServer server;
  server.answerResult(instructionPacket());
  NetConnection net;
  connectTo(net, server);
  ASSERT_TRUE(net.connected());

  const ServerResult first = net.call("GetPesqInstru", {"001", "02"});
  const ServerResult second = net.call("GetBanco");

  ASSERT_TRUE(first.ok);
  EXPECT_EQ(first.payload.asPacket(), instructionPacket());
  const auto calls = server.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].method, "GetPesqInstru");
  EXPECT_THAT(calls[0].params, ElementsAre(data::Variant("001"), data::Variant("02")));
  EXPECT_EQ(calls[0].contentType, "application/json");
  EXPECT_EQ(calls[1].method, "GetBanco");
  EXPECT_TRUE(calls[1].params.empty());
  EXPECT_LT(calls[0].id.asNumber(), calls[1].id.asNumber());
  // One kept-alive connection serves every call.
  EXPECT_EQ(calls[0].remotePort, calls[1].remotePort);
}

TEST(LinkConnection, serverFailureIsReturnedAndCheckResultServRaisesItsMessage) {
  FakeRpcServer server;
  const std::string conflict =
      "Conflito em BANCO (CDBANCO=001): o registro foi alterado por outro usuário.";
  server.answerError(data::rpc_code::kApplication, conflict);
  NetConnection net;
  connectTo(net, server);

  const ServerResult result = net.call("SetBanco", {"x"});
  ASSERT_FALSE(result.ok);
  try {
    CheckResultServ(result, true, 0);
    ADD_FAILURE() << "a reported failure passed the check";
  } catch (const ServerError& e) {
    EXPECT_EQ(e.what(), conflict);
    EXPECT_EQ(e.code(), data::rpc_code::kApplication);
  }
  EXPECT_THROW(CheckResultServ(net.call("SetBanco", {"x"}), true, 0), ServerError);
  EXPECT_TRUE(CheckResultServ(result, false, 0).isNull());
}

TEST(LinkConnection, checkResultServHandsBackThePayload) {
  const ServerResult ok = ServerResult::success(data::VariantArray{"S", instructionPacket()});
  const data::Variant& payload = CheckResultServ(ok, true, kCheckNoFlags);
  EXPECT_EQ(&payload, &ok.payload);
  EXPECT_EQ(CheckResultServ(ServerResult::success(true), true, 0), data::Variant(true));
  EXPECT_THROW(CheckResultServ(ok, true, 1), Error);
}

TEST(LinkConnection, beforeConnectSetsTheAddressAtEveryConnect) {
  FakeRpcServer server;
  NetConnection net;
  net.port = 1;  // wrong until the hook runs
  int runs = 0;
  net.beforeConnect = [&](NetConnection& c) {
    ++runs;
    c.host = "127.0.0.1";
    c.port = server.port();
  };
  net.connect();
  net.connect();
  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(net.connected());
  net.disconnect();
  EXPECT_FALSE(net.connected());
}

TEST(LinkConnection, unreachableServerIsAConnectionErrorNamingTheAddress) {
  int port = 0;
  {
    FakeRpcServer gone;
    port = gone.port();
  }
  NetConnection net;
  net.host = "127.0.0.1";
  net.port = port;
  EXPECT_THROW_MSG(net.connect(), ConnectionError, HasSubstr("127.0.0.1:" + std::to_string(port)));
  EXPECT_FALSE(net.connected());
  EXPECT_THROW(net.call("GetBanco"), ConnectionError);
}

TEST(LinkConnection, serverWithoutHealthCheckIsNotAccepted) {
  FakeRpcServer notOurs({.healthCheck = false});
  NetConnection net;
  EXPECT_THROW(connectTo(net, notOurs), ConnectionError);
  EXPECT_FALSE(net.connected());
}

TEST(LinkConnection, transportFailuresDuringACallAreConnectionErrors) {
  FakeRpcServer server;
  NetConnection net;
  net.readTimeout = std::chrono::milliseconds(200);
  connectTo(net, server);

  server.answerRaw([](const httplib::Request&, httplib::Response& res) {
    res.status = 500;
    res.set_content("boom", "text/plain");
  });
  EXPECT_THROW_MSG(net.call("GetBanco"), ConnectionError,
                   AllOf(HasSubstr("status HTTP 500"), HasSubstr("GetBanco")));

  server.answerRaw([](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    res.set_content(R"({"jsonrpc":"2.0","id":1,"result":null})", "application/json");
  });
  EXPECT_THROW(net.call("GetBanco"), ConnectionError);
}

TEST(LinkConnection, callAfterTheServerClosedAnIdleConnectionStillSucceeds) {
  // The screen may sit idle longer than the server keeps a connection open.
  FakeRpcServer server({.keepAliveSeconds = 1});
  server.answerResult(true);
  NetConnection net;
  connectTo(net, server);
  EXPECT_TRUE(net.call("SetBanco").ok);
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  EXPECT_TRUE(net.call("SetBanco").ok);
}

TEST(LinkConnection, replyThatIsNotTheAnswerToTheCallIsRefused) {
  FakeRpcServer server;
  NetConnection net;
  connectTo(net, server);

  server.answerRaw([](const httplib::Request&, httplib::Response& res) {
    res.set_content("<html>proxy</html>", "text/html");
  });
  try {
    net.call("GetBanco");
    ADD_FAILURE() << "HTML accepted as a reply";
  } catch (const data::ProtocolError& e) {
    EXPECT_EQ(e.code(), data::rpc_code::kParseError);
  }

  server.answerRaw([](const httplib::Request&, httplib::Response& res) {
    res.set_content(R"({"jsonrpc":"2.0","id":999999,"result":true})", "application/json");
  });
  EXPECT_THROW(net.call("SetBanco"), data::ProtocolError);

  // The connection stays usable for the next call.
  server.answerRaw(nullptr);
  server.answerResult(true);
  EXPECT_TRUE(net.call("SetBanco").payload.asBool());
}

TEST(LinkLocalCache, recordsEveryNameInOrderAndRefusesNonTexts) {
  localCache().clear();
  AtualizaLocalCache({"BANCO"});
  AtualizaLocalCache({"DELETECAHE"});
  AtualizaLocalCache({"BANCO"});
  EXPECT_EQ(localCache().invalidations("BANCO"), 2);
  EXPECT_EQ(localCache().invalidations("DELETECAHE"), 1);
  EXPECT_EQ(localCache().invalidations("EMPRBANC"), 0);
  EXPECT_THAT(localCache().history(), ElementsAre("BANCO", "DELETECAHE", "BANCO"));

  EXPECT_THROW(AtualizaLocalCache({"EMPRBANC", 3}), data::DataError);
  EXPECT_EQ(localCache().invalidations("EMPRBANC"), 0);  // nothing of a refused array
  localCache().clear();
  EXPECT_TRUE(localCache().history().empty());
}

}  // namespace
}  // namespace qbk::host
