// qbk-reliability: bounded tools that hurt a deployment on purpose (crashes, locks, restarts,
// full disks, concurrent writers) and check that no data is lost or half-written.
//
//   qbk-reliability load       --engine sqlite|postgresql [--clients 4 --deltas 250 --rows 20]
//   qbk-reliability crash      --engine ... [--count 100 --rows 200]
//   qbk-reliability sqlite-lock --hold 2|10
//   qbk-reliability pg-restart [--count 10 --mode fast|immediate --clients 4]
//   qbk-reliability disk-faults --engine ... [--count 100]
//
// PostgreSQL runs need QBK_TEST_POSTGRES (scripts/postgres-scratch sets it); pg-restart
// needs its own cluster: scripts/postgres-scratch build/bin/qbk-reliability pg-restart.
#include <spdlog/spdlog.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>

#include "tool_support.h"
#include "tools.h"

int main(int argc, char** argv) {
  using namespace qbk::reliability;
  // The servers and clients this starts must not keep whatever the caller left open (a
  // build lock, a test runner's pipe) alive after a run that was cut short.
  close_range(3, ~0U, 0);
  CLI::App app{"Testes de confiabilidade do servidor Qbk51200.rdmBanco"};
  app.require_subcommand(1);
  std::string engine = "sqlite";
  unsigned seed = 1;

  LoadOptions load;
  auto* loadCmd = app.add_subcommand("load", "Clientes concorrentes sobre as mesmas linhas");
  loadCmd->add_option("--engine", engine)->capture_default_str();
  loadCmd->add_option("--clients", load.clients)->capture_default_str();
  loadCmd->add_option("--deltas", load.deltas, "Alterações por cliente")->capture_default_str();
  loadCmd->add_option("--rows", load.rows, "Linhas disputadas")->capture_default_str();
  loadCmd->add_option("--seed", load.seed)->capture_default_str();

  int port = 0, id = 0;
  std::string out;
  auto* clientCmd = app.add_subcommand("load-client", "(interno) um cliente de load");
  clientCmd->add_option("--port", port)->required();
  clientCmd->add_option("--id", id)->required();
  clientCmd->add_option("--deltas", load.deltas)->required();
  clientCmd->add_option("--rows", load.rows)->required();
  clientCmd->add_option("--seed", seed)->required();
  clientCmd->add_option("--out", out)->required();

  int crashCount = 100, crashRows = 200;
  auto* crashCmd = app.add_subcommand("crash", "SIGKILL no meio de uma alteração grande");
  crashCmd->add_option("--engine", engine)->capture_default_str();
  crashCmd->add_option("--count", crashCount)->capture_default_str();
  crashCmd->add_option("--rows", crashRows)->capture_default_str();
  crashCmd->add_option("--seed", seed)->capture_default_str();

  double hold = 2;
  auto* lockCmd = app.add_subcommand("sqlite-lock", "Outro processo segura o SQLite");
  lockCmd->add_option("--hold", hold, "Segundos")->capture_default_str();
  std::string file;
  auto* holdCmd = app.add_subcommand("hold-lock", "(interno) segura a escrita do arquivo");
  holdCmd->add_option("file", file)->required();
  holdCmd->add_option("seconds", hold)->required();

  int restarts = 10, clients = 4;
  std::string mode = "fast";
  auto* restartCmd = app.add_subcommand("pg-restart", "Reinicia o PostgreSQL sob carga");
  restartCmd->add_option("--count", restarts)->capture_default_str();
  restartCmd->add_option("--mode", mode)->check(CLI::IsMember({"fast", "immediate"}));
  restartCmd->add_option("--clients", clients)->capture_default_str();

  int faults = 100;
  auto* faultCmd = app.add_subcommand("disk-faults", "Disco cheio e erros de E/S");
  faultCmd->add_option("--engine", engine)->capture_default_str();
  faultCmd->add_option("--count", faults)->capture_default_str();
  faultCmd->add_option("--seed", seed)->capture_default_str();

  CLI11_PARSE(app, argc, argv);
  spdlog::set_level(spdlog::level::off);
  try {
    if (*loadCmd) return runLoad(parseEngine(engine), load);
    if (*clientCmd) return runLoadClient(port, id, load.deltas, load.rows, seed, out);
    if (*crashCmd) return runCrash(parseEngine(engine), crashCount, crashRows, seed);
    if (*lockCmd) return runSqliteLock(hold);
    if (*holdCmd) return runHoldLock(file, hold);
    if (*restartCmd) return runPostgresRestart(restarts, mode, clients);
    if (*faultCmd) return runDiskFaults(parseEngine(engine), faults, seed);
  } catch (const NoPostgres& e) {
    std::printf("ignorado: %s\n", e.what());
    return 77;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qbk-reliability: %s\n", e.what());
    return 2;
  }
  return 2;
}
