#include "fetch_floor.h"

#include <httplib.h>
#include <simdjson.h>
#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace qbk::bench {

namespace {

constexpr const char* kPath = "/banks";

void appendText(std::string& out, const unsigned char* s, int n) {
  out += '"';
  bool plain = true;
  for (int i = 0; i < n; ++i) plain &= s[i] >= 0x20 && s[i] != '"' && s[i] != '\\';
  if (plain) {
    out.append(reinterpret_cast<const char*>(s), static_cast<std::size_t>(n));
  } else {
    for (int i = 0; i < n; ++i) {
      if (s[i] == '"' || s[i] == '\\') {
        out += '\\';
        out += static_cast<char>(s[i]);
      } else if (s[i] < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", s[i]);
        out += buf;
      } else {
        out += static_cast<char>(s[i]);
      }
    }
  }
  out += '"';
}

}  // namespace

sqlite3_stmt* prepareBankSelect(sqlite3* db) {
  // The columns of the bank packet, in its order.
  static const char* sql =
      "SELECT CDPICTAGEN, CDBANCO, NMBANCO, CDPICTCONT, CDBANCCNAB, QTDIAPRORCNT, DSARQBOLCOMP, "
      "DSARQBOLPREI, DSARQCHEQUE, DSARQBORDREC, DSARQBORDPAG, DSARQBORDCHQ, CDBANCOCONV, "
      "DSDIRIMPARQDDA, DSEMAILDDA, DSARQLOGMAR FROM BANCO ORDER BY CDBANCO";
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
  return st;
}

namespace {

// The bank packet as the real server shapes it, written by hand.
void writeBanks(sqlite3* db, std::string& out) {
  sqlite3_stmt* st = prepareBankSelect(db);
  const int columns = sqlite3_column_count(st);
  out = R"({"jsonrpc":"2.0","id":1,"result":{"fields":[)";
  for (int i = 0; i < columns; ++i) {
    if (i) out += ',';
    out += R"({"name":")";
    out += sqlite3_column_name(st, i);
    out += i == 5 ? R"(","type":"float"})" : R"(","type":"string","size":255})";
  }
  out += R"(],"rows":[)";
  bool firstRow = true;
  while (sqlite3_step(st) == SQLITE_ROW) {
    out += firstRow ? "[" : ",[";
    firstRow = false;
    for (int i = 0; i < columns; ++i) {
      if (i) out += ',';
      switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
          out += "null";
          break;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
          char buf[32];
          auto [end, ec] = std::to_chars(buf, buf + sizeof buf, sqlite3_column_double(st, i));
          out.append(buf, end);
          break;
        }
        default: {
          const unsigned char* text = sqlite3_column_text(st, i);
          appendText(out, text, sqlite3_column_bytes(st, i));
        }
      }
    }
    out += ']';
  }
  out += "]}}";
  sqlite3_finalize(st);
}

}  // namespace

struct FloorServer::Impl {
  sqlite3* db = nullptr;
  std::mutex lock;
  std::size_t lastSize = 0;  // the reply is written into room reserved ahead
  httplib::Server http;
  std::thread listener;
  int port = 0;
};

FloorServer::FloorServer(const std::string& database) : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  if (sqlite3_open_v2(database.c_str(), &s.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open " + database);
  s.http.set_tcp_nodelay(true);
  s.http.set_keep_alive_max_count(1000000);
  s.http.Post(kPath, [&s](const httplib::Request&, httplib::Response& res) {
    std::string json;
    {
      std::lock_guard guard(s.lock);
      json.reserve(s.lastSize);
      writeBanks(s.db, json);
      s.lastSize = json.size();
    }
    res.set_content(std::move(json), "application/json");
  });
  s.port = s.http.bind_to_any_port("127.0.0.1");
  if (s.port <= 0) throw std::runtime_error("floor server: no port");
  s.listener = std::thread([&s] { s.http.listen_after_bind(); });
  while (!s.http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FloorServer::~FloorServer() {
  impl_->http.stop();
  if (impl_->listener.joinable()) impl_->listener.join();
  sqlite3_close(impl_->db);
}

int FloorServer::port() const {
  return impl_->port;
}

struct FloorClient::Impl {
  explicit Impl(int port) : http("127.0.0.1", port) {}
  httplib::Client http;
  simdjson::dom::parser parser;
};

FloorClient::FloorClient(int port) : impl_(std::make_unique<Impl>(port)) {
  impl_->http.set_keep_alive(true);
  impl_->http.set_tcp_nodelay(true);
}

FloorClient::~FloorClient() = default;

std::size_t FloorClient::fetch() {
  auto res = impl_->http.Post(kPath, "{}", "application/json");
  if (!res || res->status != 200) throw std::runtime_error("floor server did not answer");
  simdjson::dom::element root = impl_->parser.parse(res->body);
  return simdjson::dom::array(root["result"]["rows"]).size();
}

}  // namespace qbk::bench
