#include "data/codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/expect_throw.h"

namespace qbk::data::json {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Runs `body`, expecting a ProtocolError with `code` whose message contains `text`.
template <typename Body>
void expectProtocolError(Body body, int code, const std::string& text) {
  try {
    body();
    ADD_FAILURE() << "no ProtocolError; expected: " << text;
  } catch (const ProtocolError& e) {
    EXPECT_EQ(e.code(), code) << e.what();
    EXPECT_THAT(e.what(), HasSubstr(text));
  }
}

Packet bankPacket() {
  Packet p;
  p.fields = {{"CDBANCO", FieldType::String, 3},
              {"NMBANCO", FieldType::String, 40},
              {"QTDIAPRORCNT", FieldType::Float, 0}};
  p.rows = {{std::string("001"), std::string("BANCO DO BRASIL S.A."), 2.0},
            {std::string("104"), std::string("CAIXA ECONÔMICA FEDERAL"), std::monostate{}},
            {std::string("999"), std::string(""), -0.125},
            {std::string("\"q\\"), std::string("tab\tnl\nctl\x01 ✓ 😀"), 1e300},
            {std::monostate{}, std::string("x"), 0.1}};
  return p;
}

Delta bankDelta() {
  Delta d;
  d.fields = {{"CDBANCO", FieldType::String, 3}, {"QTDIAPRORCNT", FieldType::Float, 0}};
  d.changes = {
      {Change::Op::Delete, {std::string("341"), 3.0}, {}},
      {Change::Op::Update, {std::string("001"), std::monostate{}}, {std::string("001"), 5.0}},
      {Change::Op::Insert, {}, {std::string("422"), std::monostate{}}},
  };
  return d;
}

// ---- round trips --------------------------------------------------------------------------

TEST(CodecRoundTrip, packetKeepsNullsEmptyTextsUtf8EscapesAndNumbers) {
  const Packet p = bankPacket();
  std::string text;
  appendPacket(text, p);
  EXPECT_EQ(parsePacket(text), p);
  // Null and the empty text stay different values.
  const Packet back = parsePacket(text);
  EXPECT_TRUE(isNull(back.rows[1][2]));
  EXPECT_EQ(std::get<std::string>(back.rows[2][1]), "");
  EXPECT_TRUE(isNull(back.rows[4][0]));
}

TEST(CodecRoundTrip, packetWireFormatIsTheDocumentedOne) {
  Packet p;
  p.fields = {{"CDBANCO", FieldType::String, 3}, {"QTDIAPRORCNT", FieldType::Float, 0}};
  p.rows = {{std::string("001"), 3.0}, {std::string("CAIXA"), std::monostate{}}};
  std::string text;
  appendPacket(text, p);
  EXPECT_EQ(text, R"({"fields":[{"name":"CDBANCO","type":"string","size":3},)"
                  R"({"name":"QTDIAPRORCNT","type":"float"}],"rows":[["001",3],["CAIXA",null]]})");
}

TEST(CodecRoundTrip, numbersUseTheShortestFormThatReadsBackExactly) {
  const double values[] = {
      0.1, 1.0 / 3.0, 3.0, -2.5, 1e21, 5e-324, std::numeric_limits<double>::max(), 123456789.125};
  for (double v : values) {
    std::string text;
    appendVariant(text, Variant(v));
    EXPECT_EQ(parseVariant(text).asNumber(), v) << text;
  }
  std::string text;
  appendVariant(text, Variant(VariantArray{0.1, 3.0, -0.5}));
  EXPECT_EQ(text, "[0.1,3,-0.5]");
}

TEST(CodecRoundTrip, deltaOfAllThreeOperationsKeepsOrderAndVersions) {
  const Delta d = bankDelta();
  std::string text;
  appendDelta(text, d);
  EXPECT_EQ(parseDelta(text), d);
  EXPECT_THAT(text, HasSubstr(R"("changes":[{"op":"delete","old":["341",3]},)"
                              R"({"op":"update","old":["001",null],"new":["001",5]},)"
                              R"({"op":"insert","new":["422",null]}])"));
}

TEST(CodecRoundTrip, variantsNestPacketsAndDeltasInArrays) {
  const Variant v(VariantArray{"N", Variant(bankPacket()), true, Variant(), 1.5,
                               VariantArray{Variant(bankDelta()), VariantArray{}}});
  std::string text = "prefix:";  // appends to what the reused buffer holds
  appendVariant(text, v);
  ASSERT_THAT(text, StartsWith("prefix:[\"N\",{"));
  const Variant back = parseVariant(std::string_view(text).substr(7));
  EXPECT_EQ(back, v);
  EXPECT_EQ(back.asArray()[0].asString(), "N");
  EXPECT_EQ(back.asArray()[1].asPacket().rows.size(), 5u);
  EXPECT_TRUE(back.asArray()[5].asArray()[0].isDelta());
}

TEST(CodecRoundTrip, requestAndResponseEnvelopes) {
  RpcRequest req{7, "SetBanco", {Variant(bankDelta()), "DSARQBOLCOMP", "", "CDBANCOCONV"}};
  const std::string wire = encodeRequest(req);
  EXPECT_THAT(wire, StartsWith(R"({"jsonrpc":"2.0","id":7,"method":"SetBanco","params":[{)"));
  const RpcRequest back = decodeRequest(wire);
  EXPECT_EQ(back.id, Variant(7));
  EXPECT_EQ(back.method, "SetBanco");
  EXPECT_EQ(back.params, req.params);

  const RpcRequest textId = decodeRequest(R"({"jsonrpc":"2.0","id":"a1","method":"GetBanco"})");
  EXPECT_EQ(textId.id, Variant("a1"));
  EXPECT_TRUE(textId.params.empty());

  RpcResponse ok;
  ok.id = 7;
  ok.result = VariantArray{"S", Variant(bankPacket())};
  const RpcResponse okBack = decodeResponse(encodeResponse(ok));
  EXPECT_TRUE(okBack.ok);
  EXPECT_EQ(okBack.id, Variant(7));
  EXPECT_EQ(okBack.result, ok.result);

  RpcResponse nullResult;
  nullResult.id = 8;
  EXPECT_EQ(encodeResponse(nullResult), R"({"jsonrpc":"2.0","id":8,"result":null})");

  RpcResponse err;
  err.id = 9;
  err.ok = false;
  err.errorCode = rpc_code::kApplication;
  err.errorMessage = "Registro já cadastrado em BANCO (CDBANCO=001).";
  const std::string errWire = encodeResponse(err);
  EXPECT_EQ(errWire, R"({"jsonrpc":"2.0","id":9,"error":{"code":-32000,)"
                     R"("message":"Registro já cadastrado em BANCO (CDBANCO=001)."}})");
  const RpcResponse errBack = decodeResponse(errWire);
  EXPECT_FALSE(errBack.ok);
  EXPECT_EQ(errBack.errorCode, rpc_code::kApplication);
  EXPECT_EQ(errBack.errorMessage, err.errorMessage);
}

// ---- refusals when reading ----------------------------------------------------------------

TEST(CodecRefusals, brokenJsonAndInvalidUtf8AreParseErrors) {
  for (const char* text : {"", "[1,2", "{\"a\":}", "[tru]", "\"abc", "[1e400]", "[1] x"})
    expectProtocolError([&] { parseVariant(text); }, rpc_code::kParseError, "JSON inválido: ");
  expectProtocolError([] { parseVariant("[\"CAIXA ECON\xC3\"]"); }, rpc_code::kParseError, "UTF-8");
  expectProtocolError([] { decodeRequest("{\"jsonrpc\":\"2.0\",\"method\":\"\xff\"}"); },
                      rpc_code::kParseError, "UTF-8");
}

TEST(CodecRefusals, deepNestingIsRefusedBeforeParsingWithoutCrashing) {
  // 100,000 levels in a 200 KB body: refused by the raw scan, never handed to a parser.
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  expectProtocolError([&] { parseVariant(deep); }, rpc_code::kParseError, "aninhamento");
  expectProtocolError([&] { decodeRequest(deep); }, rpc_code::kParseError, "aninhamento");
  expectProtocolError([&] { decodeResponse(deep); }, rpc_code::kParseError, "aninhamento");
  expectProtocolError([&] { parsePacket(deep); }, rpc_code::kParseError, "aninhamento");
  expectProtocolError([&] { parseDelta(deep); }, rpc_code::kParseError, "aninhamento");

  const auto nested = [](int n) { return std::string(n, '[') + std::string(n, ']'); };
  EXPECT_NO_THROW(parseVariant(nested(kMaxDepth)));
  expectProtocolError([&] { parseVariant(nested(kMaxDepth + 1)); }, rpc_code::kParseError,
                      "aninhamento acima de 64 níveis");
}

TEST(CodecRefusals, nestingCheckIgnoresBracketsInsideStringsAndEscapedQuotes) {
  const std::string brackets(500, '[');
  EXPECT_NO_THROW(checkNesting("[\"" + brackets + "\"]", 2));
  // An escaped quote does not end the string; an escaped backslash before a quote does.
  EXPECT_NO_THROW(checkNesting(R"(["a\"[[[[", "b"])", 1));
  EXPECT_THROW(checkNesting(R"(["a\\", [[]])", 2), ProtocolError);
  EXPECT_THROW(checkNesting("{\"k\":{\"k\":{}}}", 2), ProtocolError);
  // Stray closers do not buy extra depth afterwards.
  EXPECT_THROW(checkNesting("]]]][[[", 2), ProtocolError);
}

TEST(CodecRefusals, packetOfTheWrongShapeNamesTheProblem) {
  const std::string f =
      R"({"fields":[{"name":"CDBANCO","type":"string","size":3},{"name":"QT","type":"float"}],)";
  const int bad = rpc_code::kInvalidParams;
  expectProtocolError([&] { parsePacket(f + R"("rows":[["001",1],["002"]]})"); }, bad,
                      "a linha 2 tem 1 valores, mas há 2 campos");
  expectProtocolError([&] { parsePacket(f + R"("rows":[["001",1,2]]})"); }, bad,
                      "a linha 1 tem 3 valores");
  expectProtocolError([&] { parsePacket(f + R"("rows":[[1,1]]})"); }, bad,
                      "campo 'CDBANCO' na linha 1 deve ser texto ou nulo");
  expectProtocolError([&] { parsePacket(f + R"("rows":[["001","1"]]})"); }, bad,
                      "campo 'QT' na linha 1 deve ser número ou nulo");
  expectProtocolError([&] { parsePacket(f + R"("rows":["001"]})"); }, bad,
                      "a linha 1 não é uma lista");
  expectProtocolError([&] { parsePacket(f + "\"rows\":{}}"); }, bad, "\"rows\"");
  expectProtocolError([&] { parsePacket(R"({"fields":[{"type":"string"}],"rows":[]})"); }, bad,
                      "o campo 1 não traz \"name\"");
  expectProtocolError([&] { parsePacket(R"({"fields":[{"name":"A","type":"int"}],"rows":[]})"); },
                      bad, "tipo 'int' desconhecido");
  expectProtocolError([&] { parsePacket(R"({"fields":[{"name":"A"}],"rows":[]})"); }, bad,
                      "não traz \"type\"");
  for (const char* size : {"-1", "2.5", "\"3\"", "null", "4294967296"})
    expectProtocolError(
        [&] {
          parsePacket(std::string(R"({"fields":[{"name":"A","type":"string","size":)") + size +
                      "}],\"rows\":[]}");
        },
        bad, "\"size\" que não é um inteiro não negativo");
  expectProtocolError(
      [&] {
        parsePacket(
            R"({"fields":[{"name":"A","type":"float"},{"name":"A","type":"float"}],"rows":[]})");
      },
      bad, "'A' aparece duas vezes");
  expectProtocolError([] { parseVariant(R"({"fields":[]})"); }, bad, "nem pacote de alterações");
  expectProtocolError([] { parsePacket("[]"); }, bad, "Pacote inválido");
}

TEST(CodecRefusals, deltaOfTheWrongShapeNamesTheProblem) {
  const std::string f = R"({"fields":[{"name":"CDBANCO","type":"string","size":3}],)";
  const int bad = rpc_code::kInvalidParams;
  expectProtocolError([&] { parseDelta(f + R"("changes":[{"op":"upsert","new":["1"]}]})"); }, bad,
                      "operação 'upsert' desconhecida");
  expectProtocolError([&] { parseDelta(f + R"("changes":[{"new":["1"]}]})"); }, bad,
                      "não traz \"op\"");
  expectProtocolError([&] { parseDelta(f + R"("changes":[{"op":"update","new":["1"]}]})"); }, bad,
                      "a alteração 1 (update) não traz \"old\"");
  expectProtocolError([&] { parseDelta(f + R"("changes":[{"op":"insert","old":["1"]}]})"); }, bad,
                      "(insert) não traz \"new\"");
  expectProtocolError([&] { parseDelta(f + R"("changes":[{"op":"delete","new":["1"]}]})"); }, bad,
                      "(delete) não traz \"old\"");
  expectProtocolError(
      [&] {
        parseDelta(f + R"("changes":[{"op":"delete","old":["1"]},{"op":"insert","new":[]}]})");
      },
      bad, "a alteração 2 (\"new\") tem 0 valores, mas há 1 campos");
  expectProtocolError([&] { parseDelta(f + R"("changes":[{"op":"insert","new":[5]}]})"); }, bad,
                      "campo 'CDBANCO' na alteração 1 (\"new\") deve ser texto");
}

TEST(CodecRefusals, envelopesThatAreNotJsonRpcAreInvalidRequests) {
  const int bad = rpc_code::kInvalidRequest;
  expectProtocolError([] { decodeRequest(R"([{"jsonrpc":"2.0","method":"GetBanco"}])"); }, bad,
                      "Requisição inválida: ");
  expectProtocolError([] { decodeRequest(R"({"method":"GetBanco","params":[]})"); }, bad,
                      "\"jsonrpc\" deve ser \"2.0\"");
  expectProtocolError([] { decodeRequest(R"({"jsonrpc":"1.0","method":"GetBanco"})"); }, bad,
                      "\"jsonrpc\"");
  expectProtocolError([] { decodeRequest(R"({"jsonrpc":"2.0","id":1,"method":5})"); }, bad,
                      "\"method\" deve ser um texto");
  expectProtocolError(
      [] { decodeRequest(R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":"x"})"); }, bad,
      "\"params\" deve ser uma lista");
  expectProtocolError(
      [] { decodeRequest(R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":{}})"); },
      rpc_code::kInvalidParams, "parâmetros por nome não são aceitos");
  expectProtocolError([] { decodeRequest(R"({"jsonrpc":"2.0","id":[1],"method":"GetBanco"})"); },
                      bad, "\"id\"");
  // A well-formed envelope with a bad packet inside is a parameter error, not an envelope one.
  expectProtocolError(
      [] {
        decodeRequest(R"({"jsonrpc":"2.0","id":1,"method":"SetBanco","params":[{"changes":[]}]})");
      },
      rpc_code::kInvalidParams, "\"fields\"");

  expectProtocolError([] { decodeResponse(R"({"jsonrpc":"2.0","id":1})"); }, bad,
                      "Resposta inválida do servidor");
  expectProtocolError(
      [] {
        decodeResponse(R"({"jsonrpc":"2.0","id":1,"result":1,"error":{"code":1,"message":""}})");
      },
      bad, "só um deles");
  expectProtocolError(
      [] { decodeResponse(R"({"jsonrpc":"2.0","id":1,"error":{"code":"x","message":"m"}})"); }, bad,
      "\"code\" inteiro");
}

TEST(CodecRefusals, refusedRequestStillYieldsItsIdForTheErrorReply) {
  EXPECT_EQ(peekRequestId(R"({"jsonrpc":"2.0","id":42,"method":7})"), Variant(42));
  EXPECT_EQ(peekRequestId(R"({"jsonrpc":"2.0","id":"x","params":[{"rows":1}]})"), Variant("x"));
  EXPECT_TRUE(peekRequestId("{\"id\":3").isNull());
  EXPECT_TRUE(peekRequestId(R"({"id":{}})").isNull());
}

// ---- refusals when writing ----------------------------------------------------------------

TEST(CodecWriting, valuesTheReaderWouldRefuseAreNeverWritten) {
  std::string out;
  EXPECT_THROW(appendVariant(out, Variant(std::nan(""))), DataError);
  EXPECT_THROW(appendVariant(out, Variant(std::numeric_limits<double>::infinity())), DataError);
  EXPECT_THROW(appendVariant(out, Variant("CAIXA ECON\xC3")), DataError);

  Packet p = bankPacket();
  p.rows[1][1] = std::string("\xff");
  EXPECT_THROW_MSG(appendPacket(out, p), DataError, HasSubstr("'NMBANCO'"));
  p = bankPacket();
  p.rows[2].pop_back();
  EXPECT_THROW(appendPacket(out, p), DataError);
  p = bankPacket();
  p.rows[0][2] = std::string("2");
  EXPECT_THROW(appendPacket(out, p), DataError);

  Delta d = bankDelta();
  d.changes[1].oldRow.clear();  // an update without its original values
  EXPECT_THROW(appendDelta(out, d), DataError);

  RpcRequest r{Variant(true), "GetBanco", {}};
  EXPECT_THROW(encodeRequest(r), DataError);
}

TEST(CodecWriting, failedEncodingLeavesTheReusedBufferAsItWas) {
  std::string out = "kept";
  Packet p = bankPacket();
  p.rows.back()[1] = std::string("\xC3");
  EXPECT_THROW(appendResponse(out, RpcResponse{1, true, Variant(p), 0, {}}), DataError);
  EXPECT_EQ(out, "kept");
  appendVariant(out, Variant(VariantArray{1, "a"}));
  EXPECT_EQ(out, "kept[1,\"a\"]");
}

}  // namespace
}  // namespace qbk::data::json
