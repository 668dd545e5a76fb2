// JSON-RPC 2.0 as a generic client of it expects: the examples that define batches,
// notifications and the error codes, written with this server's methods, and a table of
// malformed requests, each refused with its own code while nothing is stored.
#include <gmock/gmock.h>

#include <optional>
#include <variant>

#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

namespace code = data::rpc_code;
using data::Variant;

// What one reply must be: a result or an error code, and the id it echoes.
struct Reply {
  Variant id;
  int error = 0;  // 0: a result
};

Reply result(Variant id) {
  return {std::move(id), 0};
}
Reply error(int code, Variant id = Variant()) {
  return {std::move(id), code};
}

// No reply at all (HTTP 204), one reply, or the array a batch gets.
using Expected = std::variant<std::monostate, Reply, std::vector<Reply>>;

struct Case {
  const char* name;
  std::string body;
  Expected expected;
};

void expectReply(const Case& c, const Reply& want, const data::json::RpcResponse& got) {
  EXPECT_EQ(got.id, want.id) << c.name;
  if (want.error == 0) {
    EXPECT_TRUE(got.ok) << c.name << ": " << got.errorMessage;
  } else {
    EXPECT_FALSE(got.ok) << c.name;
    EXPECT_EQ(got.errorCode, want.error) << c.name << ": " << got.errorMessage;
    EXPECT_FALSE(got.errorMessage.empty()) << c.name;
  }
}

// Splits a batch reply into its elements and reads each with the codec's response reader.
std::vector<data::json::RpcResponse> batchReplies(const std::string& body) {
  std::vector<data::json::RpcResponse> out;
  if (body.empty() || body.front() != '[') return out;
  int depth = 0;
  std::size_t start = 0;
  bool inString = false;
  for (std::size_t i = 1; i + 1 < body.size(); ++i) {
    const char ch = body[i];
    if (inString) {
      if (ch == '\\')
        ++i;
      else if (ch == '"')
        inString = false;
      continue;
    }
    if (ch == '"') inString = true;
    if (ch == '{') {
      if (depth++ == 0) start = i;
    } else if (ch == '}' && --depth == 0) {
      out.push_back(data::json::decodeResponse(body.substr(start, i - start + 1)));
    }
  }
  return out;
}

class JsonRpcTest : public ServerTest {
 protected:
  void check(const Case& c) {
    const std::string before = dump();
    auto res = client->post(c.body);
    ASSERT_TRUE(res) << c.name << ": no HTTP answer";
    if (std::holds_alternative<std::monostate>(c.expected)) {
      EXPECT_EQ(res->status, 204) << c.name;
      EXPECT_EQ(res->body, "") << c.name;
    } else if (const auto* one = std::get_if<Reply>(&c.expected)) {
      ASSERT_EQ(res->status, 200) << c.name;
      ASSERT_NE(res->body.front(), '[') << c.name << ": " << res->body;
      expectReply(c, *one, data::json::decodeResponse(res->body));
    } else {
      const auto& many = std::get<std::vector<Reply>>(c.expected);
      ASSERT_EQ(res->status, 200) << c.name;
      ASSERT_EQ(res->body.front(), '[') << c.name << ": " << res->body;
      const auto got = batchReplies(res->body);
      ASSERT_EQ(got.size(), many.size()) << c.name << ": " << res->body;
      for (std::size_t i = 0; i < many.size(); ++i) expectReply(c, many[i], got[i]);
    }
    EXPECT_EQ(dump(), before) << c.name << ": something was stored";
    EXPECT_TRUE(call("GetBanco").ok) << c.name << ": the server stopped answering";
  }
};

