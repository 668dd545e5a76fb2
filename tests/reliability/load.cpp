// Several client processes write the same few rows at once, each from what it last read.
// Afterwards every row's stored value must be the end of one unbroken chain of accepted
// changes from its first value: a lost update, a half-applied delta or a refused delta
// that left something behind each break the chain.
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "server_child.h"
#include "tool_support.h"
#include "tools.h"

namespace qbk::reliability {

namespace {

constexpr const char* kInitial = "inicial";

std::string hotCode(int i) {
  return "H" + std::to_string(i);
}

struct Sent {
  char outcome = '?';  // A accepted, R refused as a conflict, E any other answer
  std::string message;
  std::vector<std::array<std::string, 3>> changes;  // code, old, new
};

std::vector<Sent> readLog(const std::string& path) {
  std::vector<Sent> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Sent s;
    std::string outcome, n;
    std::getline(fields, outcome, '\t');
    std::getline(fields, n, '\t');
    s.outcome = outcome.empty() ? '?' : outcome[0];
    for (int i = 0; i < std::stoi(n); ++i) {
      std::array<std::string, 3> c;
      for (auto& f : c) std::getline(fields, f, '\t');
      s.changes.push_back(c);
    }
    std::getline(fields, s.message);
    out.push_back(std::move(s));
  }
  return out;
}

}  // namespace

int runLoadClient(int port, int id, int deltas, int rows, unsigned seed, const std::string& out) {
  (void)rows;  // the client writes whatever hot rows it reads
  Rpc rpc(port);
  std::mt19937 random(seed * 7919u + static_cast<unsigned>(id));
  std::ofstream log(out);
  data::Packet read;
  for (int n = 0; n < deltas; ++n) {
    // Every other delta goes out on the previous read, so that many of them are stale.
    if (n % 2 == 0 || read.rows.empty()) {
      const Reply r = rpc.call("GetErrCnabRec", {kBank});
      if (!r.answered || !r.rpc.ok) {
        log << "E\t0\tleitura: " << r.transportError << r.rpc.errorMessage << "\n";
        continue;
      }
      read = r.rpc.result.asPacket();
    }
    const int code = read.fieldIndex("CDERRCNABR"), text = read.fieldIndex("DSERRCNABR");
    std::vector<const data::Row*> hot;
    for (const data::Row& row : read.rows)
      if (std::get<std::string>(row[code])[0] == 'H') hot.push_back(&row);
    std::shuffle(hot.begin(), hot.end(), random);
    const int touched = 1 + static_cast<int>(random() % 3);
    data::Delta d{read.fields, {}};
    std::ostringstream changes;
    for (int i = 0; i < touched && i < static_cast<int>(hot.size()); ++i) {
      data::Row changed = *hot[i];
      const std::string value =
          "c" + std::to_string(id) + "-" + std::to_string(n) + "-" + std::to_string(i);
      changed[text] = value;
      d.changes.push_back({data::Change::Op::Update, *hot[i], changed});
      changes << std::get<std::string>((*hot[i])[code]) << "\t"
              << std::get<std::string>((*hot[i])[text]) << "\t" << value << "\t";
    }
    const Reply r = rpc.call("SetErrCnabRec", {data::Variant(std::move(d))});
    char outcome = 'E';
    std::string message = r.transportError;
    if (r.answered && r.rpc.ok) {
      outcome = 'A';
    } else if (r.answered) {
      message = r.rpc.errorMessage;
      if (r.rpc.errorCode == data::rpc_code::kApplication &&
          message.find("leia os dados novamente") != std::string::npos)
        outcome = 'R';
    }
    log << outcome << "\t" << touched << "\t" << changes.str() << message << "\n";
  }
  return 0;
}

