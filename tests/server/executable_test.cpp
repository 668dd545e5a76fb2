// The real qbk-server program: creates and fills a database, serves, and stops on SIGTERM.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

// Reads the child's output until the line that announces the address, or gives up.
std::string readUntilListening(int fd, std::chrono::seconds limit) {
  std::string out;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char buf[256];
  while (std::chrono::steady_clock::now() < deadline &&
         out.find("escutando em") == std::string::npos) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0)
      out.append(buf, static_cast<std::size_t>(n));
    else if (n == 0)
      break;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  while (out.find('\n', out.find("escutando em")) == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) out.append(buf, static_cast<std::size_t>(n));
    if (n == 0) break;
  }
  return out;
}

class ServerExecutable : public ::testing::TestWithParam<db::Engine> {};

TEST_P(ServerExecutable, servesDemoDataAndStopsCleanlyOnSigterm) {
  const char* bin = std::getenv("QBK_SERVER_BIN");
  ASSERT_NE(bin, nullptr) << "QBK_SERVER_BIN is not set";
  ::qbk::testing::TestDatabase db(GetParam());
  QBK_REQUIRE_DATABASE(db);
  const std::string database = db.location();

  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execl(bin, bin, "--database", database.c_str(), "--demo", "--port", "0", "--log-level", "warn",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);

  const std::string out = readUntilListening(pipeFds[0], std::chrono::seconds(20));
  const std::string prefix = "http://127.0.0.1:";
  const auto at = out.find(prefix);
  const int port = at == std::string::npos ? 0 : std::atoi(out.c_str() + at + prefix.size());
  if (port <= 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    FAIL() << "no address announced; output: " << out;
  }

  {
    // Closed before the signal: an idle kept-alive connection would hold its worker until
    // the keep-alive timeout.
    RpcClient client(port);
    const auto r = client.call("GetBanco");
    EXPECT_TRUE(r.ok) << r.errorMessage;
    if (r.ok) {
      const data::Packet& banks = r.result.asPacket();
      EXPECT_GE(banks.rows.size(), 20u);
      EXPECT_EQ(rowWhere(banks, "CDBANCO", "341")[banks.fieldIndex("CDBANCCNAB")],
                data::Value("341"));
    }
  }

  ASSERT_EQ(kill(pid, SIGTERM), 0);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  pid_t done = 0;
  while ((done = waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (done == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the server did not stop on SIGTERM";
  }
  close(pipeFds[0]);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerExecutable, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server::testing
