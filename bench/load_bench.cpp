// Applies per second and latency of one-row deltas (SetErrCnabRec: a code's description
// changed, each client on a row of its own, so nothing conflicts) with 1, 4 and 16
// concurrent clients, on SQLite and on PostgreSQL, and with two server processes on one
// PostgreSQL database. Each client keeps one connection, as the desktop does.
//
//   build/bin/bench_load [seconds per run=2]
//   scripts/postgres-scratch build/bin/bench_load      # with the PostgreSQL rows
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "server_child.h"
#include "tool_support.h"

using namespace qbk::reliability;
using Clock = std::chrono::steady_clock;

namespace {

struct Figures {
  double perSecond = 0, p50 = 0, p99 = 0;
  int failed = 0;
};

Figures run(const std::vector<int>& ports, int clients, double seconds,
            const qbk::data::Packet& like) {
  std::atomic<bool> go{false}, stop{false};
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(clients));
  std::atomic<int> failed{0};
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c)
    threads.emplace_back([&, c] {
      Rpc rpc(ports[static_cast<std::size_t>(c) % ports.size()]);
      const std::string code = "B" + std::to_string(c);
      std::string current = "inicial";
      auto applyOne = [&](bool timed) {
        const std::string next = "v" + std::to_string(Clock::now().time_since_epoch().count());
        qbk::data::Delta d{like.fields, {}};
        d.changes.push_back(
            {qbk::data::Change::Op::Update, {kBank, code, current}, {kBank, code, next}});
        const Reply r = rpc.call("SetErrCnabRec", {qbk::data::Variant(std::move(d))});
        if (!r.answered || !r.rpc.ok) {
          if (failed++ == 0)
            std::printf("  falha: %s%s\n", r.transportError.c_str(), r.rpc.errorMessage.c_str());
          return;
        }
        current = next;
        if (timed) latencies[static_cast<std::size_t>(c)].push_back(r.ms);
      };
      for (int i = 0; i < 20; ++i) applyOne(false);
      while (!go) std::this_thread::yield();
      while (!stop) applyOne(true);
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // warm-up
  go = true;
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  stop = true;
  for (auto& t : threads) t.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  std::vector<double> all;
  for (auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
  return {static_cast<double>(all.size()) / elapsed, percentile(all, 0.5), percentile(all, 0.99),
          failed};
}

void prepare(RunDatabase& database) {
  auto conn = database.open();
  for (int c = 0; c < 16; ++c)
    conn->execute("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES (?, ?, ?)",
                  {kBank, "B" + std::to_string(c), "inicial"});
}

void runEngine(qbk::db::Engine engine, int servers, double seconds, double& base) {
  RunDatabase database(engine);
  prepare(database);
  std::vector<std::unique_ptr<ServerChild>> children;
  std::vector<int> ports;
  for (int s = 0; s < servers; ++s) {
    children.push_back(std::make_unique<ServerChild>(
        database.location(), database.file("server" + std::to_string(s) + ".log"),
        std::vector<std::string>{"--workers", "16"}));
    ports.push_back(children.back()->port());
  }
  const qbk::data::Packet like = Rpc(ports[0]).call("GetErrCnabRec", {kBank}).rpc.result.asPacket();
  const char* name = engine == qbk::db::Engine::SQLite ? "SQLite    " : "PostgreSQL";
  auto conn = database.open();
  for (int clients : {1, 4, 16}) {
    // Each run starts from the value its clients believe the rows hold.
    conn->execute(
        "UPDATE ERRCNABR SET DSERRCNABR = 'inicial' WHERE CDBANCO = ? AND "
        "CDERRCNABR LIKE 'B%'",
        {kBank});
    const Figures f = run(ports, clients, seconds, like);
    if (engine == qbk::db::Engine::SQLite && servers == 1 && clients == 1) base = f.perSecond;
    std::printf(
        "%s  %d servidor(es)  %2d clientes  %7.0f aplicações/s  p50 %6.2f ms  p99 %6.2f ms"
        "  (%.2fx SQLite/1)%s\n",
        name, servers, clients, f.perSecond, f.p50, f.p99, f.perSecond / base,
        f.failed ? "  COM FALHAS" : "");
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
  double base = 1;
  std::printf("aplicações de uma linha por segundo, %.1f s por medida, mesma execução\n", seconds);
  runEngine(qbk::db::Engine::SQLite, 1, seconds, base);
  const char* pg = std::getenv("QBK_TEST_POSTGRES");
  if (!pg || !*pg) {
    std::printf(
        "PostgreSQL: ignorado (rode sob scripts/postgres-scratch ou defina "
        "QBK_TEST_POSTGRES)\n");
    return 0;
  }
  runEngine(qbk::db::Engine::PostgreSQL, 1, seconds, base);
  runEngine(qbk::db::Engine::PostgreSQL, 2, seconds, base);
  return 0;
}
