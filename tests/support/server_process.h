// The real qbk-server program ($QBK_SERVER_BIN) on a database file and a port the system
// picks, stopped with SIGTERM when the object goes.
#pragma once

#include <sys/types.h>

#include <string>

namespace qbk::testing {

class ServerProcess {
 public:
  // Starts the server and waits until it announces its address; a failure to start is a
  // std::runtime_error carrying what the program printed.
  // The program's log goes to `logFile`, by default beside an SQLite database file.
  ServerProcess(const std::string& database, bool demo, const std::string& logFile = {});
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }

 private:
  void stop();

  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = 0;
};

}  // namespace qbk::testing
