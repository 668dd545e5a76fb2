// A real qbk-server process for the reliability tools and the load benchmark: started on a
// database with the options given, on a port the system picks, and stopped by a signal of
// the caller's choosing (SIGTERM for a clean stop, SIGKILL for a crash).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace qbk::reliability {

// The qbk-server program: $QBK_SERVER_BIN, else the one beside this program.
std::string serverProgram();

class ServerChild {
 public:
  // Starts the server and waits until it announces its address; a failure to start is a
  // std::runtime_error carrying what the program printed. Its output goes to `logFile`.
  ServerChild(const std::string& database, const std::string& logFile,
              std::vector<std::string> extraArgs = {});
  ~ServerChild();
  ServerChild(const ServerChild&) = delete;
  ServerChild& operator=(const ServerChild&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  // Sends the signal and waits for the process to end; returns its wait status.
  int stop(int signal);

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace qbk::reliability
