// The PostgreSQL server restarted (fast: sessions told to end; immediate: the server simply
// stops) while clients keep writing. A call caught by the restart must come back with an
// error, never hang or pass for written; the first call of each client after the restart
// must work; and every write that was confirmed must be there.
//
// Needs a cluster of its own, which it restarts: scripts/postgres-scratch sets
// QBK_TEST_POSTGRES_CTL to its pg_ctl command.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "server_child.h"
#include "tool_support.h"
#include "tools.h"

namespace qbk::reliability {

namespace {

using Clock = std::chrono::steady_clock;

struct Call {
  Clock::time_point start, end;
  bool answered = false, ok = false;
  std::string code, message;
};

}  // namespace

int runPostgresRestart(int count, const std::string& mode, int clients) {
  const char* ctl = std::getenv("QBK_TEST_POSTGRES_CTL");
  if (!ctl || !*ctl)
    throw std::runtime_error(
        "QBK_TEST_POSTGRES_CTL não definido: rode sob scripts/postgres-scratch");
  RunDatabase database(db::Engine::PostgreSQL);
  ServerChild server(database.location(), database.file("server.log"),
                     {"--workers", std::to_string(clients)});
  data::Packet like;
  {
    Rpc rpc(server.port());
    like = rpc.call("GetErrCnabRec", {kBank}).rpc.result.asPacket();
  }

  std::atomic<bool> stop{false};
  std::vector<std::vector<Call>> calls(static_cast<std::size_t>(clients));
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c)
    threads.emplace_back([&, c] {
      Rpc rpc(server.port(), std::chrono::seconds(60));
      for (int n = 0; !stop; ++n) {
        Call call;
        call.code = "R" + std::to_string(c) + "-" + std::to_string(n) + "-";
        call.start = Clock::now();
        const Reply r =
            rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, call.code, 1, "x"))});
        call.end = Clock::now();
        call.answered = r.answered;
        call.ok = r.answered && r.rpc.ok;
        call.message = r.answered ? r.rpc.errorMessage : r.transportError;
        calls[static_cast<std::size_t>(c)].push_back(std::move(call));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });

  std::vector<std::pair<Clock::time_point, Clock::time_point>> restarts;
  Tally tally;
  double restartMs = 0;
  for (int i = 0; i < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto begin = Clock::now();
    const std::string command = std::string(ctl) + " -m " + mode + " -w restart >/dev/null 2>&1";
    tally.expect(std::system(command.c_str()) == 0, "pg_ctl restart falhou");
    const auto end = Clock::now();
    restartMs += std::chrono::duration<double, std::milli>(end - begin).count();
    restarts.emplace_back(begin, end);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  stop = true;
  for (auto& t : threads) t.join();

  auto conn = database.open();
  int total = 0, failed = 0, unanswered = 0, firstAfterOk = 0, firstAfter = 0;
  std::string failure;
  for (const auto& mine : calls)
    for (const Call& call : mine) {
      ++total;
      if (!call.answered) ++unanswered;
      if (!call.ok) {
        ++failed;
        if (failure.empty()) failure = call.message;
      }
      if (call.ok)
        tally.expect(countCodes(*conn, call.code) == 1, call.code + ": confirmada e ausente");
    }
  tally.expect(unanswered == 0, std::to_string(unanswered) + " chamadas sem resposta");
  for (const auto& [begin, end] : restarts)
    for (const auto& mine : calls)
      for (const Call& call : mine)
        if (call.start > end) {
          ++firstAfter;
          firstAfterOk += call.ok;
          tally.expect(call.ok, "a primeira chamada após o reinício falhou: " + call.message);
          break;
        }
  tally.expect(firstAfter == count * clients, "chamadas após os reinícios faltando");
  tally.expect(integrity(*conn) == "ok", "integridade");

  std::printf("pg-restart %s: %d reinícios (%.0f ms cada) com %d clientes gravando\n", mode.c_str(),
              count, count ? restartMs / count : 0.0, clients);
  std::printf(
      "  chamadas %d, com erro %d, sem resposta %d; primeiras após o reinício: %d de %d ok\n",
      total, failed, unanswered, firstAfterOk, firstAfter);
  if (!failure.empty()) std::printf("  erro visto: %s\n", failure.c_str());
  return tally.exitCode();
}

}  // namespace qbk::reliability
