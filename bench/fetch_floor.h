// The least a whole-table fetch of the banks can cost end to end: a server that reads the
// rows with the SQLite C API and writes the JSON by hand, the HTTP transfer, and a parse on
// the client that builds nothing from it. The real fetch is measured against this floor.
#pragma once

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace qbk::bench {

// Every column of every bank, in the bank packet's order; the caller finalizes it.
sqlite3_stmt* prepareBankSelect(sqlite3* db);

class FloorServer {
 public:
  explicit FloorServer(const std::string& database);
  ~FloorServer();
  FloorServer(const FloorServer&) = delete;
  FloorServer& operator=(const FloorServer&) = delete;
  int port() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class FloorClient {
 public:
  explicit FloorClient(int port);
  ~FloorClient();
  FloorClient(const FloorClient&) = delete;
  FloorClient& operator=(const FloorClient&) = delete;
  // One fetch: request, reply, parse. Returns the number of rows the reply holds.
  std::size_t fetch();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qbk::bench
