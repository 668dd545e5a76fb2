// A server with short deadlines on a fresh demo database, for the tests of the HTTP front:
// what holds connections open must be closed in seconds, not in the production minutes.
#pragma once

#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include <chrono>
#include <memory>
#include <string>

#include "db/connection.h"
#include "raw_http.h"
#include "server/demo_data.h"
#include "server/http_server.h"
#include "server/schema.h"
#include "server_fixture.h"

namespace qbk::server::testing {

inline ServerOptions shortDeadlines(const std::string& database) {
  ServerOptions o;
  o.database = database;
  o.port = 0;
  o.workers = 4;
  o.maxBodyBytes = 1u << 20;
  o.requestTimeout = std::chrono::milliseconds(1000);
  o.keepAliveTimeout = std::chrono::milliseconds(1000);
  o.stopTimeout = std::chrono::milliseconds(3000);
  return o;
}

class HttpFrontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spdlog::set_level(spdlog::level::err);
    database = dir.file("front.db");
    auto conn = db::open(database);
    migrate(*conn);
    fillDemoData(*conn);
  }
  void TearDown() override {
    if (server) server->stop();
  }

  void startServer(ServerOptions options) {
    server = std::make_unique<Server>(std::move(options));
    server->start();
  }
  int port() const { return server->port(); }

  ::qbk::testing::TempDir dir;
  std::string database;
  std::unique_ptr<Server> server;
};

using Millis = std::chrono::milliseconds;

inline double elapsedMs(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

inline std::string getBancoBody(int id = 1) {
  return R"({"jsonrpc":"2.0","id":)" + std::to_string(id) + R"(,"method":"GetBanco","params":[]})";
}

}  // namespace qbk::server::testing
