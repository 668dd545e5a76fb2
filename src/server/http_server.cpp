#include "server/http_server.h"

#include <httplib.h>
#include <spdlog/spdlog.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <thread>

#include "data/errors.h"
#include "db/connection.h"
#include "server/bank_methods.h"
#include "server/rpc_dispatcher.h"

namespace qbk::server {

namespace {

std::atomic<std::uint64_t> nextServerId{1};

// What a worker thread keeps between calls: its own database connection, opened on first
// use, and the buffer the responses are written into, so a large answer does not cost a
// fresh allocation every time. A worker serves one server only; the id guards against a
// thread of another server in the same process.
struct WorkerState {
  std::uint64_t server = 0;
  std::unique_ptr<db::Connection> connection;
  std::string response;
};

WorkerState& workerState(std::uint64_t server) {
  thread_local WorkerState state;
  if (state.server != server) {
    state.connection.reset();
    state.server = server;
  }
  return state;
}

bool isJson(const std::string& contentType) {
  const std::string_view type = std::string_view(contentType).substr(0, contentType.find(';'));
  const auto first = type.find_first_not_of(' ');
  const auto last = type.find_last_not_of(' ');
  if (first == std::string_view::npos) return false;
  const std::string_view bare = type.substr(first, last - first + 1);
  constexpr std::string_view json = "application/json";
  if (bare.size() != json.size()) return false;
  for (std::size_t i = 0; i < json.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(bare[i])) != json[i]) return false;
  return true;
}

}  // namespace

struct Server::Impl {
  explicit Impl(ServerOptions o) : options(std::move(o)) { registerBankMethods(dispatcher); }

  void configure() {
    http.set_payload_max_length(options.maxBodyBytes);
    http.set_read_timeout(options.ioTimeout);
    http.set_write_timeout(options.ioTimeout);
    http.set_keep_alive_max_count(options.keepAliveMaxRequests);
    http.set_keep_alive_timeout(options.keepAliveTimeout.count());
    // Without it every small answer waits for the peer's delayed acknowledgement.
    http.set_tcp_nodelay(true);
    const int workers = options.workers > 0 ? options.workers : 1;
    http.new_task_queue = [workers] { return new httplib::ThreadPool(workers); };

    http.Get("/health", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("ok", "text/plain");
    });
    http.Post("/rpc/" + std::string(kBankObjectName),
              [this](const httplib::Request& req, httplib::Response& res) { call(req, res); });
    http.set_exception_handler(
        [](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
          try {
            std::rethrow_exception(ep);
          } catch (const std::exception& e) {
            spdlog::error("{} {}: {}", req.method, req.path, e.what());
          } catch (...) {
            spdlog::error("{} {}: falha desconhecida", req.method, req.path);
          }
          res.status = 500;
          res.set_content("Erro interno do servidor.\n", "text/plain; charset=utf-8");
        });
  }

  void call(const httplib::Request& req, httplib::Response& res) {
    const auto started = std::chrono::steady_clock::now();
    auto elapsedMs = [&] {
      return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
          .count();
    };
    if (!isJson(req.get_header_value("Content-Type"))) {
      res.status = 415;
      res.set_content("Content-Type deve ser application/json.\n", "text/plain; charset=utf-8");
      spdlog::warn("(requisição) {:.1f} ms HTTP 415 Content-Type '{}'", elapsedMs(),
                   req.get_header_value("Content-Type"));
      return;
    }

    WorkerState& worker = workerState(id);
    worker.response.clear();
    const CallOutcome outcome = dispatcher.handle(
        req.body,
        [&]() -> db::Connection& {
          if (!worker.connection || !worker.connection->usable())
            worker.connection = db::open(options.database);
          return *worker.connection;
        },
        worker.response);

    // A lost database session (the database server restarted) fails this call; the next
    // call on this worker opens a new one instead of failing forever.
    if (worker.connection && !worker.connection->usable()) {
      spdlog::warn("conexão com o banco de dados perdida; será reaberta na próxima chamada");
      worker.connection.reset();
    }

    // Served from the worker's buffer, which outlives the handler until the next call on
    // this thread; the body is not copied into the response.
    const std::string* body = &worker.response;
    res.set_content_provider(
        body->size(), "application/json",
        [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          return sink.write(body->data() + offset, length);
        });

    const std::string& method = outcome.method.empty() ? "(requisição)" : outcome.method;
    if (outcome.errorCode == 0)
      spdlog::info("{} {:.1f} ms ok", method, elapsedMs());
    else
      spdlog::warn("{} {:.1f} ms erro {} {}", method, elapsedMs(), outcome.errorCode,
                   outcome.errorMessage);
  }

  ServerOptions options;
  const std::uint64_t id = nextServerId++;
  Dispatcher dispatcher;
  httplib::Server http;
  std::thread listener;
  std::atomic<bool> listenerDone{false};
  int boundPort = 0;
};

Server::Server(ServerOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {
  impl_->configure();
}

Server::~Server() {
  stop();
}

void Server::start() {
  Impl& s = *impl_;
  if (s.listener.joinable()) return;
  const ServerOptions& o = s.options;
  if (o.port == 0)
    s.boundPort = s.http.bind_to_any_port(o.address);
  else
    s.boundPort = s.http.bind_to_port(o.address, o.port) ? o.port : -1;
  if (s.boundPort <= 0)
    throw Error("Não foi possível escutar em " + o.address + ":" + std::to_string(o.port) + ".");
  s.listenerDone = false;
  s.listener = std::thread([&s] {
    if (!s.http.listen_after_bind()) spdlog::error("o servidor HTTP parou com erro");
    s.listenerDone = true;
  });
  // stop() only reaches a listener that is already running.
  while (!s.http.is_running() && !s.listenerDone)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

int Server::port() const {
  return impl_->boundPort;
}

const ServerOptions& Server::options() const {
  return impl_->options;
}

void Server::stop() {
  Impl& s = *impl_;
  if (!s.listener.joinable()) return;
  s.http.stop();
  s.listener.join();
}

}  // namespace qbk::server
