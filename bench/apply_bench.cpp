// Latency of applying a one-row delta (SetBanco: one bank renamed) end to end, with a
// durable commit, against a trivial call on the same connection (GetCodigoPag of a code
// that does not exist), in one run.
//
//   build/bin/bench_apply [runs=500]
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench_support.h"
#include "data/packet.h"
#include "host/net_connection.h"
#include "host/server_calls.h"
#include "host/server_result.h"

using qbk::data::Change;
using qbk::data::Delta;
using qbk::data::FieldDef;
using qbk::data::FieldType;
using qbk::data::VariantArray;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 500;

  qbk::bench::BenchDatabase database(100);
  qbk::bench::LocalServer server(database.path());
  qbk::host::NetConnection net;
  // QBK_BENCH_PORT: measure against a server already running there instead.
  const char* external = std::getenv("QBK_BENCH_PORT");
  net.port = external ? std::atoi(external) : server.port();
  net.connect();

  // The first bank, as the client read it.
  auto packet = qbk::host::CheckResultServ(net.call("GetBanco"), true, 0).asPacket();
  Delta delta;
  delta.fields = packet.fields;
  const int name = packet.fieldIndex("NMBANCO");
  qbk::data::Row current = packet.rows.at(0);

  int n = 0;
  auto applyOne = [&] {
    Change ch;
    ch.op = Change::Op::Update;
    ch.oldRow = current;
    ch.newRow = current;
    ch.newRow[name] = std::string("BANCO RENOMEADO ") + std::to_string(++n);
    Delta d = delta;
    d.changes.push_back(ch);
    VariantArray args{qbk::data::Variant(std::move(d))};
    for (int i = 0; i < 9; ++i) args.emplace_back(std::string());
    qbk::host::CheckResultServ(net.call("SetBanco", std::move(args)), true, 0);
    current = ch.newRow;
  };
  auto smallCall = [&] {
    qbk::host::CheckResultServ(net.call("GetCodigoPag", {"001", "ZZ"}), true, 0);
  };

  // The floor of any durable commit on this disk: one page written and synced.
  const std::string probe =
      (std::filesystem::path(database.path()).parent_path() / "fsync.probe").string();
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  char page[4096] = {};
  auto syncOne = [&] {
    if (::pwrite(fd, page, sizeof page, 0) != static_cast<ssize_t>(sizeof page) ||
        ::fdatasync(fd) != 0)
      std::perror("fdatasync");
  };

  auto sync = qbk::bench::measure(20, runs, syncOne);
  ::close(fd);
  auto baseline = qbk::bench::measure(20, runs, smallCall);
  auto apply = qbk::bench::measure(20, runs, applyOne);
  std::printf("small read call:          median %6.3f ms  p99 %6.3f ms\n", baseline.median_ms,
              baseline.p99_ms);
  std::printf("one-row SetBanco apply:   median %6.3f ms  p99 %6.3f ms (durable commit)\n",
              apply.median_ms, apply.p99_ms);
  std::printf("write+fdatasync of a page: median %6.3f ms  p99 %6.3f ms (the disk's floor)\n",
              sync.median_ms, sync.p99_ms);
  std::printf("ratio apply / small call: %.1fx (medians of this run)\n",
              apply.median_ms / baseline.median_ms);
  std::printf("ratio apply / fdatasync:  %.2fx (medians of this run)\n",
              apply.median_ms / sync.median_ms);
  return 0;
}
