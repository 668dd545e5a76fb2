// The host's configuration: where the application server listens, where report definitions
// live, the edit masks by picture type, the active module and the shared database.
//
// Sources, each overriding the one before:
//   1. built-in defaults;
//   2. the configuration file: $QBK_CONFIG, else $XDG_CONFIG_HOME/qbk/host.conf, else
//      ~/.config/qbk/host.conf (a missing default file is fine, a missing $QBK_CONFIG is
//      not). Lines "key = value"; a line whose first character (blanks aside) is "#" is a
//      comment, and "#" elsewhere is part of the value, since masks use it. A value in
//      double quotes is taken exactly, blanks included (masks may end in a blank);
//   3. environment variables: "QBK_" + the key in upper case (QBK_WEB_PORT, QBK_DBPICT_2);
//      an empty variable counts as unset, and other QBK_ variables are not ours;
//   4. explicit overrides, keyed like the file (the desktop's command line).
//
// Keys: web_url, web_port, server_token, server_tls, server_ca, report_dir, modulo_ativ,
// database, dbpict_<n>.
// A bad value or an unknown key is a qbk::Error naming where it came from and the key.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qbk::host {

using Environment = std::map<std::string, std::string>;
using ConfigOverrides = std::vector<std::pair<std::string, std::string>>;

struct HostConfig {
  std::string webUrl = "127.0.0.1";
  int webPort = 8051;
  // The application server's shared secret, sent with every call; empty: none (a server on
  // this machine's loopback needs none).
  std::string serverToken;
  // HTTPS to the application server, verifying its certificate against `serverCa` (a PEM
  // file; empty: the system's certificate authorities).
  bool serverTls = false;
  std::string serverCa;
  std::string reportDir;
  std::string moduloAtiv = "F";
  // Location of the shared database connection: a SQLite file path or a PostgreSQL
  // connection string; empty when the host has none.
  std::string database;
  // Edit masks by picture type; type 2 is the chart-of-accounts code.
  std::map<int, std::string> pictures{{2, "9.9.99.99.999"}};

  // The mask of a picture type; "" (no mask) for a type nobody configured.
  std::string dbPict(int type) const;

  // Sets one key from text. `origin` says where the value came from, for the message.
  void set(const std::string& key, const std::string& value, const std::string& origin);
  // Reads a configuration file. A file that cannot be read is a qbk::Error.
  void applyFile(const std::filesystem::path& file);
  void applyEnvironment(const Environment& env);
  void applyOverrides(const ConfigOverrides& overrides);
};

// The file the configuration is read from, by the rules above; nothing when neither
// QBK_CONFIG, XDG_CONFIG_HOME nor HOME is set.
std::optional<std::filesystem::path> configFilePath(const Environment& env);

// Defaults, then the file, the environment and the overrides.
HostConfig loadHostConfig(const Environment& env, const ConfigOverrides& overrides = {});

// The variables of this process.
Environment processEnvironment();

// The process-wide configuration the routines below read. Until the host installs one it
// holds the built-in defaults, so nothing depends on the environment by accident.
const HostConfig& hostConfig();
void setHostConfig(HostConfig config);

std::string WebURL();
int WebPort();
std::string ReportDir();
std::string DBPict(int type);
std::string ModuloAtiv();

}  // namespace qbk::host