int runLoad(db::Engine engine, const LoadOptions& o) {
  RunDatabase database(engine);
  auto conn = database.open();
  for (int i = 0; i < o.rows; ++i)
    conn->execute("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES (?, ?, ?)",
                  {kBank, hotCode(i), kInitial});
  ServerChild server(database.location(), database.file("server.log"),
                     {"--workers", std::to_string(o.clients)});

  const auto started = std::chrono::steady_clock::now();
  std::vector<int> pids;
  for (int c = 0; c < o.clients; ++c)
    pids.push_back(spawnSelf({"load-client", "--port", std::to_string(server.port()), "--id",
                              std::to_string(c), "--deltas", std::to_string(o.deltas), "--rows",
                              std::to_string(o.rows), "--seed", std::to_string(o.seed), "--out",
                              database.file("client" + std::to_string(c) + ".log")}));
  Tally tally;
  for (int pid : pids) tally.expect(waitExit(pid) == 0, "um cliente terminou com erro");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  // Per row: the accepted changes, keyed by the value they started from.
  std::map<std::string, std::map<std::string, std::string>> next;
  std::map<std::string, int> acceptedPerRow;
  std::set<std::string> refusedValues;
  int accepted = 0, refused = 0, other = 0, sent = 0;
  std::map<std::string, int> otherMessages;
  for (int c = 0; c < o.clients; ++c) {
    for (const Sent& s : readLog(database.file("client" + std::to_string(c) + ".log"))) {
      ++sent;
      if (s.outcome == 'A') {
        ++accepted;
        for (const auto& [code, old, value] : s.changes) {
          tally.expect(next[code].emplace(old, value).second,
                       "duas alterações aceitas partiram do mesmo valor de " + code + " (\"" + old +
                           "\"): uma se perdeu");
          ++acceptedPerRow[code];
        }
      } else {
        (s.outcome == 'R' ? refused : other) += 1;
        if (s.outcome != 'R') ++otherMessages[s.message.substr(0, 120)];
        for (const auto& c : s.changes) refusedValues.insert(c[2]);
      }
    }
  }
  tally.expect(sent == o.clients * o.deltas, "respostas faltando: " + std::to_string(sent));

  int rowsChecked = 0;
  for (const auto& row : conn->query("SELECT CDERRCNABR, DSERRCNABR FROM ERRCNABR WHERE CDBANCO = "
                                     "? AND CDERRCNABR LIKE 'H%' ORDER BY CDERRCNABR",
                                     {kBank})
                             .rows) {
    const std::string code = std::get<std::string>(row[0]);
    const std::string stored = std::get<std::string>(row[1]);
    std::string value = kInitial;
    int steps = 0;
    const auto& chain = next[code];
    for (auto it = chain.find(value); it != chain.end(); it = chain.find(value)) {
      value = it->second;
      if (++steps > acceptedPerRow[code]) break;
    }
    tally.expect(steps == acceptedPerRow[code], code + ": " + std::to_string(acceptedPerRow[code]) +
                                                    " alterações aceitas, mas só " +
                                                    std::to_string(steps) + " encadeadas");
    tally.expect(value == stored,
                 code + ": gravado \"" + stored + "\", esperado \"" + value + "\"");
    tally.expect(!refusedValues.contains(stored), code + ": guarda um valor recusado");
    ++rowsChecked;
  }
  tally.expect(rowsChecked == o.rows, "linhas disputadas faltando");
  tally.expect(integrity(*conn) == "ok", "integridade: " + integrity(*conn));

  std::printf("load %s: %d clientes x %d alterações em %d linhas, %.1f s (%.0f alterações/s)\n",
              engine == db::Engine::SQLite ? "sqlite" : "postgresql", o.clients, o.deltas, o.rows,
              seconds, sent / seconds);
  std::printf("  aceitas %d, recusadas por conflito %d, outras respostas %d\n", accepted, refused,
              other);
  for (const auto& [message, n] : otherMessages) std::printf("  %dx %s\n", n, message.c_str());
  return tally.exitCode();
}

}  // namespace qbk::reliability
