// The HTTP abuse a client on the network can try, against the real qbk-server with its
// production settings (4 workers, 10 s per request, 5 s keep-alive, 32 MiB bodies): for each
// kind, how long until the server refused or closed the abusing connections, the latency
// of another client's GetBanco meanwhile, and the server's memory. Bounded: about a minute.
//
//   build/bin/bench_http_abuse            (finds qbk-server beside itself or in $QBK_SERVER_BIN)
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/raw_http.h"

namespace fs = std::filesystem;
using qbk::server::testing::RawConnection;
using qbk::server::testing::rpcRequest;
using qbk::server::testing::statusOf;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

namespace {

double msSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

const std::string kGetBanco =
    rpcRequest(R"({"jsonrpc":"2.0","id":1,"method":"GetBanco","params":[]})");

class Server {
 public:
  Server(const std::string& bin, const std::string& database, const std::string& log) {
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      execl(bin.c_str(), bin.c_str(), "--database", database.c_str(), "--demo", "--port", "0",
            "--log-level", "error", static_cast<char*>(nullptr));
      _exit(127);
    }
    const std::string prefix = "http://127.0.0.1:";
    for (int i = 0; i < 2000 && port_ == 0; ++i) {
      std::ifstream in(log);
      const std::string text((std::istreambuf_iterator<char>(in)), {});
      const auto at = text.find(prefix);
      if (at != std::string::npos && text.find('\n', at) != std::string::npos)
        port_ = std::atoi(text.c_str() + at + prefix.size());
      else
        std::this_thread::sleep_for(Millis(10));
    }
  }
  ~Server() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  int port() const { return port_; }
  // Resident memory in MiB, from the kernel's own account.
  double rssMiB() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(in, line))
      if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// Another client calling GetBanco every 20 ms on a keep-alive connection, and a sampler of
// the server's memory, while a scenario runs.
class Watch {
 public:
  Watch(const Server& server) : server_(server), start_(server.rssMiB()) {
    thread_ = std::thread([this] {
      std::unique_ptr<RawConnection> c;
      while (!stop_) {
        if (!c) c = std::make_unique<RawConnection>(server_.port());
        const auto t = Clock::now();
        const bool ok = c->send(kGetBanco) && statusOf(c->readResponse(Millis(5000))) == 200;
        const double ms = msSince(t);
        {
          std::lock_guard lock(mutex_);
          if (ok)
            latencies_.push_back(ms);
          else
            ++failures_;
        }
        if (!ok) c.reset();
        peak_ = std::max(peak_.load(), server_.rssMiB());
        std::this_thread::sleep_for(Millis(20));
      }
    });
  }
  void finish() {
    stop_ = true;
    thread_.join();
  }
  std::string report() {
    std::sort(latencies_.begin(), latencies_.end());
    auto at = [&](double q) {
      return latencies_.empty()
                 ? 0.0
                 : latencies_[std::min(latencies_.size() - 1,
                                       static_cast<std::size_t>(q * latencies_.size()))];
    };
    const auto over =
        std::count_if(latencies_.begin(), latencies_.end(), [](double ms) { return ms > 100.0; });
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "GetBanco %zu calls, %d failed, p50 %.1f ms, p99 %.1f ms, max %.1f ms, %ld over "
                  "100 ms; server RSS %.0f -> peak %.0f MiB",
                  latencies_.size(), failures_, at(0.5), at(0.99),
                  latencies_.empty() ? 0.0 : latencies_.back(), static_cast<long>(over), start_,
                  peak_.load());
    return buf;
  }

 private:
  const Server& server_;
  double start_;
  std::atomic<double> peak_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<double> latencies_;
  int failures_ = 0;
  std::thread thread_;
};

// Runs `abuse` on `n` connections at once, each returning when the server refused or
// closed it; reports the slowest such time.
double onConnections(int n, const std::function<void(RawConnection&)>& abuse, int port) {
  std::vector<std::unique_ptr<RawConnection>> conns;
  for (int i = 0; i < n; ++i) conns.push_back(std::make_unique<RawConnection>(port));
  const auto t = Clock::now();
  std::vector<std::thread> threads;
  std::atomic<double> slowest{0};
  for (auto& c : conns)
    threads.emplace_back([&, conn = c.get()] {
      abuse(*conn);
      slowest = std::max(slowest.load(), msSince(t));
    });
  for (auto& th : threads) th.join();
  return slowest;
}

