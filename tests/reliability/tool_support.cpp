#include "tool_support.h"

#include <httplib.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "server/demo_data.h"
#include "server/schema.h"

namespace qbk::reliability {

db::Engine parseEngine(const std::string& name) {
  if (name == "sqlite") return db::Engine::SQLite;
  if (name == "postgresql") return db::Engine::PostgreSQL;
  throw std::invalid_argument("motor desconhecido: " + name + " (sqlite ou postgresql)");
}

RunDatabase::RunDatabase(db::Engine engine) : db_(engine) {
  if (!db_.available()) throw NoPostgres();
  auto conn = db_.open();
  server::migrate(*conn);
  server::fillDemoData(*conn);
}

Rpc::Rpc(int port, std::chrono::seconds timeout)
    : http_(std::make_unique<httplib::Client>("127.0.0.1", port)) {
  http_->set_keep_alive(true);
  http_->set_tcp_nodelay(true);
  http_->set_read_timeout(timeout);
  http_->set_connection_timeout(std::chrono::seconds(5));
}

Rpc::~Rpc() = default;

Reply Rpc::call(const std::string& method, data::VariantArray params) {
  data::json::RpcRequest request;
  request.id = data::Variant(nextId_++);
  request.method = method;
  request.params = std::move(params);
  Reply reply;
  const auto started = std::chrono::steady_clock::now();
  auto res =
      http_->Post("/rpc/Qbk51200.rdmBanco", data::json::encodeRequest(request), "application/json");
  reply.ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  if (!res) {
    reply.transportError = httplib::to_string(res.error());
    return reply;
  }
  if (res->status != 200) {
    reply.transportError = "HTTP " + std::to_string(res->status);
    return reply;
  }
  reply.answered = true;
  reply.rpc = data::json::decodeResponse(res->body);
  return reply;
}

data::Delta insertCodes(const data::Packet& like, const std::string& prefix, int count,
                        const std::string& text) {
  data::Delta d{like.fields, {}};
  for (int i = 0; i < count; ++i)
    d.changes.push_back({data::Change::Op::Insert, {}, {kBank, prefix + std::to_string(i), text}});
  return d;
}

int countCodes(db::Connection& conn, const std::string& prefix) {
  const auto r = conn.query("SELECT COUNT(*) FROM ERRCNABR WHERE CDBANCO = ? AND CDERRCNABR LIKE ?",
                            {std::string(kBank), prefix + "%"});
  return static_cast<int>(std::get<double>(r.rows.at(0).at(0)));
}

void Tally::expect(bool ok, const std::string& what) {
  if (ok) return;
  ++failures_;
  if (failures_ <= 20) std::printf("FALHA: %s\n", what.c_str());
}

int Tally::exitCode() const {
  std::printf("%s\n", failures_ == 0 ? "resultado: ok" : "resultado: FALHOU");
  return failures_ == 0 ? 0 : 1;
}

std::string integrity(db::Connection& conn) {
  if (conn.dialect().engine() == db::Engine::SQLite) {
    std::string out;
    for (const auto& row : conn.query("PRAGMA integrity_check").rows)
      out += std::get<std::string>(row.at(0));
    const auto fk = conn.query("PRAGMA foreign_key_check");
    if (!fk.rows.empty()) out += " (" + std::to_string(fk.rows.size()) + " referências quebradas)";
    return out;
  }
  // Every table readable, and no code of a bank that does not exist.
  conn.query("SELECT COUNT(*) FROM BANCO");
  const auto orphans = conn.query(
      "SELECT COUNT(*) FROM ERRCNABR E WHERE NOT EXISTS (SELECT 1 FROM BANCO B WHERE B.CDBANCO = "
      "E.CDBANCO)");
  return std::get<double>(orphans.rows.at(0).at(0)) == 0 ? "ok" : "códigos sem banco";
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto i = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(i, values.size() - 1)];
}

int spawnSelf(const std::vector<std::string>& args) {
  std::vector<std::string> all{"/proc/self/exe"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("não foi possível iniciar outro processo");
  return pid;
}

int waitExit(int pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qbk::reliability
