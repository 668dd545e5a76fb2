// What an attacker on the network can send to the HTTP front: bodies over the limit
// (declared and chunked), headers without end, connections that send nothing, or one byte
// at a time. Each is refused or closed within its deadline, and another client is served
// all along. (bench/http_abuse measures the other client's latency under the same load.)
#include <gmock/gmock.h>

#include <atomic>
#include <thread>
#include <vector>

#include "http_front_support.h"

namespace qbk::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Calls GetBanco on a connection of its own until told to stop, counting failures and the
// slowest answer. The latency bound here is loose on purpose (sanitizer builds, a shared
// machine): the point is that the call is served, not how fast.
class Bystander {
 public:
  explicit Bystander(int port)
      : thread_([this, port] {
          RpcClient client(port);
          while (!stop_) {
            const auto t = Clock::now();
            try {
              if (!client.call("GetBanco").ok) ++failures_;
            } catch (...) {
              ++failures_;
            }
            slowest_ = std::max(slowest_.load(), elapsedMs(t));
            ++calls_;
            std::this_thread::sleep_for(Millis(20));
          }
        }) {}
  ~Bystander() { finish(); }
  void finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int calls() const { return calls_; }
  int failures() const { return failures_; }
  double slowestMs() const { return slowest_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> calls_{0}, failures_{0};
  std::atomic<double> slowest_{0};
  std::thread thread_;
};

TEST_F(HttpFrontTest, aDeclaredBodyOverTheLimitIsRefusedAtOnce) {
  startServer(shortDeadlines(database));
  RawConnection c(port());
  const auto t = Clock::now();
  ASSERT_TRUE(
      c.send("POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n"
             "Content-Type: application/json\r\nContent-Length: 10737418240\r\n\r\n{"));
  const std::string res = c.readResponse(Millis(5000));
  EXPECT_EQ(statusOf(res), 413) << res;
  // Well before the whole-request deadline: nothing of the body is waited for.
  EXPECT_LT(elapsedMs(t), 500.0);
  EXPECT_TRUE(c.closedWithin(Millis(3000)));
}

TEST_F(HttpFrontTest, aChunkedBodyOverTheLimitIsRefusedOnceItPassesTheLimit) {
  startServer(shortDeadlines(database));
  RawConnection c(port());
  ASSERT_TRUE(
      c.send("POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n"
             "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n"));
  const std::string chunk = "10000\r\n" + std::string(0x10000, ' ') + "\r\n";
  std::size_t sent = 0;
  // Twice the limit at most; the server stops reading (and answers) past the limit.
  while (sent < 2 * server->options().maxBodyBytes && c.send(chunk)) sent += 0x10000;
  const std::string res = c.readResponse(Millis(5000));
  EXPECT_EQ(statusOf(res), 413) << res.substr(0, 200);
  RpcClient other(port());
  EXPECT_TRUE(other.call("GetBanco").ok);
}

TEST_F(HttpFrontTest, headersPastTheirCountOrSizeAreRefused) {
  startServer(shortDeadlines(database));
  std::string many;
  for (int i = 0; i < 101; ++i) many += "X-H" + std::to_string(i) + ": v\r\n";
  {
    RawConnection c(port());
    ASSERT_TRUE(c.send(rpcRequest(getBancoBody(), many)));
    EXPECT_EQ(statusOf(c.readResponse(Millis(3000))), 431);
  }
  {
    RawConnection c(port());
    ASSERT_TRUE(c.send(rpcRequest(getBancoBody(), "X-Big: " + std::string(20000, 'a') + "\r\n")));
    EXPECT_EQ(statusOf(c.readResponse(Millis(3000))), 431);
  }
  {
    // 100,000 headers, sent as fast as the server takes them: refused as soon as the size
    // limit is passed, long before they are all sent.
    RawConnection c(port());
    const auto t = Clock::now();
    ASSERT_TRUE(c.send("POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n"));
    std::string block;
    for (int i = 0; i < 1000; ++i) block += "X-Flood: " + std::to_string(i) + "\r\n";
    int sentBlocks = 0;
    while (sentBlocks < 100 && c.send(block)) ++sentBlocks;
    const std::string res = c.readResponse(Millis(3000));
    EXPECT_EQ(statusOf(res), 431) << res.substr(0, 200);
    EXPECT_TRUE(c.closedWithin(Millis(3000)));
    EXPECT_LT(elapsedMs(t), 4000.0);
  }
  RpcClient other(port());
  EXPECT_TRUE(other.call("GetBanco").ok);
}

// Sixteen senders of one byte at a time, in the headers and in the body, against four
// workers: the deadline counts from a request's first byte, so each is closed when it runs
// out however steadily it sends, and another client is served all the while.
TEST_F(HttpFrontTest, slowSendersAreClosedAtTheWholeRequestDeadlineWhileOthersAreServed) {
  startServer(shortDeadlines(database));
  const std::string request = rpcRequest(getBancoBody());
  const std::size_t bodyAt = request.find("\r\n\r\n") + 4;
  Bystander bystander(port());
  std::vector<std::thread> senders;
  std::atomic<int> closedInTime{0};
  for (int i = 0; i < 16; ++i) {
    senders.emplace_back([&, i] {
      RawConnection c(port());
      // Half of them trickle the headers, half send the headers whole and trickle the body.
      std::size_t at = 0;
      if (i % 2) {
        c.send(std::string_view(request).substr(0, bodyAt));
        at = bodyAt;
      }
      const auto t = Clock::now();
      while (at < request.size() && elapsedMs(t) < 4000) {
        if (!c.send(std::string_view(request).substr(at, 1))) break;
        ++at;
        std::this_thread::sleep_for(Millis(100));
      }
      // One byte per 100 ms would need seconds more; the deadline is 1 s.
      if (at < request.size() && elapsedMs(t) < 2500) ++closedInTime;
    });
  }
  for (auto& s : senders) s.join();
  bystander.finish();
  EXPECT_EQ(closedInTime, 16);
  EXPECT_GT(bystander.calls(), 10);
  EXPECT_EQ(bystander.failures(), 0);
  EXPECT_LT(bystander.slowestMs(), 1000.0);
}

// Connections that send nothing, or half a request, cost no worker: 200 of each are open
// while another client is served, and each is closed at its deadline.
TEST_F(HttpFrontTest, idleAndHalfSentConnectionsCostNoWorkerAndAreClosedAtTheirDeadline) {
  startServer(shortDeadlines(database));
  std::vector<std::unique_ptr<RawConnection>> idle, halfSent;
  for (int i = 0; i < 200; ++i) {
    idle.push_back(std::make_unique<RawConnection>(port()));
    halfSent.push_back(std::make_unique<RawConnection>(port()));
    halfSent.back()->send(rpcRequest(getBancoBody()).substr(0, 70));
  }
  const auto opened = Clock::now();
  {
    RpcClient other(port());
    for (int i = 0; i < 5; ++i) {
      const auto t = Clock::now();
      EXPECT_TRUE(other.call("GetBanco").ok);
      EXPECT_LT(elapsedMs(t), 1000.0);
    }
  }
  int closed = 0;
  for (auto* group : {&idle, &halfSent})
    for (auto& c : *group) closed += c->closedWithin(Millis(3000)) ? 1 : 0;
  EXPECT_EQ(closed, 400);
  EXPECT_LT(elapsedMs(opened), 4000.0);
}

TEST_F(HttpFrontTest, aConnectionPastTheLimitIsClosedAtOnce) {
  ServerOptions o = shortDeadlines(database);
  o.maxConnections = 5;
  o.keepAliveTimeout = Millis(500);
  startServer(o);
  std::vector<std::unique_ptr<RawConnection>> held;
  for (int i = 0; i < 5; ++i) held.push_back(std::make_unique<RawConnection>(port()));
  std::this_thread::sleep_for(Millis(100));  // all five accepted
  RawConnection extra(port());
  EXPECT_TRUE(extra.closedWithin(Millis(300)));
  // Once the idle ones are gone, there is room again.
  for (auto& c : held) EXPECT_TRUE(c->closedWithin(Millis(2000)));
  std::this_thread::sleep_for(Millis(100));
  RpcClient later(port());
  EXPECT_TRUE(later.call("GetBanco").ok);
}

// However many connections send large bodies, only so many are held at once: the next is
// refused before its body is read, while small calls go on.
TEST_F(HttpFrontTest, largeBodiesPastTheirLimitAreRefusedSoMemoryStaysBounded) {
  ServerOptions o = shortDeadlines(database);
  o.maxLargeBodies = 2;
  startServer(o);
  const std::string head =
      "POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n"
      "Content-Type: application/json\r\nContent-Length: 500000\r\n\r\n[";
  RawConnection first(port()), second(port()), third(port());
  ASSERT_TRUE(first.send(head));
  ASSERT_TRUE(second.send(head));
  std::this_thread::sleep_for(Millis(100));
  ASSERT_TRUE(third.send(head));
  EXPECT_EQ(statusOf(third.readResponse(Millis(2000))), 503);
  RpcClient small(port());
  EXPECT_TRUE(small.call("GetBanco").ok);
  // Once one of them is gone (here: at its deadline), a large body is taken again.
  EXPECT_TRUE(first.closedWithin(Millis(3000)));
  std::this_thread::sleep_for(Millis(100));
  RawConnection fourth(port());
  ASSERT_TRUE(fourth.send(head + std::string(499999, ' ')));
  EXPECT_EQ(statusOf(fourth.readResponse(Millis(3000))), 200);
}

TEST_F(HttpFrontTest, pathsMethodsAndHealthAreAnsweredByTheFront) {
  startServer(shortDeadlines(database));
  RawConnection c(port());
  c.send("GET /health HTTP/1.1\r\nHost: localhost\r\n\r\n");
  const std::string health = c.readResponse(Millis(2000));
  EXPECT_EQ(statusOf(health), 200);
  EXPECT_EQ(bodyOf(health), "ok");
  // Kept alive: the same connection serves a call next.
  c.send(rpcRequest(getBancoBody()));
  EXPECT_EQ(statusOf(c.readResponse(Millis(2000))), 200);

  RawConnection wrongPath(port());
  wrongPath.send("GET /rpc/Outro HTTP/1.1\r\nHost: localhost\r\n\r\n");
  EXPECT_EQ(statusOf(wrongPath.readResponse(Millis(2000))), 404);
  RawConnection wrongMethod(port());
  wrongMethod.send("GET /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: localhost\r\n\r\n");
  EXPECT_EQ(statusOf(wrongMethod.readResponse(Millis(2000))), 405);
  RawConnection garbage(port());
  garbage.send("\x16\x03\x01 not http at all\r\n\r\n");
  EXPECT_EQ(statusOf(garbage.readResponse(Millis(2000))), 400);
}

}  // namespace
}  // namespace qbk::server::testing
