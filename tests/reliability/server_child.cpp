#include "server_child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace qbk::reliability {

namespace {

using Clock = std::chrono::steady_clock;

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::string serverProgram() {
  if (const char* bin = std::getenv("QBK_SERVER_BIN"); bin && *bin) return bin;
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (self.parent_path() / "qbk-server").string();
}

ServerChild::ServerChild(const std::string& database, const std::string& logFile,
                         std::vector<std::string> extraArgs) {
  const std::string bin = serverProgram();
  std::vector<std::string> args{bin, "--database", database, "--port", "0", "--log-level", "warn"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // Everything the program prints goes to the log file, where the address is read from: the
  // log shares standard output, and a pipe nobody reads once the server runs would fill up
  // and stall it.
  const auto start = std::filesystem::exists(logFile) ? std::filesystem::file_size(logFile) : 0;
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork falhou");
  if (pid_ == 0) {
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log >= 0) {
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
    }
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  const std::regex address(R"(escutando em http://[0-9.]+:(\d+)\n)");
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  std::smatch m;
  std::string out;
  for (;;) {
    out = fileText(logFile).substr(static_cast<std::size_t>(start));
    if (std::regex_search(out, m, address)) break;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;
    if (pid_ < 0 || Clock::now() > deadline) {
      stop(SIGKILL);
      throw std::runtime_error("qbk-server não anunciou o endereço: " + out);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  port_ = std::stoi(m[1]);
}

ServerChild::~ServerChild() {
  stop(SIGTERM);
}

int ServerChild::stop(int signal) {
  int status = 0;
  if (pid_ > 0) {
    kill(pid_, signal);
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    pid_ = -1;
  }
  return status;
}

}  // namespace qbk::reliability
