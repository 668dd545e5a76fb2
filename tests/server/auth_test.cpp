// Who may call: a shared secret on every call once the server has one (it must, beyond
// loopback), checked before anything reaches the database; HTTPS when configured.
#include <gmock/gmock.h>

#include <cstdlib>

#include "http_front_support.h"
#include "support/expect_throw.h"

namespace qbk::server::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kToken = "s3gr3do-de-teste-0123456789";

std::string withAuthorization(const std::string& value) {
  return rpcRequest(getBancoBody(), "Authorization: " + value + "\r\n");
}

TEST_F(HttpFrontTest, aServerWithATokenRefusesEveryCallWithoutIt) {
  ServerOptions o = shortDeadlines(database);
  o.token = kToken;
  startServer(o);
  auto statusWith = [&](const std::string& raw) {
    RawConnection c(port());
    c.send(raw);
    return c.readResponse(Millis(3000));
  };
  const std::string missing = statusWith(rpcRequest(getBancoBody()));
  EXPECT_EQ(statusOf(missing), 401);
  EXPECT_THAT(missing, HasSubstr("WWW-Authenticate: Bearer"));
  EXPECT_THAT(missing, HasSubstr("Token de acesso ausente ou inválido"));
  EXPECT_EQ(statusOf(statusWith(withAuthorization("Bearer errado"))), 401);
  EXPECT_EQ(statusOf(statusWith(withAuthorization(std::string("Bearer ") + kToken + "x"))), 401);
  EXPECT_EQ(statusOf(statusWith(withAuthorization(std::string("Basic ") + kToken))), 401);
  EXPECT_EQ(statusOf(statusWith(withAuthorization(std::string("Bearer ") + kToken))), 200);
  EXPECT_EQ(statusOf(statusWith(withAuthorization(std::string("bearer  ") + kToken))), 200);
  // The proxy's health check needs no secret and tells nothing.
  EXPECT_EQ(statusOf(statusWith("GET /health HTTP/1.1\r\nHost: localhost\r\n\r\n")), 200);
}

// A database that cannot even be opened shows whether a call got that far: with the right
// token it fails inside, without it it never gets there.
TEST_F(HttpFrontTest, aMissingOrWrongTokenIsRefusedBeforeAnyDatabaseAccess) {
  ServerOptions o = shortDeadlines(dir.file("no/such/dir/banco.db"));
  o.token = kToken;
  startServer(o);
  RawConnection wrong(port());
  wrong.send(withAuthorization("Bearer outro"));
  EXPECT_EQ(statusOf(wrong.readResponse(Millis(3000))), 401);
  RawConnection right(port());
  right.send(withAuthorization(std::string("Bearer ") + kToken));
  const std::string res = right.readResponse(Millis(3000));
  ASSERT_EQ(statusOf(res), 200);
  EXPECT_EQ(data::json::decodeResponse(bodyOf(res)).errorCode, data::rpc_code::kInternalError);
}

TEST_F(HttpFrontTest, beyondLoopbackTheServerDoesNotStartWithoutAToken) {
  ServerOptions o = shortDeadlines(database);
  o.address = "0.0.0.0";
  EXPECT_THROW_MSG(Server(o).start(), Error, HasSubstr("sem um token de acesso"));
  EXPECT_TRUE(isLoopbackAddress("127.0.0.1"));
  EXPECT_TRUE(isLoopbackAddress("127.3.2.1"));
  EXPECT_TRUE(isLoopbackAddress("::1"));
  EXPECT_TRUE(isLoopbackAddress("localhost"));
  EXPECT_FALSE(isLoopbackAddress("0.0.0.0"));
  EXPECT_FALSE(isLoopbackAddress("::"));
  EXPECT_FALSE(isLoopbackAddress("10.0.0.5"));
  o.token = kToken;
  Server s(o);
  EXPECT_NO_THROW(s.start());
  s.stop();
}

// A throwaway self-signed certificate for "localhost", made with the openssl program.
bool makeCertificate(const std::string& cert, const std::string& key) {
  const std::string cmd =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost "
      "-addext subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout '" +
      key + "' -out '" + cert + "' >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

TEST_F(HttpFrontTest, withACertificateTheServerSpeaksHttpsOnly) {
  const std::string cert = dir.file("cert.pem"), key = dir.file("key.pem");
  if (!makeCertificate(cert, key)) GTEST_SKIP() << "the openssl program is not available";
  ServerOptions o = shortDeadlines(database);
  o.tlsCertificateFile = cert;
  o.tlsKeyFile = key;
  o.token = kToken;
  startServer(o);

  httplib::SSLClient tls("127.0.0.1", port());
  tls.set_ca_cert_path(cert.c_str());
  tls.enable_server_certificate_verification(true);
  tls.set_bearer_token_auth(kToken);
  auto res = tls.Post("/rpc/Qbk51200.rdmBanco", getBancoBody(), "application/json");
  ASSERT_TRUE(res) << httplib::to_string(res.error());
  EXPECT_EQ(res->status, 200);
  EXPECT_TRUE(data::json::decodeResponse(res->body).ok);

  // Plain HTTP to it gets no answer, and a client that does not trust the certificate
  // refuses the server.
  RawConnection plain(port());
  plain.send(withAuthorization(std::string("Bearer ") + kToken));
  EXPECT_EQ(statusOf(plain.readResponse(Millis(3000))), 0);
  httplib::SSLClient untrusting("127.0.0.1", port());
  untrusting.enable_server_certificate_verification(true);
  untrusting.set_ca_cert_path(dir.file("none.pem").c_str());
  EXPECT_FALSE(untrusting.Get("/health"));

  // Files that are not a certificate and key stop the start with a clear error.
  ServerOptions bad = shortDeadlines(database);
  bad.tlsCertificateFile = key;
  bad.tlsKeyFile = cert;
  Server wrong(bad);
  EXPECT_THROW(wrong.start(), Error);
}

}  // namespace
}  // namespace qbk::server::testing