// The examples of the JSON-RPC 2.0 definition, in its order, with this server's methods in
// place of its "subtract", "update", "sum", "notify_hello" and "get_data". Parameters by
// name are the one deliberate difference: this server takes them by position only.
TEST_F(JsonRpcTest, theDefinitionsExamplesAreAnsweredAsItSays) {
  const std::vector<Case> cases = {
      {"positional parameters",
       R"({"jsonrpc": "2.0", "method": "GetErrCnabPag", "params": ["001"], "id": 1})", result(1)},
      {"positional parameters, again",
       R"({"jsonrpc": "2.0", "method": "GetErrCnabRec", "params": ["341"], "id": 2})", result(2)},
      {"named parameters are refused",
       R"({"jsonrpc": "2.0", "method": "GetErrCnabPag", "params": {"banco": "001"}, "id": 3})",
       error(code::kInvalidParams, 3)},
      {"a notification", R"({"jsonrpc": "2.0", "method": "GetErrCnabPag", "params": ["001"]})",
       std::monostate{}},
      {"a notification of an unknown method", R"({"jsonrpc": "2.0", "method": "foobar"})",
       std::monostate{}},
      {"an unknown method", R"({"jsonrpc": "2.0", "method": "foobar", "id": "1"})",
       error(code::kMethodNotFound, "1")},
      {"invalid JSON", R"({"jsonrpc": "2.0", "method": "foobar, "params": "bar", "baz])",
       error(code::kParseError)},
      {"an invalid request object", R"({"jsonrpc": "2.0", "method": 1, "params": "bar"})",
       error(code::kInvalidRequest)},
      {"a batch that is invalid JSON",
       R"([
  {"jsonrpc": "2.0", "method": "GetErrCnabPag", "params": ["001"], "id": "1"},
  {"jsonrpc": "2.0", "method"
])",
       error(code::kParseError)},
      {"an empty batch", "[]", error(code::kInvalidRequest)},
      {"a batch of one non-request", "[1]", std::vector<Reply>{error(code::kInvalidRequest)}},
      {"a batch of non-requests", "[1,2,3]",
       std::vector<Reply>{error(code::kInvalidRequest), error(code::kInvalidRequest),
                          error(code::kInvalidRequest)}},
      {"a mixed batch",
       R"([
  {"jsonrpc": "2.0", "method": "GetErrCnabPag", "params": ["001"], "id": "1"},
  {"jsonrpc": "2.0", "method": "GetBanco", "params": []},
  {"jsonrpc": "2.0", "method": "GetErrCnabRec", "params": ["001"], "id": "2"},
  {"foo": "boo"},
  {"jsonrpc": "2.0", "method": "foo.get", "params": {"name": "myself"}, "id": "5"},
  {"jsonrpc": "2.0", "method": "GetBancoDDA", "params": ["001"], "id": "9"}
])",
       std::vector<Reply>{result("1"), result("2"), error(code::kInvalidRequest),
                          error(code::kMethodNotFound, "5"), result("9")}},
      {"a batch of notifications only",
       R"([
  {"jsonrpc": "2.0", "method": "GetBanco", "params": []},
  {"jsonrpc": "2.0", "method": "GetErrCnabPag", "params": ["001"]}
])",
       std::monostate{}},
  };
  for (const Case& c : cases) check(c);
}

std::string setErrCnabPag(const std::string& delta, const std::string& id = "1") {
  return R"({"jsonrpc":"2.0","id":)" + id + R"(,"method":"SetErrCnabPag","params":[)" + delta +
         "]}";
}

const char* kPagFields = R"("fields":[{"name":"CDBANCO","type":"string","size":3},)"
                         R"({"name":"CDERRCNABP","type":"string","size":10},)"
                         R"({"name":"DSERRCNABP","type":"string","size":200}])";

std::string pagDelta(const std::string& changes) {
  return std::string("{") + kPagFields + R"(,"changes":[)" + changes + "]}";
}