// Sends `bytes` one a second until the server closes the connection (or 30 s pass).
void trickle(RawConnection& c, const std::string& head, const std::string& bytes) {
  if (!head.empty()) c.send(head);
  for (std::size_t i = 0; i < bytes.size() && i < 30; ++i) {
    if (!c.send(bytes.substr(i, 1))) return;
    if (c.closedWithin(Millis(1000))) return;
  }
}

}  // namespace

int main(int, char** argv) {
  std::string bin = std::getenv("QBK_SERVER_BIN") ? std::getenv("QBK_SERVER_BIN") : "";
  if (bin.empty()) bin = (fs::path(argv[0]).parent_path() / "qbk-server").string();
  const fs::path dir = fs::temp_directory_path() / ("qbk-abuse-" + std::to_string(getpid()));
  fs::create_directories(dir);
  {
    Server server(bin, (dir / "banco.db").string(), (dir / "server.log").string());
    if (server.port() == 0) {
      std::fprintf(stderr, "qbk-server did not start (see %s)\n", (dir / "server.log").c_str());
      return 1;
    }
    const int port = server.port();
    const std::string request = kGetBanco;
    const std::size_t bodyAt = request.find("\r\n\r\n") + 4;
    const std::string head = "POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n";

    struct Scenario {
      const char* name;
      int connections;
      std::function<void(RawConnection&)> abuse;
    };
    const std::vector<Scenario> scenarios = {
        {"declared body of 10 GiB", 1,
         [&](RawConnection& c) {
           c.send(head + "Content-Type: application/json\r\nContent-Length: 10737418240\r\n\r\n");
           std::printf("    status %d\n", statusOf(c.readResponse(Millis(30000))));
         }},
        {"chunked body past 32 MiB", 1,
         [&](RawConnection& c) {
           c.send(head + "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n");
           const std::string chunk = "100000\r\n" + std::string(0x100000, ' ') + "\r\n";
           for (int i = 0; i < 64 && c.send(chunk); ++i) {
           }
           std::printf("    status %d\n", statusOf(c.readResponse(Millis(30000))));
         }},
        {"16 senders, one header byte a second", 16,
         [&](RawConnection& c) { trickle(c, "", request.substr(0, bodyAt)); }},
        {"16 senders, one body byte a second", 16,
         [&](RawConnection& c) { trickle(c, request.substr(0, bodyAt), request.substr(bodyAt)); }},
        {"100,000 headers", 1,
         [&](RawConnection& c) {
           c.send(head);
           std::string block;
           for (int i = 0; i < 1000; ++i) block += "X-Flood: " + std::to_string(i) + "\r\n";
           int sent = 0;
           while (sent < 100 && c.send(block)) ++sent;
           std::printf("    status %d after %d,000 headers sent\n",
                       statusOf(c.readResponse(Millis(30000))), sent);
           c.closedWithin(Millis(30000));
         }},
        {"200 idle connections", 200, [&](RawConnection& c) { c.closedWithin(Millis(30000)); }},
        {"200 half-sent requests", 200,
         [&](RawConnection& c) {
           c.send(request.substr(0, 70));
           c.closedWithin(Millis(30000));
         }},
    };
    std::printf("qbk-server on port %d: 4 workers, request deadline 10 s, keep-alive 5 s\n", port);
    for (const Scenario& s : scenarios) {
      std::printf("%s\n", s.name);
      std::fflush(stdout);
      Watch watch(server);
      std::this_thread::sleep_for(Millis(200));
      const double slowest = onConnections(s.connections, s.abuse, port);
      std::this_thread::sleep_for(Millis(200));
      watch.finish();
      std::printf("    refused or closed within %.0f ms; %s\n", slowest, watch.report().c_str());
      std::fflush(stdout);
    }
  }
  fs::remove_all(dir);
  return 0;
}
