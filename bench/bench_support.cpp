#include "bench_support.h"

#include <spdlog/spdlog.h>

#include <algorithm>
#include <random>

#include "db/connection.h"
#include "server/demo_data.h"
#include "server/schema.h"

namespace qbk::bench {

BenchDatabase::BenchDatabase(int banks) {
  std::random_device rd;
  dir_ = std::filesystem::temp_directory_path() / ("qbk-bench-" + std::to_string(rd()));
  std::filesystem::create_directories(dir_);
  path_ = (dir_ / "bench.db").string();
  auto c = db::open(path_);
  server::migrate(*c);
  if (banks > 0) server::fillBenchBanks(*c, banks);
}

BenchDatabase::~BenchDatabase() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

LocalServer::LocalServer(const std::string& database, int workers) {
  spdlog::set_level(spdlog::level::warn);  // one log line per call would drown the results
  server::ServerOptions o;
  o.database = database;
  o.port = 0;
  o.workers = workers;
  server_ = std::make_unique<server::Server>(o);
  server_->start();
}

LocalServer::~LocalServer() {
  server_->stop();
}

Stats measure(int warmup, int runs, const std::function<void()>& fn) {
  for (int i = 0; i < warmup; ++i) fn();
  std::vector<double> ms;
  ms.reserve(runs);
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  Stats s;
  s.min_ms = ms.front();
  s.median_ms = ms[ms.size() / 2];
  s.p99_ms = ms[std::min(ms.size() - 1, static_cast<std::size_t>(ms.size() * 0.99))];
  return s;
}

}  // namespace qbk::bench
