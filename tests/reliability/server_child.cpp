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

std::string announcement(int fd, Clock::duration limit) {
  std::string out;
  const auto deadline = Clock::now() + limit;
  char buf[256];
  while (Clock::now() < deadline) {
    const auto at = out.find("escutando em");
    if (at != std::string::npos && out.find('\n', at) != std::string::npos) break;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0)
      out.append(buf, static_cast<std::size_t>(n));
    else if (n == 0)
      break;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return out;
}

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

  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe falhou");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork falhou");
  if (pid_ == 0) {
    dup2(fds[1], STDOUT_FILENO);
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log >= 0) dup2(log, STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  output_ = fds[0];
  fcntl(output_, F_SETFL, O_NONBLOCK);

  const std::string out = announcement(output_, std::chrono::seconds(30));
  std::smatch m;
  if (!std::regex_search(out, m, std::regex(R"(http://[0-9.]+:(\d+))"))) {
    stop(SIGKILL);
    throw std::runtime_error("qbk-server não anunciou o endereço: " + out + fileText(logFile));
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
  if (output_ >= 0) {
    close(output_);
    output_ = -1;
  }
  return status;
}

}  // namespace qbk::reliability