TEST_F(JsonRpcTest, malformedRequestsGetTheRightErrorAndStoreNothing) {
  const std::string envelope = R"("jsonrpc":"2.0","id":1,)";
  const std::string insert = R"({"op":"insert","new":["001","77","Nova"]})";
  const std::vector<Case> cases = {
      {"empty body", "", error(code::kParseError)},
      {"blanks only", "  \n ", error(code::kParseError)},
      {"truncated", R"({"jsonrpc":"2.0","id":1,"method":"GetBanco")", error(code::kParseError)},
      {"trailing text", R"({"jsonrpc":"2.0","id":1,"method":"GetBanco"} x)",
       error(code::kParseError)},
      {"bad escape", R"({"jsonrpc":"2.0","id":1,"method":"Get\xBanco"})", error(code::kParseError)},
      {"lone surrogate", R"({"jsonrpc":"2.0","id":1,"method":"\ud800"})", error(code::kParseError)},
      {"invalid UTF-8", "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"\xC3\x28\"}",
       error(code::kParseError)},
      {"number out of range", R"({"jsonrpc":"2.0","id":1e400,"method":"GetBanco"})",
       error(code::kParseError)},
      {"nesting past the limit",
       R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":)" + std::string(65, '[') +
           std::string(65, ']') + "}",
       error(code::kParseError)},
      {"null", "null", error(code::kInvalidRequest)},
      {"a number", "42", error(code::kInvalidRequest)},
      {"a text", R"("GetBanco")", error(code::kInvalidRequest)},
      {"an empty object", "{}", error(code::kInvalidRequest)},
      {"no version", R"({"id":1,"method":"GetBanco"})", error(code::kInvalidRequest, 1)},
      {"version 1.0", R"({"jsonrpc":"1.0","id":1,"method":"GetBanco"})",
       error(code::kInvalidRequest, 1)},
      {"version as a number", R"({"jsonrpc":2.0,"id":1,"method":"GetBanco"})",
       error(code::kInvalidRequest, 1)},
      {"no method", R"({"jsonrpc":"2.0","id":1})", error(code::kInvalidRequest, 1)},
      {"method null", R"({"jsonrpc":"2.0","id":1,"method":null})", error(code::kInvalidRequest, 1)},
      {"method a list", R"({"jsonrpc":"2.0","id":1,"method":["GetBanco"]})",
       error(code::kInvalidRequest, 1)},
      {"id an object", R"({"jsonrpc":"2.0","id":{},"method":"GetBanco"})",
       error(code::kInvalidRequest)},
      {"id a list", R"({"jsonrpc":"2.0","id":[1],"method":"GetBanco"})",
       error(code::kInvalidRequest)},
      {"id a logical value", R"({"jsonrpc":"2.0","id":true,"method":"GetBanco"})",
       error(code::kInvalidRequest)},
      {"params a text", R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":"x"})",
       error(code::kInvalidRequest, 1)},
      {"params a number", R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":3})",
       error(code::kInvalidRequest, 1)},
      {"params by name", R"({"jsonrpc":"2.0","id":1,"method":"GetEmprBanc","params":{"b":"001"}})",
       error(code::kInvalidParams, 1)},
      {"method given twice",
       R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","method":"SetBanco","params":[]})",
       error(code::kInvalidRequest, 1)},
      {"id given twice", R"({"jsonrpc":"2.0","id":1,"id":2,"method":"GetBanco"})",
       error(code::kInvalidRequest, 1)},
      {"unknown method", "{" + envelope + R"("method":"DropBanco","params":[]})",
       error(code::kMethodNotFound, 1)},
      {"method in the wrong case", "{" + envelope + R"("method":"getbanco","params":[]})",
       error(code::kMethodNotFound, 1)},
      {"too many parameters", "{" + envelope + R"("method":"GetBanco","params":["001"]})",
       error(code::kInvalidParams, 1)},
      {"too few parameters", "{" + envelope + R"("method":"GetEmprBanc","params":[]})",
       error(code::kInvalidParams, 1)},
      {"a number for a text", "{" + envelope + R"("method":"GetEmprBanc","params":[1]})",
       error(code::kInvalidParams, 1)},
      {"a NUL in a text", "{" + envelope + R"("method":"GetEmprBanc","params":["0\u00001"]})",
       error(code::kInvalidParams, 1)},
      {"an object that is no packet",
       "{" + envelope + R"("method":"SetErrCnabPag","params":[{"a":1}]})",
       error(code::kInvalidParams, 1)},
      {"a delta without fields", setErrCnabPag(R"({"changes":[]})"),
       error(code::kInvalidParams, 1)},
      {"a delta with a field given twice",
       setErrCnabPag(pagDelta(insert).replace(1, 0, R"("fields":[],)")),
       error(code::kInvalidParams, 1)},
      {"a change with op given twice",
       setErrCnabPag(pagDelta(R"({"op":"insert","op":"delete","new":["001","77","x"]})")),
       error(code::kInvalidParams, 1)},
      {"a field description with a key given twice",
       setErrCnabPag(
           R"({"fields":[{"name":"CDBANCO","name":"X","type":"string","size":3}],"changes":[]})"),
       error(code::kInvalidParams, 1)},
      {"an unknown operation", setErrCnabPag(pagDelta(R"({"op":"upsert","new":["001","7","x"]})")),
       error(code::kInvalidParams, 1)},
      {"an update without its original",
       setErrCnabPag(pagDelta(R"({"op":"update","new":["001","02","x"]})")),
       error(code::kInvalidParams, 1)},
      {"a row of the wrong width", setErrCnabPag(pagDelta(R"({"op":"insert","new":["001"]})")),
       error(code::kInvalidParams, 1)},
      {"a number in a text field",
       setErrCnabPag(pagDelta(R"({"op":"insert","new":["001",77,"x"]})")),
       error(code::kInvalidParams, 1)},
      {"a NUL in a stored value",
       setErrCnabPag(pagDelta(R"({"op":"insert","new":["001","77","a\u0000b"]})")),
       error(code::kApplication, 1)},
      {"the same row inserted twice", setErrCnabPag(pagDelta(insert + "," + insert)),
       error(code::kApplication, 1)},
      {"an unknown field",
       setErrCnabPag(
           R"({"fields":[{"name":"CDBANCO","type":"string","size":3},{"name":"XX","type":"string"}],)"
           R"("changes":[{"op":"insert","new":["001","x"]}]})"),
       error(code::kApplication, 1)},
  };
  EXPECT_GE(cases.size(), 40u);
  for (const Case& c : cases) check(c);
}

