#include "host/config.h"

#include <charconv>
#include <cstdlib>
#include <fstream>

#include "data/errors.h"
#include "data/value.h"

extern char** environ;

namespace qbk::host {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kEnvPrefix = "QBK_";
constexpr std::string_view kPictPrefix = "dbpict_";

std::string_view trim(std::string_view s) {
  auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Whole text as an integer in [min, max], or nothing.
std::optional<int> parseInt(std::string_view s, int min, int max) {
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

[[noreturn]] void fail(const std::string& origin, const std::string& key,
                       const std::string& problem) {
  throw Error("Configuração inválida (" + origin + "), chave '" + key + "': " + problem);
}

bool isKnownKey(const std::string& key) {
  return key == "web_url" || key == "web_port" || key == "report_dir" || key == "modulo_ativ" ||
         key == "database" || key == "server_token" || key == "server_tls" || key == "server_ca" ||
         key.starts_with(kPictPrefix);
}

}  // namespace

std::string HostConfig::dbPict(int type) const {
  auto it = pictures.find(type);
  return it == pictures.end() ? std::string() : it->second;
}

void HostConfig::set(const std::string& rawKey, const std::string& value,
                     const std::string& origin) {
  const std::string key = lower(rawKey);
  if (key == "web_url") {
    if (trim(value).empty()) fail(origin, key, "o endereço do servidor não pode ser vazio.");
    webUrl = std::string(trim(value));
  } else if (key == "web_port") {
    auto port = parseInt(trim(value), 1, 65535);
    if (!port) fail(origin, key, "porta '" + value + "' deve ser um número de 1 a 65535.");
    webPort = *port;
  } else if (key == "server_token") {
    serverToken = std::string(trim(value));
  } else if (key == "server_tls") {
    const std::string v = lower(trim(value));
    if (v == "1" || v == "true" || v == "sim" || v == "s" || v == "yes")
      serverTls = true;
    else if (v == "0" || v == "false" || v == "nao" || v == "não" || v == "n" || v == "no")
      serverTls = false;
    else
      fail(origin, key, "valor '" + value + "' deve ser sim ou não.");
  } else if (key == "server_ca") {
    serverCa = std::string(trim(value));
  } else if (key == "report_dir") {
    reportDir = value;
  } else if (key == "modulo_ativ") {
    if (data::utf8Length(value) != 1) {
      fail(origin, key, "o código do módulo '" + value + "' deve ter um caractere.");
    }
    moduloAtiv = value;
  } else if (key == "database") {
    database = value;
  } else if (key.starts_with(kPictPrefix)) {
    auto type = parseInt(std::string_view(key).substr(kPictPrefix.size()), 0, 9999);
    if (!type) fail(origin, key, "tipo de máscara deve ser um número de 0 a 9999.");
    pictures[*type] = value;
  } else {
    fail(origin, rawKey, "chave desconhecida.");
  }
}

void HostConfig::applyFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    throw Error("Arquivo de configuração '" + file.string() + "' não encontrado.");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw Error("Arquivo de configuração '" + file.string() + "' não pode ser lido.");
  }
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    std::string_view text = line;
    if (lineNo == 1 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    std::string_view content = trim(text);
    if (content.empty() || content.front() == '#') continue;

    const std::string origin = file.string() + ", linha " + std::to_string(lineNo);
    auto eq = content.find('=');
    std::string key =
        eq == std::string_view::npos ? std::string() : std::string(trim(content.substr(0, eq)));
    if (key.empty()) {
      throw Error("Configuração inválida (" + origin + "): esperado \"chave = valor\".");
    }
    std::string_view value = trim(content.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    set(key, std::string(value), origin);
  }
  if (in.bad()) {
    throw Error("Arquivo de configuração '" + file.string() + "' não pode ser lido.");
  }
}

void HostConfig::applyEnvironment(const Environment& env) {
  for (const auto& [name, value] : env) {
    if (!name.starts_with(kEnvPrefix) || value.empty()) continue;
    std::string key = lower(std::string_view(name).substr(kEnvPrefix.size()));
    if (!isKnownKey(key)) continue;
    set(key, value, "variável de ambiente " + name);
  }
}

void HostConfig::applyOverrides(const ConfigOverrides& overrides) {
  for (const auto& [key, value] : overrides) set(key, value, "linha de comando");
}

std::optional<std::filesystem::path> configFilePath(const Environment& env) {
  auto get = [&](const char* name) -> std::string {
    auto it = env.find(name);
    return it == env.end() ? std::string() : it->second;
  };
  if (auto explicitFile = get("QBK_CONFIG"); !explicitFile.empty()) return explicitFile;
  if (auto xdg = get("XDG_CONFIG_HOME"); !xdg.empty()) {
    return std::filesystem::path(xdg) / "qbk" / "host.conf";
  }
  if (auto home = get("HOME"); !home.empty()) {
    return std::filesystem::path(home) / ".config" / "qbk" / "host.conf";
  }
  return std::nullopt;
}

HostConfig loadHostConfig(const Environment& env, const ConfigOverrides& overrides) {
  HostConfig config;
  auto explicitFile = env.find("QBK_CONFIG");
  const bool required = explicitFile != env.end() && !explicitFile->second.empty();
  if (auto file = configFilePath(env)) {
    std::error_code ec;
    if (required || std::filesystem::exists(*file, ec)) config.applyFile(*file);
  }
  config.applyEnvironment(env);
  config.applyOverrides(overrides);
  return config;
}

Environment processEnvironment() {
  Environment env;
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string_view text = *entry;
    auto eq = text.find('=');
    if (eq == std::string_view::npos) continue;
    env.emplace(std::string(text.substr(0, eq)), std::string(text.substr(eq + 1)));
  }
  return env;
}

namespace {
HostConfig& current() {
  static HostConfig config;
  return config;
}
}  // namespace

const HostConfig& hostConfig() {
  return current();
}
void setHostConfig(HostConfig config) {
  current() = std::move(config);
}

std::string WebURL() {
  return hostConfig().webUrl;
}
int WebPort() {
  return hostConfig().webPort;
}
std::string ReportDir() {
  return hostConfig().reportDir;
}
std::string DBPict(int type) {
  return hostConfig().dbPict(type);
}
std::string ModuloAtiv() {
  return hostConfig().moduloAtiv;
}

}  // namespace qbk::host
