// SIGTERM while calls and slow connections are open: the calls in flight finish and answer,
// every other connection is closed at once, and the process ends within its stop timeout.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "http_front_support.h"

namespace qbk::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

// qbk-server as a child process; killed at the end of the test if it is still there.
class ServerProcess {
 public:
  ServerProcess(const std::string& database, const std::string& output,
                std::vector<std::string> args) {
    const char* bin = std::getenv("QBK_SERVER_BIN");
    if (!bin) return;
    std::vector<std::string> all = {bin, "--database",  database, "--port",
                                    "0", "--log-level", "warn"};
    all.insert(all.end(), args.begin(), args.end());
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      std::vector<char*> argv;
      for (auto& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(bin, argv.data());
      _exit(127);
    }
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    const std::string prefix = "http://127.0.0.1:";
    while (Clock::now() < deadline && port_ == 0) {
      std::ifstream in(output);
      const std::string text((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
      const auto at = text.find(prefix);
      if (at != std::string::npos && text.find('\n', at) != std::string::npos)
        port_ = std::atoi(text.c_str() + at + prefix.size());
      else
        std::this_thread::sleep_for(Millis(10));
    }
  }
  ~ServerProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  int port() const { return port_; }
  void terminate() const { kill(pid_, SIGTERM); }
  // The exit status once the process ends within `limit`; nothing if it is still running.
  std::optional<int> waitFor(Millis limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (Clock::now() < deadline) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(Millis(10));
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  bool exited_ = false;
};

TEST_F(HttpFrontTest, sigtermFinishesCallsInFlightClosesTheRestAndEndsInTime) {
  if (!std::getenv("QBK_SERVER_BIN")) GTEST_SKIP() << "QBK_SERVER_BIN is not set";
  // Long request and keep-alive deadlines: only the stop may close these connections.
  ServerProcess proc(database, dir.file("server.log"),
                     {"--stop-timeout", "5", "--request-timeout", "60"});
  ASSERT_GT(proc.port(), 0);

  std::vector<std::unique_ptr<RawConnection>> slow;
  for (int i = 0; i < 8; ++i) {
    slow.push_back(std::make_unique<RawConnection>(proc.port()));
    if (i % 2) slow.back()->send(rpcRequest(getBancoBody()).substr(0, 60));
  }

  // A call held inside the database: another connection keeps the write lock, so the
  // server's delta waits for it (within the database's busy timeout).
  auto holder = db::open(database);
  holder->execute("BEGIN IMMEDIATE");
  std::atomic<bool> answered{false};
  std::string answer;
  std::thread inFlight([&] {
    RawConnection c(proc.port());
    c.send(rpcRequest(
        R"({"jsonrpc":"2.0","id":1,"method":"ExecProcMsgPadraoBanco","params":["001"]})"));
    answer = c.readResponse(Millis(15000));
    answered = true;
  });
  std::this_thread::sleep_for(Millis(300));

  const auto signalled = Clock::now();
  proc.terminate();
  int closedAtOnce = 0;
  for (auto& c : slow) closedAtOnce += c->closedWithin(Millis(1000)) ? 1 : 0;
  EXPECT_EQ(closedAtOnce, 8) << "idle and half-sent connections are closed on the stop";
  RawConnection late(proc.port());
  EXPECT_TRUE(!late.connected() || late.closedWithin(Millis(1000))) << "no new connections";

  holder->execute("COMMIT");  // the call in flight may now finish
  inFlight.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(statusOf(answer), 200) << answer;
  EXPECT_TRUE(data::json::decodeResponse(bodyOf(answer)).ok) << bodyOf(answer);

  const auto status = proc.waitFor(Millis(6000));
  ASSERT_TRUE(status.has_value()) << "still running after the stop timeout";
  EXPECT_EQ(*status, 0);
  EXPECT_LT(elapsedMs(signalled), 5000.0 + 1000.0);
}

// A call that outlasts the stop timeout does not keep the process: it ends once the
// timeout and that call's own database wait are over.
TEST_F(HttpFrontTest, aCallPastTheStopTimeoutDoesNotHoldTheProcess) {
  if (!std::getenv("QBK_SERVER_BIN")) GTEST_SKIP() << "QBK_SERVER_BIN is not set";
  ServerProcess proc(database, dir.file("server.log"), {"--stop-timeout", "1"});
  ASSERT_GT(proc.port(), 0);
  auto holder = db::open(database);
  holder->execute("BEGIN IMMEDIATE");
  std::thread inFlight([&] {
    RawConnection c(proc.port());
    c.send(rpcRequest(
        R"({"jsonrpc":"2.0","id":1,"method":"ExecProcMsgPadraoBanco","params":["001"]})"));
    c.readResponse(Millis(10000));
  });
  std::this_thread::sleep_for(Millis(300));
  const auto signalled = Clock::now();
  proc.terminate();
  const auto status = proc.waitFor(Millis(8000));
  holder->execute("ROLLBACK");
  inFlight.join();
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0);
  // One second of stop timeout, then at most the rest of the five-second busy wait.
  EXPECT_LT(elapsedMs(signalled), 6000.0);
}

}  // namespace
}  // namespace qbk::server::testing
