// Whole-table fetch of the bank list end to end (server read, JSON encoding, HTTP, client
// decode into a record set) against the raw SQLite read of the same rows, in one run.
//
//   build/bin/bench_fetch [banks=10000] [runs=30]
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bench_support.h"
#include "data/codec.h"
#include "data/record_set.h"
#include "db/connection.h"
#include "host/net_connection.h"
#include "host/server_calls.h"
#include "module/server_process.h"
#include "server/packet_layouts.h"
#include "server/packet_query.h"

namespace {

// Reads every column of every bank with the SQLite C API, touching each value: the floor
// that any fetch of this table pays.
std::size_t rawRead(sqlite3* db) {
  static const char* sql =
      "SELECT CDPICTAGEN, CDBANCO, NMBANCO, CDPICTCONT, CDBANCCNAB, QTDIAPRORCNT, DSARQBOLCOMP, "
      "DSARQBOLPREI, DSARQCHEQUE, DSARQBORDREC, DSARQBORDPAG, DSARQBORDCHQ, CDBANCOCONV, "
      "DSDIRIMPARQDDA, DSEMAILDDA, DSARQLOGMAR FROM BANCO ORDER BY CDBANCO";
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
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
    qbk::data::json::appendVariant(
        buffer, qbk::data::Variant(qbk::server::fetchWhereEncoded(*conn, layout, "", {})));
  });
  const std::size_t packetBytes = buffer.size();

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
  auto e2eStats = endToEnd(server.port());
  // The same against the server program in its own process, as it is deployed.
  if (!std::getenv("QBK_SERVER_BIN"))
    setenv("QBK_SERVER_BIN", (std::filesystem::path(argv[0]).parent_path() / "qbk-server").c_str(),
           1);
  qbk::module::testing::ServerProcess process(database.path(), false);
  auto processStats = endToEnd(process.port());

  std::printf("banks fetched:            %d (%zu bytes of text read raw)\n", rows,
              sink / (runs + 3));
  std::printf("raw SQLite read:          median %7.2f ms  (min %.2f)\n", rawStats.median_ms,
              rawStats.min_ms);
  std::printf("server read+encode, packet: median %7.2f ms\n", viaPacket.median_ms);
  std::printf("server read+encode, stream: median %7.2f ms  (%zu bytes of JSON)\n",
              streamed.median_ms, packetBytes);
  std::printf("end-to-end GetBanco:      median %7.2f ms  (min %.2f, p99 %.2f)\n",
              e2eStats.median_ms, e2eStats.min_ms, e2eStats.p99_ms);
  std::printf("end-to-end, server process: median %7.2f ms  (min %.2f, p99 %.2f)\n",
              processStats.median_ms, processStats.min_ms, processStats.p99_ms);
  std::printf("ratio end-to-end / raw:   %.1fx in-process, %.1fx server process (medians)\n",
              e2eStats.median_ms / rawStats.median_ms, processStats.median_ms / rawStats.median_ms);
  std::printf("ratio stream / packet:    %.2fx\n", streamed.median_ms / viaPacket.median_ms);
  return rows == banks ? 0 : 1;
}
