#include "server_fixture.h"

#include <spdlog/spdlog.h>
#include <stdlib.h>

#include "server/catalog.h"
#include "server/schema.h"

namespace qbk::server::testing {

using data::Packet;
using data::Row;
using data::Value;
using data::Variant;

RpcClient::RpcClient(int port) : http_("127.0.0.1", port) {
  http_.set_keep_alive(true);
  http_.set_tcp_nodelay(true);
  http_.set_read_timeout(std::chrono::seconds(30));
}

data::json::RpcResponse RpcClient::call(const std::string& method, data::VariantArray params) {
  data::json::RpcRequest request;
  request.id = Variant(nextId_++);
  request.method = method;
  request.params = std::move(params);
  auto res = post(data::json::encodeRequest(request));
  if (!res) throw std::runtime_error("sem resposta HTTP: " + httplib::to_string(res.error()));
  if (res->status != 200) throw std::runtime_error("HTTP " + std::to_string(res->status));
  return data::json::decodeResponse(res->body);
}

httplib::Result RpcClient::post(const std::string& body, const std::string& contentType) {
  return http_.Post(kRpcPath, body, contentType);
}

namespace {

// Three banks (one with every optional field null), three companies of which only the
// first has settings for bank 001, codes and instructions for 001, a standard message for
// clearing-house code 001, and a current account that keeps bank 341 in use.
const char* kSeed = R"sql(
INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB, QTDIAPRORCNT,
  DSARQCHEQUE, DSDIRIMPARQDDA, DSEMAILDDA, DSDIRIMPARQDDALOCAL)
  VALUES ('001', 'BANCO DO BRASIL S.A.', '9999-9', '99999999-9', '001', 5,
  '/opt/qbk/modelos/cheque_bb.qr2', NULL, 'dda@empresa.com.br', NULL);
INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB)
  VALUES ('104', 'CAIXA ECONÔMICA FEDERAL', '9999', '99999999-9', '104');
INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB)
  VALUES ('341', 'ITAÚ UNIBANCO S.A.', '9999', '99999-9', '341');
INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRINSJUREMPR) VALUES ('01', 'COMERCIAL ALFA LTDA', '11222333000181');
INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRINSJUREMPR) VALUES ('02', 'BETA INDÚSTRIA S.A.', '11222333000262');
INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRINSJUREMPR) VALUES ('03', 'GAMA SERVIÇOS LTDA', '11222333000343');
INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRINSJUREMPR) VALUES ('00', 'HOLDING ZERO S.A.', '11222333000424');
INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO, CDCARTCOBR, CDINS1COBR, IDLAYOUTCNAB, TXMENSBOLETO, QTDIAPROTEST)
  VALUES ('01', '001', '017', '01', '240', 'Mensagem antiga', 10);
INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO, CDCARTCOBR) VALUES ('02', '341', '109');
INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('001', '03', 'Entrada rejeitada');
INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('001', '02', 'Entrada confirmada');
INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES ('341', '02', 'Entrada confirmada');
INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('001', '06', 'Liquidação normal');
INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES ('001', '09', 'Baixa');
INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('001', '06', 'Protestar após 5 dias');
INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('001', '01', 'Cobrar juros');
INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES ('341', '01', 'Não protestar');
INSERT INTO MSGPADRAOBANCO (CDBANCCNAB, TXMENSBOLETO) VALUES ('001', 'Não receber após o vencimento.');
INSERT INTO CONTCORR (CDEMPRESA, CDREDUCONT, CDBANCO, CDAGENCIA, CDCONTCORR, DSCONTCORR)
  VALUES ('01', '001', '341', '0912', '12345-6', 'Conta movimento')
)sql";

std::string render(const Value& v) {
  if (data::isNull(v)) return "NULL";
  if (const auto* s = std::get_if<std::string>(&v)) return "'" + *s + "'";
  return data::formatNumber(std::get<double>(v));
}

}  // namespace

void ServerTest::SetUp() {
  spdlog::set_level(spdlog::level::err);
  database = std::make_unique<::qbk::testing::TestDatabase>(::qbk::testing::currentEngine());
  QBK_REQUIRE_DATABASE(*database);
  dbPath = database->location();
  conn = database->open();
  migrate(*conn);
  conn->executeScript(kSeed);
  ServerOptions options;
  options.database = dbPath;
  options.port = 0;
  options.workers = 4;
  server = std::make_unique<Server>(options);
  server->start();
  client = std::make_unique<RpcClient>(server->port());
}

void ServerTest::TearDown() {
  client.reset();
  if (server) server->stop();
}

void ServerTest::exec(const std::string& sql, const std::vector<Value>& params) {
  conn->execute(sql, params);
}

std::string ServerTest::dump() {
  std::string out;
  for (const TableSpec& t : catalog()) {
    std::string sql = "SELECT * FROM " + t.name + " ORDER BY ";
    for (std::size_t i = 0; i < t.key.size(); ++i) sql += (i ? ", " : "") + t.key[i];
    const db::Result r = conn->query(sql);
    out += t.name + "\n";
    for (const Row& row : r.rows) {
      for (const Value& v : row) out += render(v) + " ";
      out += "\n";
    }
  }
  return out;
}

Packet ServerTest::fetch(const std::string& method, data::VariantArray params) {
  const auto r = call(method, std::move(params));
  EXPECT_TRUE(r.ok) << method << ": " << r.errorMessage;
  if (!r.ok || !r.result.isPacket()) {
    ADD_FAILURE() << method << " did not answer a packet";
    return {};
  }
  return r.result.asPacket();
}

std::string ServerTest::apply(const std::string& method, data::VariantArray params) {
  const auto r = call(method, std::move(params));
  if (!r.ok) return r.errorMessage;
  EXPECT_TRUE(r.result.isBool() && r.result.asBool()) << method << " did not answer true";
  return {};
}

Row rowWhere(const Packet& p, const std::string& keyField, const std::string& key) {
  const int k = p.fieldIndex(keyField);
  for (const Row& row : p.rows)
    if (k >= 0 && row[k] == Value(key)) return row;
  ADD_FAILURE() << "no row with " << keyField << "=" << key;
  return Row(p.fields.size());
}

Value cell(const Packet& p, const Row& row, const std::string& field) {
  const int i = p.fieldIndex(field);
  if (i < 0) {
    ADD_FAILURE() << "no field " << field;
    return {};
  }
  return row[i];
}

data::Delta insertDelta(const Packet& like, Row newRow) {
  data::Delta d{like.fields, {}};
  d.changes.push_back({data::Change::Op::Insert, {}, std::move(newRow)});
  return d;
}

data::Delta updateDelta(const Packet& like, Row oldRow, Row newRow) {
  data::Delta d{like.fields, {}};
  d.changes.push_back({data::Change::Op::Update, std::move(oldRow), std::move(newRow)});
  return d;
}

data::Delta deleteDelta(const Packet& like, Row oldRow) {
  data::Delta d{like.fields, {}};
  d.changes.push_back({data::Change::Op::Delete, std::move(oldRow), {}});
  return d;
}

Row with(const Packet& p, Row row, const std::string& field, Value value) {
  const int i = p.fieldIndex(field);
  if (i < 0)
    ADD_FAILURE() << "no field " << field;
  else
    row[i] = std::move(value);
  return row;
}

data::VariantArray setBancoArgs(data::Delta delta) {
  data::VariantArray args{Variant(std::move(delta))};
  for (int i = 0; i < 9; ++i) args.emplace_back("");
  return args;
}

}  // namespace qbk::server::testing
