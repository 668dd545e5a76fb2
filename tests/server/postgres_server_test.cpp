// The server on a shared PostgreSQL database: a worker whose database session was ended (the
// database server restarted, an administrator ended it) opens a new one for its next call.
// A call that is running when its session is lost fails; the restart tool tries that.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "support/postgres_scratch.h"
#include "server/demo_data.h"
#include "server/schema.h"
#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

TEST(PostgresServerTest, aSessionEndedWhileIdleIsReplacedBeforeTheNextCall) {
  ::qbk::testing::PostgresScratch scratch;
  QBK_REQUIRE_POSTGRES(scratch);
  auto admin = db::open(scratch.location());
  migrate(*admin);
  ASSERT_TRUE(fillDemoData(*admin));

  // A name of its own, so that only this server's session is ended: other tests may be
  // using the same database server at the same time.
  const std::string name = "qbk_reconnect_" + std::to_string(std::random_device{}());
  ServerOptions options;
  options.database = scratch.location() + " application_name=" + name;
  options.port = 0;
  options.workers = 1;  // every call on the same worker, so on the same session
  Server server(options);
  server.start();
  RpcClient client(server.port());
  ASSERT_TRUE(client.call("GetBanco").ok);

  for (int round = 0; round < 3; ++round) {
    admin->query(
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = ?",
        {name});
    const auto gone = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!admin->query("SELECT 1 FROM pg_stat_activity WHERE application_name = ?", {name})
                .rows.empty() &&
           std::chrono::steady_clock::now() < gone)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The session leaves the list just before its socket is closed.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto again = client.call("GetBanco");
    ASSERT_TRUE(again.ok) << again.errorMessage;
    EXPECT_FALSE(again.result.asPacket().rows.empty());
  }
  server.stop();
}

}  // namespace
}  // namespace qbk::server::testing
