// Requests that could be read two ways are refused before anything runs: a key given twice
// in the request or in a delta, headers that disagree about the body, and a Host or Origin
// that shows the request was not meant for this server (a web page in the desktop user's
// browser aimed at a server on loopback).
#include <gmock/gmock.h>

#include "http_front_support.h"

namespace qbk::server::testing {
namespace {

using ::testing::HasSubstr;

class TwoMeaningsTest : public HttpFrontTest {
 protected:
  void SetUp() override {
    HttpFrontTest::SetUp();
    ServerOptions o = shortDeadlines(database);
    o.allowedHosts = {"qbk.example.com"};
    startServer(o);
  }

  // Every row of the tables a delta could touch, to show that nothing changed.
  std::string stored() {
    auto conn = db::open(database);
    std::string out;
    for (const char* table : {"BANCO", "ERRCNABP"})
      for (const auto& row : conn->query(std::string("SELECT * FROM ") + table).rows)
        for (const auto& v : row)
          out += (std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "?") + "|";
    return out;
  }

  std::string exchange(const std::string& raw) {
    RawConnection c(port());
    c.send(raw);
    return c.readResponse(Millis(3000));
  }
};

const std::string kInsert =
    R"({"jsonrpc":"2.0","id":1,"method":"SetErrCnabPag","params":[{"fields":[)"
    R"({"name":"CDBANCO","type":"string","size":3},{"name":"CDERRCNABP","type":"string","size":10},)"
    R"({"name":"DSERRCNABP","type":"string","size":200}],"changes":[)"
    R"({"op":"insert","new":["001","88","Nova"]}]}]})";

TEST_F(TwoMeaningsTest, aKeyGivenTwiceIsRefusedWithWhatWasRepeated) {
  const std::string before = stored();
  struct Case {
    std::string body;
    int code;
    const char* says;
  };
  std::string twiceMethod = kInsert;
  twiceMethod.insert(1, R"("method":"GetBanco",)");
  std::string twiceOp = kInsert;
  twiceOp.replace(twiceOp.find(R"("op":"insert")"), 13, R"("op":"delete","op":"insert")");
  std::string twiceNew = kInsert;
  twiceNew.replace(twiceNew.find(R"("new")"), 5, R"("new":["001","89","x"],"new")");
  std::string twiceRow = kInsert;
  twiceRow.replace(twiceRow.find("]}]}]}"), 6,
                   R"(]},{"op":"insert","new":["001","88","Outra"]}]}]})");
  const std::vector<Case> cases = {
      {twiceMethod, data::rpc_code::kInvalidRequest, "a chave \"method\" aparece duas vezes"},
      {twiceOp, data::rpc_code::kInvalidParams, "a chave \"op\" aparece duas vezes"},
      {twiceNew, data::rpc_code::kInvalidParams, "a chave \"new\" aparece duas vezes"},
      {twiceRow, data::rpc_code::kApplication, "aparece duas vezes no mesmo pacote"},
  };
  for (const Case& c : cases) {
    const std::string res = exchange(rpcRequest(c.body));
    ASSERT_EQ(statusOf(res), 200) << res;
    const auto r = data::json::decodeResponse(bodyOf(res));
    EXPECT_EQ(r.errorCode, c.code) << c.body;
    EXPECT_THAT(r.errorMessage, HasSubstr(c.says));
  }
  EXPECT_EQ(stored(), before);
}

TEST_F(TwoMeaningsTest, headersThatDisagreeAboutTheBodyAreRefused) {
  const std::string before = stored();
  const std::string body = kInsert;
  const std::string head =
      "POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: "
      "application/json\r\n";
  const std::string len = std::to_string(body.size());
  // Two lengths, a length beside chunked coding, two types: none is taken.
  EXPECT_EQ(
      statusOf(exchange(head + "Content-Length: " + len + "\r\nContent-Length: 5\r\n\r\n" + body)),
      400);
  EXPECT_EQ(statusOf(exchange(head + "Content-Length: " + len +
                              "\r\nTransfer-Encoding: chunked\r\n\r\n" + body)),
            400);
  EXPECT_EQ(statusOf(exchange("POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                              "Content-Type: application/json\r\nContent-Type: text/plain\r\n"
                              "Content-Length: " +
                              len + "\r\n\r\n" + body)),
            400);
  EXPECT_EQ(stored(), before);
}

TEST_F(TwoMeaningsTest, aHostOrOriginNotOfThisServerIsRefusedBeforeTheBodyIsRead) {
  const std::string before = stored();
  auto withHost = [&](const std::string& host, const std::string& extra = {}) {
    std::string raw = rpcRequest(kInsert, extra);
    raw.replace(raw.find("Host: 127.0.0.1"), 15, host.empty() ? "X-No-Host: 1" : "Host: " + host);
    return statusOf(exchange(raw));
  };
  // A page from attacker.example that made its own name resolve to 127.0.0.1.
  EXPECT_EQ(withHost("attacker.example:8051"), 421);
  EXPECT_EQ(withHost("localhost.attacker.example"), 421);
  EXPECT_EQ(withHost(""), 421);
  EXPECT_EQ(withHost("127.0.0.1", "Host: attacker.example\r\n"), 421);
  EXPECT_EQ(withHost("127.0.0.1", "Origin: http://attacker.example\r\n"), 403);
  EXPECT_EQ(withHost("localhost", "Origin: null\r\n"), 403);
  EXPECT_EQ(stored(), before);

  // The names the server is reached by: loopback names, IP literals and the configured one.
  for (const std::string host : {"localhost:8051", "127.0.0.1", "[::1]:8051", "10.0.0.5:8051",
                                 "QBK.example.com", "qbk.example.com."}) {
    std::string raw = rpcRequest(getBancoBody());
    raw.replace(raw.find("Host: 127.0.0.1"), 15, "Host: " + host);
    EXPECT_EQ(statusOf(exchange(raw)), 200) << host;
  }
}

}  // namespace
}  // namespace qbk::server::testing
