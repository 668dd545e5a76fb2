// A full disk or a failing one in the middle of a delta, many times over, each time at
// another of the delta's writes: the call must come back with an error that says so,
// nothing of the delta may stay, the database must stay intact, and once the disk is well
// again the next delta must be written.
//
// SQLite: a VFS in front of SQLite's own fails the chosen write, sync or truncate of the
// database or its WAL (sqlite_fault_vfs.cpp). PostgreSQL: a trigger on the written table
// raises the engine's own errors for a full disk (53100) and an I/O failure (58030) at the
// chosen row, as the server would when it cannot extend or write a file.
#include <cstdio>
#include <random>

#include "server/http_server.h"
#include "sqlite_fault_vfs.h"
#include "tool_support.h"
#include "tools.h"

namespace qbk::reliability {

namespace {

constexpr int kRows = 20;

constexpr const char* kPostgresFaults = R"sql(
CREATE SEQUENCE QBK_FAULT_SEQ;
CREATE TABLE QBK_FAULT (AT_ROW INTEGER NOT NULL, STATE VARCHAR(5) NOT NULL);
INSERT INTO QBK_FAULT VALUES (0, '53100');
CREATE FUNCTION QBK_FAULT_CHECK() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE f RECORD;
BEGIN
  SELECT AT_ROW, STATE INTO f FROM QBK_FAULT;
  IF f.AT_ROW > 0 AND nextval('QBK_FAULT_SEQ') = f.AT_ROW THEN
    IF f.STATE = '53100' THEN
      RAISE EXCEPTION 'could not extend file: No space left on device' USING ERRCODE = '53100';
    END IF;
    RAISE EXCEPTION 'could not write block: Input/output error' USING ERRCODE = '58030';
  END IF;
  RETURN NEW;
END $$;
CREATE TRIGGER QBK_FAULT_TRIGGER BEFORE INSERT OR UPDATE ON ERRCNABR
  FOR EACH ROW EXECUTE FUNCTION QBK_FAULT_CHECK();
)sql";

const char* faultName(int kind) {
  static const char* names[] = {"disco cheio", "erro de gravação", "erro de sincronização"};
  return names[kind];
}

}  // namespace

int runDiskFaults(db::Engine engine, int count, unsigned seed) {
  const bool sqlite = engine == db::Engine::SQLite;
  if (sqlite) installFaultVfs();
  RunDatabase database(engine);
  auto conn = database.open();
  if (!sqlite) conn->executeScript(kPostgresFaults);

  server::ServerOptions options;
  options.database = database.location();
  options.port = 0;
  options.workers = 1;
  server::Server server(options);
  server.start();
  Rpc rpc(server.port());
  const data::Packet like = rpc.call("GetErrCnabRec", {kBank}).rpc.result.asPacket();

  // How many file operations one delta makes, so that every fault falls inside one.
  takeOperationCount();
  rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, "m-", kRows, "x"))});
  const long long operations = sqlite ? takeOperationCount() : kRows;

  Tally tally;
  std::mt19937 random(seed);
  int hit = 0, perKind[3] = {};
  std::string fullText, ioText;
  for (int i = 0; i < count; ++i) {
    const int kind = sqlite ? i % 3 : i % 2;
    const int nth =
        1 + static_cast<int>(random() % static_cast<unsigned>(
                                            kind == 2 ? 2 : std::max<long long>(operations, 1)));
    if (sqlite)
      armFault(static_cast<DiskFault>(kind), nth);
    else
      conn->executeScript("UPDATE QBK_FAULT SET AT_ROW = " + std::to_string(nth) + ", STATE = '" +
                          (kind == 0 ? "53100" : "58030") +
                          "'; SELECT setval('QBK_FAULT_SEQ', 1, false)");

    const std::string prefix = "f" + std::to_string(i) + "-";
    const Reply r =
        rpc.call("SetErrCnabRec", {data::Variant(insertCodes(like, prefix, kRows, "x"))});
    const bool struck = sqlite ? faultHappened() : true;
    if (sqlite)
      disarmFault();
    else
      conn->executeScript("UPDATE QBK_FAULT SET AT_ROW = 0");

    tally.expect(r.answered, prefix + ": sem resposta: " + r.transportError);
    const int stored = countCodes(*conn, prefix);
    if (struck && !r.rpc.ok) {
      ++hit;
      ++perKind[kind];
      tally.expect(stored == 0, prefix + ": a falha deixou " + std::to_string(stored) + " linhas");
      const bool full = kind == 0;
      tally.expect(
          r.rpc.errorMessage.find(full ? "disco do banco de dados está cheio"
                                       : "Falha de leitura ou gravação") != std::string::npos,
          prefix + " (" + faultName(kind) + "): " + r.rpc.errorMessage);
      (full ? fullText : ioText) = r.rpc.errorMessage;
    } else {
      tally.expect(r.rpc.ok, prefix + ": recusada sem falha: " + r.rpc.errorMessage);
      tally.expect(stored == kRows, prefix + ": gravada pela metade");
    }
    const std::string check = integrity(*conn);
    tally.expect(check == "ok", prefix + ": integridade: " + check);

    const Reply next = rpc.call(
        "SetErrCnabRec", {data::Variant(insertCodes(like, "g" + std::to_string(i), 1, "x"))});
    tally.expect(next.answered && next.rpc.ok,
                 prefix + ": o serviço não voltou: " + next.rpc.errorMessage + next.transportError);
  }
  server.stop();

  std::printf("disk-faults %s: %d falhas injetadas (%s), alteração de %d linhas\n",
              sqlite ? "sqlite" : "postgresql", count,
              sqlite ? "VFS do SQLite: escrita, sync, truncate" : "gatilho: SQLSTATE 53100/58030",
              kRows);
  std::printf("  acertaram a alteração %d (disco cheio %d, gravação %d, sync %d)\n", hit,
              perKind[0], perKind[1], perKind[2]);
  if (!fullText.empty()) std::printf("  mensagem (disco cheio): %s\n", fullText.c_str());
  if (!ioText.empty()) std::printf("  mensagem (E/S): %s\n", ioText.c_str());
  return tally.exitCode();
}

}  // namespace qbk::reliability
