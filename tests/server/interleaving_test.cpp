// Two writers on one row, each in its own transaction: every order of their begin, apply and
// commit steps (20 in all), on both engines. Whatever the order, no update is lost: both
// edits of different columns survive, and of two edits of the same column one is stored and
// the other is refused with a conflict that says to read again. Two deltas over the same
// rows in opposite orders must neither deadlock nor lose an update.
#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "server/app_error.h"
#include "server/delta_resolver.h"
#include "server/packet_layouts.h"
#include "server_fixture.h"

namespace qbk::server::testing {
namespace {

using data::Change;
using data::Delta;
using data::Packet;
using data::Row;
using data::Value;
using ::testing::HasSubstr;

// A delta's writer on its own connection and thread. Steps run in the order they are given;
// a step blocked on the other writer's lock keeps the thread while the test goes on.
class Writer {
 public:
  enum class Outcome { Pending, Stored, Refused, Failed };

  Writer(const std::string& location, const PacketLayout& layout, ResolvePolicy policy)
      : conn_(db::open(location)), layout_(layout), policy_(std::move(policy)) {
    thread_ = std::thread([this] { run(); });
  }
  ~Writer() {
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void begin() {
    post([this] { tx_.emplace(*conn_, db::Transaction::Mode::Write); });
  }
  void apply(const Delta& delta) {
    post([this, delta] {
      try {
        writeDelta(*conn_, layout_, delta, policy_);
      } catch (const ApplicationError& e) {
        refuse(Outcome::Refused, e.what());
      } catch (const std::exception& e) {
        refuse(Outcome::Failed, e.what());
      }
    });
  }
  void commit() {
    post([this] {
      if (outcome_ != Outcome::Pending) return;
      try {
        tx_->commit();
        outcome_ = Outcome::Stored;
      } catch (const std::exception& e) {
        refuse(Outcome::Failed, e.what());
      }
      tx_.reset();
    });
  }

  // Waits up to `patience` for every step given so far; false when one is still blocked.
  bool settle(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, patience, [this] { return steps_.empty() && !busy_; });
  }
  Outcome outcome() const { return outcome_; }
  const std::string& message() const { return message_; }

 private:
  void post(std::function<void()> step) {
    {
      std::lock_guard lock(mutex_);
      steps_.push_back(std::move(step));
    }
    wake_.notify_all();
  }
  void refuse(Outcome outcome, const std::string& message) {
    outcome_ = outcome;
    message_ = message;
    tx_.reset();  // rolls back
  }
  void run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return quit_ || !steps_.empty(); });
      if (steps_.empty()) return;
      auto step = std::move(steps_.front());
      steps_.pop_front();
      busy_ = true;
      lock.unlock();
      try {
        step();
      } catch (const std::exception& e) {
        refuse(Outcome::Failed, e.what());
      }
      lock.lock();
      busy_ = false;
      idle_.notify_all();
    }
  }

  std::unique_ptr<db::Connection> conn_;
  const PacketLayout& layout_;
  ResolvePolicy policy_;
  std::optional<db::Transaction> tx_;
  Outcome outcome_ = Outcome::Pending;
  std::string message_;

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<std::function<void()>> steps_;
  bool busy_ = false, quit_ = false;
  std::thread thread_;
};

// Every way to interleave two writers' begin, apply and commit, keeping each one's own
// order: "AABBAB" means A begins, A applies, B begins, ...
std::vector<std::string> interleavings() {
  std::vector<std::string> out;
  std::string order = "AAABBB";
  do out.push_back(order);
  while (std::next_permutation(order.begin(), order.end()));
  return out;
}

class InterleavingTest : public ServerTest {
 protected:
  // Runs the two deltas in `order`, then waits for both writers to finish.
  void run(const std::string& order, const PacketLayout& layout, const ResolvePolicy& policy,
           const Delta& a, const Delta& b) {
    writerA.emplace(dbPath, layout, policy);
    writerB.emplace(dbPath, layout, policy);
    int stepA = 0, stepB = 0;
    for (char who : order) {
      Writer& w = who == 'A' ? *writerA : *writerB;
      int& step = who == 'A' ? stepA : stepB;
      const Delta& d = who == 'A' ? a : b;
      if (step == 0) w.begin();
      if (step == 1) w.apply(d);
      if (step == 2) w.commit();
      ++step;
      // A step that does not finish soon waits for the other writer's lock; the order goes
      // on with the other writer's next step.
      w.settle(std::chrono::milliseconds(40));
    }
    ASSERT_TRUE(writerA->settle(std::chrono::seconds(20))) << order << ": A never finished";
    ASSERT_TRUE(writerB->settle(std::chrono::seconds(20))) << order << ": B never finished";
  }
  void reset() {
    writerA.reset();
    writerB.reset();
  }

