#include "desktop/command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>

namespace qbk::desktop {

host::ConfigOverrides serverOverrides(const std::string& hostPort) {
  const auto colon = hostPort.rfind(':');
  const auto bad = [&] {
    return UsageError("--server espera HOST:PORTA, recebeu \"" + hostPort + "\".");
  };
  if (colon == std::string::npos || colon == 0 || colon + 1 == hostPort.size()) throw bad();
  const std::string port = hostPort.substr(colon + 1);
  int value = 0;
  const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
  if (ec != std::errc() || end != port.data() + port.size() || value < 1 || value > 65535) {
    throw bad();
  }
  return {{"web_url", hostPort.substr(0, colon)}, {"web_port", port}};
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine out;
  CLI::App cli{"Cliente desktop: abre as telas dos módulos contra o servidor de aplicação."};
  std::string server;
  std::string database;
  cli.add_option("--server", server, "Servidor de aplicação (HOST:PORTA)");
  cli.add_option("--database", database,
                 "Banco compartilhado das consultas diretas (arquivo ou URI)");
  cli.add_option("--open", out.openCode, "Código da tela a abrir ao iniciar (ex.: QBK51200)");
  cli.add_option("--module-dir", out.moduleDir, "Diretório das bibliotecas dos módulos");
  cli.add_option("--screenshots", out.screenshotDir,
                 "Salva uma imagem por aba da tela aberta com --open nesse diretório e sai");
  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out.help = true;
    out.helpText = cli.help();
    return out;
  } catch (const CLI::ParseError& e) {
    throw UsageError(e.what());
  }
  if (!server.empty()) out.overrides = serverOverrides(server);
  if (!database.empty()) out.overrides.emplace_back("database", database);
  return out;
}

}  // namespace qbk::desktop