// Each delta of a batch is its own transaction, applied in the batch's order: a refused
// one leaves the ones before it stored, and the ones after it still run.
TEST_F(JsonRpcTest, aBatchOfDeltasAppliesEachOnItsOwnInOrder) {
  const std::string body =
      "[" + setErrCnabPag(pagDelta(R"({"op":"insert","new":["001","70","a"]})"), "1") + "," +
      setErrCnabPag(pagDelta(R"({"op":"insert","new":["001","70","b"]})"), "2") + "," +
      setErrCnabPag(pagDelta(R"({"op":"update","old":["001","70","a"],"new":["001","70","c"]})"),
                    "3") +
      "]";
  auto res = client->post(body);
  ASSERT_TRUE(res);
  const auto replies = batchReplies(res->body);
  ASSERT_EQ(replies.size(), 3u) << res->body;
  EXPECT_TRUE(replies[0].ok);
  EXPECT_EQ(replies[1].errorCode, code::kApplication);
  EXPECT_THAT(replies[1].errorMessage, ::testing::HasSubstr("já cadastrado"));
  EXPECT_TRUE(replies[2].ok) << replies[2].errorMessage;
  const data::Packet rows = fetch("GetCodigoPag", {"001", "70"});
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(cell(rows, rows.rows[0], "DSERRCNABP"), data::Value("c"));
}

}  // namespace
}  // namespace qbk::server::testing