  std::optional<Writer> writerA, writerB;
};

using Outcome = Writer::Outcome;

TEST_P(InterleavingTest, editsOfOneBankInEveryOrderLoseNothing) {
  const Packet banks = fetch("GetBanco");
  const Row original = rowWhere(banks, "CDBANCO", "104");
  int conflicts = 0;
  for (const std::string& order : interleavings()) {
    SCOPED_TRACE(order);
    exec("UPDATE BANCO SET NMBANCO = 'CAIXA', DSARQCHEQUE = NULL WHERE CDBANCO = '104'");
    const Row read = with(banks, with(banks, original, "NMBANCO", "CAIXA"), "DSARQCHEQUE", Value());

    // Different columns of the same row: both survive.
    run(order, layouts::banco(), {}, updateDelta(banks, read, with(banks, read, "NMBANCO", "A")),
        updateDelta(banks, read, with(banks, read, "DSARQCHEQUE", "/b.qr2")));
    EXPECT_EQ(writerA->outcome(), Outcome::Stored) << writerA->message();
    EXPECT_EQ(writerB->outcome(), Outcome::Stored) << writerB->message();
    EXPECT_EQ(conn->query("SELECT NMBANCO, DSARQCHEQUE FROM BANCO WHERE CDBANCO = '104'").rows,
              (std::vector<Row>{{"A", "/b.qr2"}}));
    reset();

    // The same column: one is stored, the other refused, and what is stored is the one that
    // was accepted.
    exec("UPDATE BANCO SET NMBANCO = 'CAIXA', DSARQCHEQUE = NULL WHERE CDBANCO = '104'");
    run(order, layouts::banco(), {}, updateDelta(banks, read, with(banks, read, "NMBANCO", "A")),
        updateDelta(banks, read, with(banks, read, "NMBANCO", "B")));
    const bool aStored = writerA->outcome() == Outcome::Stored;
    Writer& loser = aStored ? *writerB : *writerA;
    EXPECT_NE(writerA->outcome() == Outcome::Stored, writerB->outcome() == Outcome::Stored);
    EXPECT_EQ(loser.outcome(), Outcome::Refused) << loser.message();
    EXPECT_THAT(loser.message(), HasSubstr("Conflito em BANCO (CDBANCO=104)"));
    EXPECT_THAT(loser.message(), HasSubstr("leia os dados novamente"));
    EXPECT_EQ(conn->query("SELECT NMBANCO FROM BANCO WHERE CDBANCO = '104'").rows[0][0],
              Value(aStored ? "A" : "B"));
    conflicts += loser.outcome() == Outcome::Refused;
    reset();
  }
  EXPECT_EQ(conflicts, 20);
}

// The settings a company does not have yet are shown as an empty row; two users filling
// them at once must meet the same rules as two users editing an existing row.
TEST_P(InterleavingTest, twoFirstEditsOfACompanysSettingsInEveryOrderLoseNothing) {
  ResolvePolicy policy;
  policy.missingRowIsNulls = true;
  const Packet p = fetch("GetEmprBanc", {"001"});
  const Row empty = rowWhere(p, "CDEMPRESA", "03");
  const std::string stored =
      "SELECT CDCARTCOBR, IDLAYOUTCNAB FROM EMPRBANC WHERE CDEMPRESA = '03' AND CDBANCO = '001'";
  for (const std::string& order : interleavings()) {
    SCOPED_TRACE(order);
    exec("DELETE FROM EMPRBANC WHERE CDEMPRESA = '03'");
    run(order, layouts::emprBanc(), policy,
        updateDelta(p, empty, with(p, empty, "CDCARTCOBR", "109")),
        updateDelta(p, empty, with(p, empty, "IDLAYOUTCNAB", "240")));
    EXPECT_EQ(writerA->outcome(), Outcome::Stored) << writerA->message();
    EXPECT_EQ(writerB->outcome(), Outcome::Stored) << writerB->message();
    EXPECT_EQ(conn->query(stored).rows, (std::vector<Row>{{"109", "240"}}));
    reset();

    exec("DELETE FROM EMPRBANC WHERE CDEMPRESA = '03'");
    run(order, layouts::emprBanc(), policy,
        updateDelta(p, empty, with(p, empty, "CDCARTCOBR", "109")),
        updateDelta(p, empty, with(p, empty, "CDCARTCOBR", "110")));
    const bool aStored = writerA->outcome() == Outcome::Stored;
    Writer& loser = aStored ? *writerB : *writerA;
    EXPECT_EQ(loser.outcome(), Outcome::Refused) << loser.message();
    EXPECT_EQ(loser.message(),
              "Conflito em EMPRBANC (CDEMPRESA=03, CDBANCO=001): o registro foi alterado por "
              "outro usuário desde a leitura (campos alterados: CDCARTCOBR). Nada foi gravado; "
              "leia os dados novamente.");
    EXPECT_EQ(conn->query(stored).rows, (std::vector<Row>{{aStored ? "109" : "110", Value()}}));
    reset();
  }
}

