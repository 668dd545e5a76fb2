// An in-process server on a fresh database and a loopback port the system picks, with a few
// banks, companies and codes to read and change, and a way to see the whole database. The
// fixture runs a test on both engines when the test is a TEST_P instantiated with
// QBK_BOTH_ENGINES, and on SQLite when it is a plain TEST_F.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/codec.h"
#include "data/variant.h"
#include "db/connection.h"
#include "db/test_database.h"
#include "server/http_server.h"
#include "support/temp_dir.h"

namespace qbk::server::testing {

inline constexpr const char* kRpcPath = "/rpc/Qbk51200.rdmBanco";

using ::qbk::testing::TempDir;

// A client as the desktop uses it: one keep-alive connection, numbered calls.
class RpcClient {
 public:
  explicit RpcClient(int port);
  data::json::RpcResponse call(const std::string& method, data::VariantArray params = {});
  // The raw exchange, for requests the codec would never write.
  httplib::Result post(const std::string& body,
                       const std::string& contentType = "application/json");
  httplib::Client& http() { return http_; }

 private:
  httplib::Client http_;
  int nextId_ = 1;
};

class ServerTest : public ::testing::TestWithParam<db::Engine> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Direct SQL on the same database, beside the server.
  void exec(const std::string& sql, const std::vector<data::Value>& params = {});
  // Every row of every table, in key order: equal dumps mean nothing was written.
  std::string dump();

  data::json::RpcResponse call(const std::string& method, data::VariantArray params = {}) {
    return client->call(method, std::move(params));
  }
  // The packet a Get... method answers; fails the test on an error answer.
  data::Packet fetch(const std::string& method, data::VariantArray params = {});
  // The answer of a Set... method: the error message, or "" when it answered true.
  std::string apply(const std::string& method, data::VariantArray params);

  db::Engine engine() const { return database->engine(); }

  std::unique_ptr<::qbk::testing::TestDatabase> database;
  TempDir dir;
  std::string dbPath;  // the database location, as the server was given it
  std::unique_ptr<db::Connection> conn;
  std::unique_ptr<Server> server;
  std::unique_ptr<RpcClient> client;
};

// Values of the row of `p` whose `keyField` is `key`; fails when there is none.
data::Row rowWhere(const data::Packet& p, const std::string& keyField, const std::string& key);
data::Value cell(const data::Packet& p, const data::Row& row, const std::string& field);

// A delta over the packet's fields, the way a record set sends one.
data::Delta insertDelta(const data::Packet& like, data::Row newRow);
data::Delta updateDelta(const data::Packet& like, data::Row oldRow, data::Row newRow);
data::Delta deleteDelta(const data::Packet& like, data::Row oldRow);
// `row` with `field` set to `value`.
data::Row with(const data::Packet& p, data::Row row, const std::string& field, data::Value value);

// The nine "field is null" names SetBanco expects beside the delta, all empty.
data::VariantArray setBancoArgs(data::Delta delta);

}  // namespace qbk::server::testing
