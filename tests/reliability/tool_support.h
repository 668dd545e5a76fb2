// What the reliability tools share: a database of either engine made for one run, a JSON-RPC
// client that tells a refused call from one that got no answer, deltas over the receivables
// return codes (ERRCNABR) of one bank, and the tally of broken expectations.
#pragma once

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/codec.h"
#include "data/packet.h"
#include "db/connection.h"
#include "db/test_database.h"

namespace httplib {
class Client;
}

namespace qbk::reliability {

db::Engine parseEngine(const std::string& name);  // "sqlite" or "postgresql"

// No PostgreSQL server to run against: the tool skips (exit status 77).
class NoPostgres : public std::runtime_error {
 public:
  NoPostgres() : std::runtime_error("QBK_TEST_POSTGRES não indica um servidor PostgreSQL") {}
};

// A fresh database with the schema and the demo data: an SQLite file in a temporary
// directory, or a private schema on the PostgreSQL server named by QBK_TEST_POSTGRES.
class RunDatabase {
 public:
  explicit RunDatabase(db::Engine engine);
  db::Engine engine() const { return db_.engine(); }
  const std::string& location() const { return db_.location(); }
  std::unique_ptr<db::Connection> open() const { return db_.open(); }
  std::string file(const std::string& name) const { return db_.dir().file(name); }

 private:
  ::qbk::testing::TestDatabase db_;
};

struct Reply {
  bool answered = false;  // an HTTP answer came back
  std::string transportError;
  data::json::RpcResponse rpc;
  double ms = 0;
};

class Rpc {
 public:
  explicit Rpc(int port, std::chrono::seconds timeout = std::chrono::seconds(30));
  ~Rpc();
  Reply call(const std::string& method, data::VariantArray params = {});

 private:
  std::unique_ptr<httplib::Client> http_;
  int nextId_ = 1;
};

// The bank whose receivables codes the tools write: one of the demo banks.
inline constexpr const char* kBank = "104";

// Inserts of codes `prefix`0 .. `prefix`(count-1) of kBank, each with description `text`.
data::Delta insertCodes(const data::Packet& like, const std::string& prefix, int count,
                        const std::string& text);
// How many codes of kBank start with `prefix`.
int countCodes(db::Connection& conn, const std::string& prefix);

// Counts broken expectations and says what they were; the tool's exit status.
class Tally {
 public:
  void expect(bool ok, const std::string& what);
  int failures() const { return failures_; }
  int exitCode() const;

 private:
  int failures_ = 0;
};

// Integrity of the whole file (SQLite) or of the connection's view (PostgreSQL, where the
// engine itself keeps it); "ok" when nothing is wrong.
std::string integrity(db::Connection& conn);

double percentile(std::vector<double> values, double p);

// This same program run again with `args`, as a separate process; waitExit gives its exit
// status (-1 when it did not exit normally).
int spawnSelf(const std::vector<std::string>& args);
int waitExit(int pid);

}  // namespace qbk::reliability
