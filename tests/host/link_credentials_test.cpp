// The server link's credentials: the shared secret and HTTPS come from the host's
// configuration (server_token, server_tls, server_ca), and a server that refuses them is
// reported in words the person at the screen can act on.
#include <gmock/gmock.h>
#include <httplib.h>

#include <cstdlib>

#include "host/config.h"
#include "host/net_connection.h"
#include "link_test_server.h"
#include "support/expect_throw.h"
#include "support/temp_dir.h"

namespace qbk::host::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

// The process-wide configuration for one test, put back afterwards.
struct ConfigScope {
  explicit ConfigScope(HostConfig c) { setHostConfig(std::move(c)); }
  ~ConfigScope() { setHostConfig(HostConfig{}); }
};

void okAnswer(const httplib::Request& req, httplib::Response& res) {
  json::RpcResponse reply;
  reply.id = json::decodeRequest(req.body).id;
  res.set_content(json::encodeResponse(reply), "application/json");
}

TEST(LinkCredentials, theTokenOfTheConfigurationGoesWithEveryCall) {
  FakeRpcServer server;
  std::vector<std::string> seen;
  std::mutex m;
  server.answerRaw([&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(m);
    seen.push_back(req.get_header_value("Authorization"));
    okAnswer(req, res);
  });
  HostConfig config;
  config.serverToken = "segredo-da-config";
  ConfigScope scope(config);

  NetConnection net;
  net.port = server.port();
  net.connect();
  net.call("GetBanco");
  net.call("GetBanco");
  NetConnection own;  // a token set on the link itself wins over the configuration
  own.port = server.port();
  own.token = "segredo-proprio";
  own.connect();
  own.call("GetBanco");
  EXPECT_THAT(seen, ::testing::ElementsAre("Bearer segredo-da-config", "Bearer segredo-da-config",
                                           "Bearer segredo-proprio"));

  setHostConfig(HostConfig{});
  seen.clear();
  NetConnection none;
  none.port = server.port();
  none.connect();
  none.call("GetBanco");
  EXPECT_THAT(seen, ::testing::ElementsAre(""));
}

TEST(LinkCredentials, aRefusedTokenOrRequestIsReportedInTheServersWords) {
  FakeRpcServer server;
  int status = 401;
  server.answerRaw([&](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content("Requisições vindas de páginas web não são aceitas.\n",
                    "text/plain; charset=utf-8");
  });
  NetConnection net;
  net.port = server.port();
  net.connect();
  EXPECT_THROW_MSG(
      net.call("GetBanco"), ConnectionError,
      AllOf(HasSubstr("token de acesso ausente ou inválido"), HasSubstr("server_token")));
  status = 403;
  EXPECT_THROW_MSG(
      net.call("GetBanco"), ConnectionError,
      HasSubstr("status HTTP 403 (Requisições vindas de páginas web não são aceitas.)"));
}

TEST(LinkCredentials, theConfigurationKeysAreReadAndCheckedLikeTheOthers) {
  HostConfig c;
  c.set("server_token", "  abc  ", "teste");
  c.set("server_tls", "sim", "teste");
  c.set("server_ca", "/etc/qbk/ca.pem", "teste");
  EXPECT_EQ(c.serverToken, "abc");
  EXPECT_TRUE(c.serverTls);
  EXPECT_EQ(c.serverCa, "/etc/qbk/ca.pem");
  c.set("SERVER_TLS", "não", "teste");
  EXPECT_FALSE(c.serverTls);
  EXPECT_THROW(c.set("server_tls", "talvez", "teste"), Error);
  c.applyEnvironment({{"QBK_SERVER_TOKEN", "do-ambiente"}});
  EXPECT_EQ(c.serverToken, "do-ambiente");
}

TEST(LinkCredentials, overHttpsTheServersCertificateIsVerified) {
  ::qbk::testing::TempDir dir;
  const std::string cert = dir.file("cert.pem"), key = dir.file("key.pem");
  const std::string cmd =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost "
      "-addext subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout '" +
      key + "' -out '" + cert + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "the openssl program is not available";

  httplib::SSLServer tls(cert.c_str(), key.c_str());
  ASSERT_TRUE(tls.is_valid());
  tls.Get("/health", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok", "text/plain");
  });
  tls.Post("/rpc/Qbk51200.rdmBanco", okAnswer);
  const int port = tls.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { tls.listen_after_bind(); });
  while (!tls.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  HostConfig config;
  config.serverTls = true;
  config.serverCa = cert;
  {
    ConfigScope scope(config);
    NetConnection net;
    net.port = port;
    net.connect();
    EXPECT_TRUE(net.call("GetBanco").ok);
  }
  {
    NetConnection untrusting;  // HTTPS, but the certificate's issuer is not trusted
    untrusting.port = port;
    untrusting.tls = true;
    untrusting.caFile = dir.file("vazio.pem");
    EXPECT_THROW(untrusting.connect(), ConnectionError);
  }
  tls.stop();
  thread.join();
}

}  // namespace
}  // namespace qbk::host::testing
