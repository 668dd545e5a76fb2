// The reliability tools, one per way the deployment can be hurt. Each prints its figures
// and returns the process exit status: 0 when every expectation held.
#pragma once

#include <string>

#include "db/connection.h"

namespace qbk::reliability {

struct LoadOptions {
  int clients = 4;
  int deltas = 250;  // per client
  int rows = 20;     // hot rows all clients write
  unsigned seed = 1;
};
int runLoad(db::Engine engine, const LoadOptions& options);
// One client process of runLoad: writes what it sent and what came back to `out`.
int runLoadClient(int port, int id, int deltas, int rows, unsigned seed, const std::string& out);

int runCrash(db::Engine engine, int count, int rows, unsigned seed);

int runSqliteLock(double holdSeconds);
// The other process of runSqliteLock: holds the write lock of `file` for `seconds`.
int runHoldLock(const std::string& file, double seconds);

int runPostgresRestart(int count, const std::string& mode, int clients);

int runDiskFaults(db::Engine engine, int count, unsigned seed);

}  // namespace qbk::reliability
