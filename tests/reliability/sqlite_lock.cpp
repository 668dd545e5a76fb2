// Another process holds the SQLite file's write lock for a while. A delta sent meanwhile
// waits for it: shorter than the busy timeout, it is then written; longer, it is refused
// once the timeout has passed, with nothing written, and the next delta after the lock is
// gone is written.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "server_child.h"
#include "tool_support.h"
#include "tools.h"

namespace qbk::reliability {

namespace {
// What the server waits for a lock, as both connections set it (db/sqlite_connection.cpp,
// db/postgres_connection.cpp) and docs/operations.md tells.
constexpr double kBusyTimeoutSeconds = 5;
}  // namespace

int runHoldLock(const std::string& file, double seconds) {
  auto conn = db::open(file);
  db::Transaction tx(*conn, db::Transaction::Mode::Write);
  conn->execute("UPDATE BANCO SET NMBANCO = NMBANCO WHERE CDBANCO = ?", {kBank});
  std::printf("travado\n");
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  tx.commit();
  return 0;
}

int runSqliteLock(double holdSeconds) {
  RunDatabase database(db::Engine::SQLite);
  auto conn = database.open();
  ServerChild server(database.location(), database.file("server.log"));
  Rpc rpc(server.port());
  const data::Packet like = rpc.call("GetErrCnabRec", {kBank}).rpc.result.asPacket();

  // The holder says when it has the lock; a pipe carries that line.
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe falhou");
  const int saved = dup(STDOUT_FILENO);
  dup2(fds[1], STDOUT_FILENO);
  const int holder = spawnSelf({"hold-lock", database.location(), std::to_string(holdSeconds)});
  dup2(saved, STDOUT_FILENO);
  close(saved);
  close(fds[1]);
  char buf[16] = {};
  const bool locked = read(fds[0], buf, sizeof buf - 1) > 0;
  close(fds[0]);
  const auto lockedAt = std::chrono::steady_clock::now();

  Tally tally;
  tally.expect(locked, "o outro processo não travou o arquivo");
  const Reply during = rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, "L", 1, "x"))});
  const double waited =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - lockedAt).count();
  tally.expect(during.answered, "sem resposta: " + during.transportError);
  const bool written = countCodes(*conn, "L") == 1;
  const bool longer = holdSeconds > kBusyTimeoutSeconds;
  if (!longer) {
    tally.expect(during.rpc.ok, "recusada: " + during.rpc.errorMessage);
    tally.expect(written, "não gravada");
    tally.expect(waited >= holdSeconds - 0.2, "não esperou a trava");
  } else {
    tally.expect(!during.rpc.ok, "gravada apesar da trava");
    tally.expect(!written, "gravou algo apesar da recusa");
    tally.expect(waited >= kBusyTimeoutSeconds - 0.2 && waited < kBusyTimeoutSeconds + 2,
                 "a recusa não veio no tempo de espera");
  }
  tally.expect(waitExit(holder) == 0, "o processo que travava falhou");
  const Reply after = rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, "M", 1, "x"))});
  tally.expect(after.answered && after.rpc.ok, "a alteração seguinte falhou");

  std::printf("sqlite-lock: arquivo travado por outro processo por %.1f s\n", holdSeconds);
  std::printf("  alteração enviada durante a trava: %s após %.2f s%s%s\n",
              during.rpc.ok ? "gravada" : "recusada", waited, during.rpc.ok ? "" : ": ",
              during.rpc.ok ? "" : during.rpc.errorMessage.c_str());
  std::printf("  alteração seguinte: %s\n", after.rpc.ok ? "gravada" : "recusada");
  return tally.exitCode();
}

}  // namespace qbk::reliability
