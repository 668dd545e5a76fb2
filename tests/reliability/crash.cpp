// The server killed with SIGKILL at a random moment while it writes a large delta, then
// started again, many times over: each delta must be wholly there or wholly absent (wholly
// there when its answer came back), the database intact, and the restarted server must
// answer.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <thread>

#include "server_child.h"
#include "tool_support.h"
#include "tools.h"

namespace qbk::reliability {

int runCrash(db::Engine engine, int count, int rows, unsigned seed) {
  RunDatabase database(engine);
  auto conn = database.open();
  const std::string log = database.file("server.log");
  std::optional<ServerChild> server;
  server.emplace(database.location(), log);
  data::Packet like;
  double deltaMs = 0;
  {
    Rpc rpc(server->port());
    like = rpc.call("GetErrCnabRec", {kBank}).rpc.result.asPacket();
    // How long a whole delta takes here, so that the kills fall inside one.
    const Reply r = rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, "m-", rows, "x"))});
    if (!r.answered || !r.rpc.ok) throw std::runtime_error("a alteração de medida falhou");
    deltaMs = r.ms;
  }

  Tally tally;
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> moment(0, deltaMs * 1.3);
  int whole = 0, none = 0, answered = 0;
  double restartMs = 0;
  for (int i = 0; i < count; ++i) {
    const std::string prefix = "k" + std::to_string(i) + "-";
    Reply reply;
    std::thread client([&] {
      Rpc rpc(server->port(), std::chrono::seconds(20));
      reply = rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, prefix, rows, "x"))});
    });
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(moment(random)));
    server->stop(SIGKILL);
    client.join();

    const auto restart = std::chrono::steady_clock::now();
    server.reset();
    server.emplace(database.location(), log);
    Rpc rpc(server->port());
    const Reply after = rpc.call("GetErrCnabRec", {kBank});
    restartMs +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - restart)
            .count();
    tally.expect(after.answered && after.rpc.ok, "o servidor reiniciado não respondeu");

    const int stored = countCodes(*conn, prefix);
    tally.expect(stored == 0 || stored == rows, prefix + ": " + std::to_string(stored) + " de " +
                                                    std::to_string(rows) + " linhas gravadas");
    const bool ok = reply.answered && reply.rpc.ok;
    if (ok) ++answered;
    tally.expect(!ok || stored == rows, prefix + ": respondeu ok e não gravou tudo");
    if (stored == rows) ++whole;
    if (stored == 0) ++none;
    const std::string check = integrity(*conn);
    tally.expect(check == "ok", prefix + ": integridade: " + check);
  }
  std::printf("crash %s: %d mortes (SIGKILL) durante alterações de %d linhas (%.1f ms cada)\n",
              engine == db::Engine::SQLite ? "sqlite" : "postgresql", count, rows, deltaMs);
  std::printf("  inteiras %d (respondidas antes da morte %d), ausentes %d, parciais %d\n", whole,
              answered, none, count - whole - none);
  std::printf("  reinício até a primeira resposta: %.1f ms em média\n",
              count ? restartMs / count : 0.0);
  return tally.exitCode();
}

}  // namespace qbk::reliability
