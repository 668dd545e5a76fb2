// qbk-server: serves the bank remote object over HTTP until SIGINT or SIGTERM.
#include <signal.h>
#include <spdlog/spdlog.h>

#include <CLI/CLI.hpp>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "db/connection.h"
#include "server/bank_import.h"
#include "server/demo_data.h"
#include "server/http_server.h"
#include "server/schema.h"

namespace {

// A PostgreSQL location may carry a password, which must never reach the log.
std::string withoutPassword(std::string location) {
  static const std::regex keyword(R"((password\s*=\s*)('[^']*'|\S+))", std::regex::icase);
  static const std::regex url(R"((://[^:/@]*:)[^@]*@)");
  location = std::regex_replace(location, keyword, "$1***");
  return std::regex_replace(location, url, "$1***@");
}

// The secret comes from a file (readable by the service's user only) or the environment,
// never from the command line, which every user of the machine can read.
std::string readToken(const std::string& file) {
  std::string token;
  if (!file.empty()) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw qbk::Error("Arquivo do token de acesso '" + file + "' não pode ser lido.");
    std::ostringstream text;
    text << in.rdbuf();
    token = text.str();
  } else if (const char* env = std::getenv("QBK_SERVER_TOKEN")) {
    token = env;
  }
  while (!token.empty() && std::isspace(static_cast<unsigned char>(token.back()))) token.pop_back();
  if (!file.empty() && token.empty())
    throw qbk::Error("O arquivo do token de acesso '" + file + "' está vazio.");
  return token;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Servidor de aplicação Qbk51200.rdmBanco (JSON-RPC sobre HTTP)"};
  qbk::server::ServerOptions options;
  bool demo = false;
  std::string logLevel = "info";
  app.add_option("--database", options.database,
                 "Arquivo SQLite (criado se não existir) ou endereço PostgreSQL")
      ->required();
  app.add_option("--port", options.port, "Porta TCP (0: escolhida pelo sistema)")
      ->capture_default_str()
      ->check(CLI::Range(0, 65535));
  app.add_option("--listen", options.address, "Endereço de escuta")->capture_default_str();
  app.add_flag("--demo", demo, "Preenche um banco de dados vazio com dados de demonstração");
  app.add_option("--workers", options.workers, "Chamadas atendidas ao mesmo tempo")
      ->capture_default_str()
      ->check(CLI::Range(1, 256));
  std::string tokenFile;
  app.add_option("--token-file", tokenFile,
                 "Arquivo com o token de acesso exigido de cada chamada (senão QBK_SERVER_TOKEN); "
                 "obrigatório fora da interface local")
      ->check(CLI::ExistingFile);
  app.add_option("--tls-cert", options.tlsCertificateFile, "Certificado PEM: atende só HTTPS")
      ->check(CLI::ExistingFile);
  app.add_option("--tls-key", options.tlsKeyFile, "Chave privada PEM do certificado")
      ->check(CLI::ExistingFile);
  app.add_option("--allowed-host", options.allowedHosts,
                 "Nome pelo qual os clientes chegam ao servidor (além de localhost e de "
                 "endereços IP); repetível");
  app.add_option("--max-large-bodies", options.maxLargeBodies,
                 "Requisições com corpo acima de 64 KiB atendidas ao mesmo tempo")
      ->capture_default_str()
      ->check(CLI::Range(1, 10000));
  app.add_option("--max-connections", options.maxConnections, "Conexões abertas ao mesmo tempo")
      ->capture_default_str()
      ->check(CLI::Range(1, 100000));
  double requestSeconds = options.requestTimeout.count() / 1000.0;
  app.add_option("--request-timeout", requestSeconds,
                 "Segundos para receber uma requisição inteira")
      ->capture_default_str()
      ->check(CLI::Range(0.1, 3600.0));
  double stopSeconds = options.stopTimeout.count() / 1000.0;
  app.add_option("--stop-timeout", stopSeconds,
                 "Segundos que as chamadas em andamento têm para terminar ao encerrar")
      ->capture_default_str()
      ->check(CLI::Range(0.0, 3600.0));
  app.add_option("--log-level", logLevel, "trace, debug, info, warn, error, critical, off")
      ->capture_default_str()
      ->check(CLI::IsMember({"trace", "debug", "info", "warn", "error", "critical", "off"}));
  // Administrators fill or refresh BANCO from the central bank's list (server/bank_import.h).
  std::optional<std::string> bankListFile;
  bool dryRun = false;
  CLI::App* importBanks = app.add_subcommand(
      "import-banks", "Importa a lista de bancos (arquivo de participantes do STR ou a embutida)");
  importBanks->add_option("FILE", bankListFile, "Arquivo CSV; sem ele, a lista embutida");
  importBanks->add_flag("--dry-run", dryRun, "Mostra o que seria gravado e não grava nada");
  importBanks->fallthrough();  // --database and the other options after the command name
  CLI11_PARSE(app, argc, argv);
  spdlog::set_level(spdlog::level::from_str(logLevel));
  options.requestTimeout = std::chrono::milliseconds(static_cast<long long>(requestSeconds * 1000));
  options.stopTimeout = std::chrono::milliseconds(static_cast<long long>(stopSeconds * 1000));

  // The signals are taken by sigwait below, never by a handler: every thread started from
  // here on inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  // A log whose reader went away must not end the server.
  signal(SIGPIPE, SIG_IGN);

  try {
    options.token = readToken(tokenFile);
    {
      auto conn = qbk::db::open(options.database);
      // A dry run writes nothing, not even the schema.
      if (!(*importBanks && dryRun)) {
        qbk::server::migrate(*conn);
        if (demo && qbk::server::fillDemoData(*conn))
          spdlog::info("dados de demonstração gravados em {}", withoutPassword(options.database));
      }
      if (*importBanks)
        return qbk::server::runBankImportCommand(*conn, bankListFile, dryRun, stdout);
    }
    qbk::server::Server server(options);
    server.start();
    std::printf("qbk-server escutando em %s://%s:%d\n",
                options.tlsCertificateFile.empty() ? "http" : "https", options.address.c_str(),
                server.port());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    spdlog::info("sinal {} recebido; encerrando (até {} ms para as chamadas em andamento)", signal,
                 options.stopTimeout.count());
    server.stop();
    spdlog::info("encerrado");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qbk-server: %s\n", e.what());
    return 1;
  }
  return 0;
}
