// Failures that depend on the database engine get the same clear answer on both: a NUL
// character in a text, a database held busy past the wait, and two deltas over the same
// rows in opposite orders (which PostgreSQL, locking row by row, could deadlock on).
#include <gmock/gmock.h>

#include <atomic>
#include <thread>

#include "support/postgres_scratch.h"
#include "http_front_support.h"
#include "server/rpc_dispatcher.h"

namespace qbk::server::testing {
namespace {

using data::Change;
using data::Delta;
using data::FieldDef;
using data::FieldType;
using data::Variant;
using ::testing::HasSubstr;

enum class Engine { SQLite, PostgreSQL };

class EngineErrorsTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    spdlog::set_level(spdlog::level::off);
    if (GetParam() == Engine::PostgreSQL) {
      QBK_REQUIRE_POSTGRES(scratch);
      location = scratch.location();
    } else {
      location = dir.file("engine.db");
    }
    auto conn = db::open(location);
    migrate(*conn);
    fillDemoData(*conn);
    ServerOptions o = shortDeadlines(location);
    server = std::make_unique<Server>(o);
    server->start();
  }
  void TearDown() override {
    if (server) server->stop();
  }

  ::qbk::testing::TempDir dir;
  ::qbk::testing::PostgresScratch scratch;
  std::string location;
  std::unique_ptr<Server> server;
};

const std::vector<FieldDef> kPagFields = {{"CDBANCO", FieldType::String, 3},
                                          {"CDERRCNABP", FieldType::String, 10},
                                          {"DSERRCNABP", FieldType::String, 200}};

TEST_P(EngineErrorsTest, aNulCharacterIsRefusedWithTheSameClearErrorOnBothEngines) {
  RpcClient client(server->port());
  const Delta insert{kPagFields, {{Change::Op::Insert, {}, {"001", "77", std::string("a\0b", 3)}}}};
  auto r = client.call("SetErrCnabPag", {Variant(insert)});
  EXPECT_EQ(r.errorCode, data::rpc_code::kApplication);
  EXPECT_EQ(r.errorMessage,
            "O campo DSERRCNABP de ERRCNABP contém o caractere nulo (U+0000), que não pode ser "
            "gravado.");
  r = client.call("GetErrCnabPag", {std::string("00\0", 3)});
  EXPECT_EQ(r.errorCode, data::rpc_code::kInvalidParams);
  EXPECT_EQ(r.errorMessage,
            "GetErrCnabPag: o parâmetro 1 contém o caractere nulo (U+0000), que não é aceito.");
  EXPECT_TRUE(client.call("GetCodigoPag", {"001", "77"}).result.asPacket().rows.empty());
}

// Another program holds the rows (SQLite: the whole database) past the server's wait of
// five seconds: the call says the database is busy, not that something broke.
TEST_P(EngineErrorsTest, aDatabaseHeldBusyPastTheWaitSaysSo) {
  auto holder = db::open(location);
  holder->execute("BEGIN" + std::string(GetParam() == Engine::SQLite ? " IMMEDIATE" : ""));
  RpcClient client(server->port());
  const data::Packet rows = client.call("GetCodigoPag", {"001", "02"}).result.asPacket();
  ASSERT_EQ(rows.rows.size(), 1u);
  if (GetParam() == Engine::PostgreSQL)
    holder->execute("UPDATE ERRCNABP SET DSERRCNABP = DSERRCNABP WHERE CDBANCO = '001'");
  data::Row changed = rows.rows[0];
  changed[2] = std::string("Ocupado");
  const Delta update{rows.fields, {{Change::Op::Update, rows.rows[0], changed}}};
  const auto r = client.call("SetErrCnabPag", {Variant(update)});
  holder->execute("ROLLBACK");
  EXPECT_EQ(r.errorCode, data::rpc_code::kBusy);
  EXPECT_EQ(r.errorMessage, kBusyMessage);
  // Once the other program lets go, the same call goes through.
  EXPECT_TRUE(client.call("SetErrCnabPag", {Variant(update)}).ok);
}

// Two writers change different columns of the same two banks, one listing them in the
// opposite order of the other. Rows are locked in key order, so neither waits on the
// other in a circle: every delta is applied, none fails.
TEST_P(EngineErrorsTest, deltasOverTheSameRowsInOppositeOrdersDoNotDeadlock) {
  constexpr int kRounds = 20;
  auto writer = [&](const std::string& field, int size, std::vector<std::string> banks,
                    std::atomic<int>& failures, std::string& lastError) {
    RpcClient client(server->port());
    const data::Packet all = client.call("GetBanco").result.asPacket();
    const std::vector<FieldDef> fields = {{"CDBANCO", FieldType::String, 3},
                                          {field, FieldType::String, size}};
    std::vector<data::Value> current;
    for (const auto& bank : banks)
      current.push_back(cell(all, rowWhere(all, "CDBANCO", bank), field));
    for (int round = 0; round < kRounds; ++round) {
      Delta d{fields, {}};
      for (std::size_t i = 0; i < banks.size(); ++i) {
        const std::string next = field.substr(0, 2) + std::to_string(round);
        d.changes.push_back({Change::Op::Update, {banks[i], current[i]}, {banks[i], next}});
        current[i] = next;
      }
      const auto r = client.call("SetBanco", setBancoArgs(d));
      if (!r.ok) {
        ++failures;
        lastError = r.errorMessage;
      }
    }
  };
  std::atomic<int> failures{0};
  std::string errorA, errorB;
  std::thread a(writer, "NMBANCO", 30, std::vector<std::string>{"001", "237"}, std::ref(failures),
                std::ref(errorA));
  std::thread b(writer, "DSEMAILDDA", 50, std::vector<std::string>{"237", "001"},
                std::ref(failures), std::ref(errorB));
  a.join();
  b.join();
  EXPECT_EQ(failures, 0) << errorA << " / " << errorB;
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineErrorsTest,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) {
                           return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
                         });

}  // namespace
}  // namespace qbk::server::testing
