// What the benchmarks share: a temporary database, an in-process server on loopback and
// simple statistics over repeated timings.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "server/http_server.h"

namespace qbk::bench {

// A fresh SQLite file with the schema and `banks` generated banks, removed at the end.
class BenchDatabase {
 public:
  explicit BenchDatabase(int banks);
  ~BenchDatabase();
  const std::string& path() const { return path_; }

 private:
  std::filesystem::path dir_;
  std::string path_;
};

// The application server on 127.0.0.1 with a port the system picks.
class LocalServer {
 public:
  explicit LocalServer(const std::string& database, int workers = 2);
  ~LocalServer();
  int port() const { return server_->port(); }

 private:
  std::unique_ptr<server::Server> server_;
};

struct Stats {
  double median_ms = 0;
  double p99_ms = 0;
  double min_ms = 0;
};

// Runs `fn` `warmup` times untimed, then `runs` times timed.
Stats measure(int warmup, int runs, const std::function<void()>& fn);

}  // namespace qbk::bench