// Until the resolver locks a delta's rows in key order, PostgreSQL may find two such deltas
// deadlocked and refuse one of them with a database error. While this is false, that case
// is reported and not failed; it becomes true with the change that orders the locks.
constexpr bool kRowsAreLockedInKeyOrder = true;

TEST_P(InterleavingTest, deltasOverTheSameRowsInOppositeOrdersNeitherDeadlockNorLoseAnUpdate) {
  const Packet banks = fetch("GetBanco");
  const Row bb = rowWhere(banks, "CDBANCO", "001");
  const Row caixa = rowWhere(banks, "CDBANCO", "104");
  // A renames 001 then 104; B sets the cheque models of 104 then 001.
  Delta a = updateDelta(banks, bb, with(banks, bb, "NMBANCO", "A1"));
  a.changes.push_back({Change::Op::Update, caixa, with(banks, caixa, "NMBANCO", "A2")});
  Delta b = updateDelta(banks, caixa, with(banks, caixa, "DSARQCHEQUE", "/b1.qr2"));
  b.changes.push_back({Change::Op::Update, bb, with(banks, bb, "DSARQCHEQUE", "/b2.qr2")});
  const std::string restore = "UPDATE BANCO SET NMBANCO = ?, DSARQCHEQUE = ? WHERE CDBANCO = ?";
  int deadlocks = 0;
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    exec(restore, {cell(banks, bb, "NMBANCO"), cell(banks, bb, "DSARQCHEQUE"), "001"});
    exec(restore, {cell(banks, caixa, "NMBANCO"), cell(banks, caixa, "DSARQCHEQUE"), "104"});
    {
      // Both rows held by a third transaction until both writers wait for it, so that they
      // set off together each time.
      auto holder = db::open(dbPath);
      db::Transaction hold(*holder, db::Transaction::Mode::Write);
      if (engine() == db::Engine::PostgreSQL)
        holder->query("SELECT 1 FROM BANCO WHERE CDBANCO IN ('001', '104') FOR UPDATE");
      writerA.emplace(dbPath, layouts::banco(), ResolvePolicy{});
      writerB.emplace(dbPath, layouts::banco(), ResolvePolicy{});
      for (Writer* w : {&*writerA, &*writerB}) {
        w->begin();
        w->apply(w == &*writerA ? a : b);
        w->commit();
      }
      EXPECT_FALSE(writerA->settle(std::chrono::milliseconds(100))) << "A did not wait";
      EXPECT_FALSE(writerB->settle(std::chrono::milliseconds(100))) << "B did not wait";
      hold.commit();
    }
    ASSERT_TRUE(writerA->settle(std::chrono::seconds(20)));
    ASSERT_TRUE(writerB->settle(std::chrono::seconds(20)));
    const bool deadlocked =
        writerA->outcome() == Outcome::Failed || writerB->outcome() == Outcome::Failed;
    if (deadlocked && !kRowsAreLockedInKeyOrder) {
      const Writer& failed = writerA->outcome() == Outcome::Failed ? *writerA : *writerB;
      EXPECT_THAT(failed.message(), HasSubstr("deadlock"));
      EXPECT_NE(writerA->outcome(), writerB->outcome()) << "the other one is stored";
      ++deadlocks;
      reset();
      continue;
    }
    EXPECT_EQ(writerA->outcome(), Outcome::Stored) << writerA->message();
    EXPECT_EQ(writerB->outcome(), Outcome::Stored) << writerB->message();
    EXPECT_EQ(conn->query("SELECT NMBANCO, DSARQCHEQUE FROM BANCO WHERE CDBANCO IN ('001', '104') "
                          "ORDER BY CDBANCO")
                  .rows,
              (std::vector<Row>{{"A1", "/b2.qr2"}, {"A2", "/b1.qr2"}}));
    reset();
  }
  if (deadlocks > 0)
    std::printf("[ KNOWN    ] %d of 5 rounds deadlocked: rows are not yet locked in key order\n",
                deadlocks);
}

INSTANTIATE_TEST_SUITE_P(Engines, InterleavingTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server::testing
