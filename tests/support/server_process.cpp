#include "support/server_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace qbk::testing {

namespace {

using Clock = std::chrono::steady_clock;

// The program's output up to the end of the line that announces the address.
std::string readAnnouncement(int fd, Clock::duration limit) {
  std::string out;
  const auto deadline = Clock::now() + limit;
  char buf[256];
  while (Clock::now() < deadline) {
    const auto at = out.find("escutando em");
    if (at != std::string::npos && out.find('\n', at) != std::string::npos) break;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) {
      out.append(buf, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  return out;
}

}  // namespace

ServerProcess::ServerProcess(const std::string& database, bool demo, const std::string& logFile) {
  const std::string logPath = logFile.empty() ? database + ".log" : logFile;
  const char* bin = std::getenv("QBK_SERVER_BIN");
  if (!bin) throw std::runtime_error("QBK_SERVER_BIN não definido");

  std::vector<std::string> args{bin, "--database", database, "--port", "0", "--log-level", "warn"};
  if (demo) args.emplace_back("--demo");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe falhou");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork falhou");
  if (pid_ == 0) {
    dup2(fds[1], STDOUT_FILENO);
    // The log goes to a file: a pipe nobody reads after start-up would fill and stall it.
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log >= 0) dup2(log, STDERR_FILENO);
    // Nothing else of the test's goes with it: an inherited descriptor (a lock, a socket)
    // would outlive the test in a server left running.
    close_range(STDERR_FILENO + 1, ~0U, 0);
    execv(bin, argv.data());
    _exit(127);
  }
  close(fds[1]);
  output_ = fds[0];
  fcntl(output_, F_SETFL, O_NONBLOCK);

  const std::string out = readAnnouncement(output_, std::chrono::seconds(30));
  std::smatch m;
  if (!std::regex_search(out, m, std::regex(R"(http://127\.0\.0\.1:(\d+))"))) {
    stop();
    std::string log;
    if (FILE* f = std::fopen(logPath.c_str(), "r")) {
      char buf[512];
      while (std::fgets(buf, sizeof buf, f)) log += buf;
      std::fclose(f);
    }
    throw std::runtime_error("qbk-server não anunciou o endereço: " + out + log);
  }
  port_ = std::stoi(m[1]);
}

ServerProcess::~ServerProcess() {
  stop();
}

void ServerProcess::stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
  }
  if (output_ >= 0) {
    close(output_);
    output_ = -1;
  }
}

}  // namespace qbk::testing
