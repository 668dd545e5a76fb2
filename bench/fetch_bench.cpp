// Whole-table fetch of the bank list end to end (server read, JSON encoding, HTTP, client
// decode into a record set) against the raw SQLite read of the same rows, in one run.
//
//   build/bin/bench_fetch [banks=10000] [runs=30]
#include <httplib.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bench_support.h"
#include "data/codec.h"
#include "data/record_set.h"
#include "db/connection.h"
#include "fetch_floor.h"
#include "host/net_connection.h"
#include "host/server_calls.h"
#include "server/bank_methods.h"
#include "server/packet_layouts.h"
#include "server/packet_query.h"
#include "server/rpc_dispatcher.h"
#include "support/server_process.h"

namespace {

// Reads every column of every bank with the SQLite C API, touching each value: the floor
// that any fetch of this table pays.
std::size_t rawRead(sqlite3* db) {
  sqlite3_stmt* st = qbk::bench::prepareBankSelect(db);
  std::size_t bytes = 0;
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int i = 0; i < 16; ++i) {
      if (sqlite3_column_type(st, i) == SQLITE_FLOAT) {
        bytes += static_cast<std::size_t>(sqlite3_column_double(st, i)) & 1;
      } else {
        sqlite3_column_text(st, i);
        bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, i));
      }
    }
  }
  sqlite3_finalize(st);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const int banks = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 30;

  qbk::bench::BenchDatabase database(banks);
  qbk::bench::LocalServer server(database.path());

  sqlite3* raw = nullptr;
  sqlite3_open_v2(database.path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  std::size_t sink = 0;
  auto rawStats = qbk::bench::measure(3, runs, [&] { sink += rawRead(raw); });
  sqlite3_close(raw);

  // The server's share: read the rows and encode the packet, without HTTP, both ways the
  // server can do it (building the packet first, or streaming rows straight to JSON).
  auto conn = qbk::db::open(database.path());
  const auto& layout = qbk::server::layouts::banco();
  std::string buffer;
  auto viaPacket = qbk::bench::measure(3, runs, [&] {
    buffer.clear();
    qbk::data::json::appendVariant(
        buffer, qbk::data::Variant(qbk::server::fetchWhere(*conn, layout, "", {})));
  });
  auto streamed = qbk::bench::measure(3, runs, [&] {
    buffer.clear();
    qbk::server::streamPacket(*conn, {&layout, "", {}}, buffer);
  });
  const std::size_t packetBytes = buffer.size();

  // Where an end-to-end fetch spends its time, stage by stage, without HTTP: the server's
  // whole call (request in, response text out), the client's decode of that text, and the
  // record set taking the decoded packet.
  qbk::server::Dispatcher dispatcher;
  qbk::server::registerBankMethods(dispatcher);
  const std::string request = qbk::data::json::encodeRequest(
      {qbk::data::Variant(1.0), "GetBanco", qbk::data::VariantArray{}});
  std::string reply;
  qbk::data::RecordSet filled("cdsBanco");
  auto serverCall = qbk::bench::measure(3, runs, [&] {
    reply.clear();
    dispatcher.handle(
        request, [&]() -> qbk::db::Connection& { return *conn; }, reply);
  });
  auto decode = qbk::bench::measure(3, runs, [&] { qbk::data::json::decodeResponse(reply); });
  auto decodeAndFill = qbk::bench::measure(3, runs, [&] {
    filled.setData(std::move(qbk::data::json::decodeResponse(reply).result).takePacket());
  });

  qbk::data::RecordSet banco("cdsBanco");  // takes the packet's fields, as a look-up set does
  int rows = 0;
  auto endToEnd = [&](int port) {
    qbk::host::NetConnection net;
    net.port = port;
    net.connect();
    return qbk::bench::measure(3, runs, [&] {
      qbk::host::fetchInto(net, banco, "GetBanco");
      rows = banco.recordCount();
    });
  };
  // The reply's transfer: the same call over HTTP, the body received but not decoded.
  auto transfer = [&](int port) {
    httplib::Client http("127.0.0.1", port);
    http.set_keep_alive(true);
    http.set_tcp_nodelay(true);
    std::string body;
    return qbk::bench::measure(3, runs, [&] {
      body.clear();
      httplib::Request req;
      req.method = "POST";
      req.path = "/rpc/Qbk51200.rdmBanco";
      req.headers.emplace("Content-Type", "application/json");
      req.body = request;
      req.content_receiver = [&](const char* data, std::size_t n, std::uint64_t, std::uint64_t) {
        body.append(data, n);
        return true;
      };
      httplib::Response res;
      httplib::Error error = httplib::Error::Success;
      if (!http.send(req, res, error) || res.status != 200)
        throw std::runtime_error("the server did not answer the fetch");
    });
  };
  qbk::bench::FloorServer floorServer(database.path());
  qbk::bench::FloorClient floorClient(floorServer.port());
  std::size_t floorRows = 0;
  auto floorStats = qbk::bench::measure(3, runs, [&] { floorRows = floorClient.fetch(); });
  auto transferStats = transfer(server.port());
  auto e2eStats = endToEnd(server.port());
  // The same against the server program in its own process, as it is deployed.
  if (!std::getenv("QBK_SERVER_BIN"))
    setenv("QBK_SERVER_BIN", (std::filesystem::path(argv[0]).parent_path() / "qbk-server").c_str(),
           1);
  qbk::testing::ServerProcess process(database.path(), false);
  auto processStats = endToEnd(process.port());

  std::printf("banks fetched:            %d (%zu bytes of text read raw)\n", rows,
              sink / (runs + 3));
  std::printf("raw SQLite read:          median %7.2f ms  (min %.2f)\n", rawStats.median_ms,
              rawStats.min_ms);
  std::printf("server read+encode, packet: median %7.2f ms\n", viaPacket.median_ms);
  std::printf("server read+encode, stream: median %7.2f ms  (%zu bytes of JSON)\n",
              streamed.median_ms, packetBytes);
  std::printf("  server call, no HTTP:    median %7.2f ms\n", serverCall.median_ms);
  std::printf("  client decode:          median %7.2f ms\n", decode.median_ms);
  std::printf("  client decode + fill:   median %7.2f ms\n", decodeAndFill.median_ms);
  std::printf("  server call over HTTP:  median %7.2f ms  (reply received, not decoded)\n",
              transferStats.median_ms);
  std::printf("end-to-end GetBanco:      median %7.2f ms  (min %.2f, p99 %.2f)\n",
              e2eStats.median_ms, e2eStats.min_ms, e2eStats.p99_ms);
  std::printf("end-to-end, server process: median %7.2f ms  (min %.2f, p99 %.2f)\n",
              processStats.median_ms, processStats.min_ms, processStats.p99_ms);
  std::printf(
      "end-to-end floor:         median %7.2f ms  (min %.2f; hand-written JSON, %zu rows "
      "parsed)\n",
      floorStats.median_ms, floorStats.min_ms, floorRows);
  std::printf("ratio end-to-end / floor: %.1fx in-process, %.1fx server process (medians)\n",
              e2eStats.median_ms / floorStats.median_ms,
              processStats.median_ms / floorStats.median_ms);
  std::printf("ratio end-to-end / raw:   %.1fx in-process, %.1fx server process (medians)\n",
              e2eStats.median_ms / rawStats.median_ms, processStats.median_ms / rawStats.median_ms);
  std::printf("ratio stream / packet:    %.2fx\n", streamed.median_ms / viaPacket.median_ms);
  return rows == banks && floorRows == static_cast<std::size_t>(banks) ? 0 : 1;
}
