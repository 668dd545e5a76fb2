#include "server/http_server.h"

#include <arpa/inet.h>
#include <spdlog/spdlog.h>

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <thread>

#include "data/errors.h"
#include "db/connection.h"
#include "server/bank_methods.h"
#include "server/request_checks.h"
#include "server/rpc_dispatcher.h"

namespace qbk::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace ssl = asio::ssl;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;
using beast::error_code;

bool isLoopbackAddress(const std::string& address) {
  if (address == "localhost") return true;
  in_addr v4;
  if (inet_pton(AF_INET, address.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6;
  return inet_pton(AF_INET6, address.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

namespace {

std::atomic<std::uint64_t> nextServerId{1};

// A refused request is answered, then its connection drained for at most this long before
// it is closed: closing with unread bytes would reset the connection and could destroy
// the answer before the client reads it.
constexpr std::chrono::milliseconds kLingerTime{2000};

// Bodies up to this size (nearly every call) are always taken; larger ones count against
// the limit of large bodies held at once.
constexpr std::uint64_t kSmallBody = 64u << 10;

// What a worker thread keeps between calls: its own database connection, opened on first
// use. A worker serves one server only; the id guards against a thread of another server
// in the same process.
struct WorkerState {
  std::uint64_t server = 0;
  std::unique_ptr<db::Connection> connection;
};

WorkerState& workerState(std::uint64_t server) {
  thread_local WorkerState state;
  if (state.server != server) {
    state.connection.reset();
    state.server = server;
  }
  return state;
}

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The texts of the refusals the HTTP front answers itself; no method has run for any.
struct Refusal {
  http::status status;
  const char* text;
};

const Refusal kTooLarge{http::status::payload_too_large,
                        "O corpo da requisição excede o limite do servidor."};
const Refusal kHeadersTooLarge{http::status::request_header_fields_too_large,
                               "Os cabeçalhos da requisição excedem o limite do servidor."};
const Refusal kMalformed{http::status::bad_request, "Requisição HTTP malformada."};
const Refusal kWrongHost{http::status::misdirected_request,
                         "O cabeçalho Host não nomeia este servidor."};
const Refusal kFromWebPage{http::status::forbidden,
                           "Requisições vindas de páginas web não são aceitas."};
const Refusal kNoToken{http::status::unauthorized,
                       "Token de acesso ausente ou inválido para este servidor."};
const Refusal kNotFound{http::status::not_found, "Endereço desconhecido neste servidor."};
const Refusal kWrongMethod{http::status::method_not_allowed,
                           "Método HTTP não aceito neste endereço."};
const Refusal kNotJson{http::status::unsupported_media_type,
                       "Content-Type deve ser application/json."};
const Refusal kBusy{http::status::service_unavailable,
                    "O servidor está ocupado; tente novamente em instantes."};
const Refusal kStopping{http::status::service_unavailable, "O servidor está sendo encerrado."};

}  // namespace

// ---- the server's shared state -----------------------------------------------------------

class SessionBase;

struct Server::Impl {
  explicit Impl(ServerOptions o) : options(std::move(o)), workers(workerCount()) {
    registerBankMethods(dispatcher);
  }

  std::size_t workerCount() const {
    return static_cast<std::size_t>(options.workers > 0 ? options.workers : 1);
  }

  void accept();
  template <class Stream>
  void adopt(Stream stream);
  void beginStop();
  void closeEverything();

  // The call itself, on a worker thread.
  std::vector<CallOutcome> run(const std::string& body, std::string& response) const {
    WorkerState& worker = workerState(id);
    std::vector<CallOutcome> outcomes = dispatcher.handle(
        body,
        [&]() -> db::Connection& {
          if (!worker.connection || !worker.connection->usable())
            worker.connection = db::open(options.database);
          return *worker.connection;
        },
        response);
    // A lost database session (the database server restarted) fails this call; the next
    // call on this worker opens a new one instead of failing forever.
    if (worker.connection && !worker.connection->usable()) {
      spdlog::warn("conexão com o banco de dados perdida; será reaberta na próxima chamada");
      worker.connection.reset();
    }
    return outcomes;
  }

  const ServerOptions options;
  const std::uint64_t id = nextServerId++;
  Dispatcher dispatcher;

  // Counted from any thread, waited on by stop(). Declared before the I/O context, whose
  // end destroys the sessions still queued in it.
  std::mutex countMutex;
  std::condition_variable countChanged;
  int open = 0;

  asio::io_context io{1};
  // Between the accepts and the answers there may be no operation pending at all (every
  // connection in a call, the acceptor closed by a stop): the I/O thread must still wait
  // for the answers the workers post.
  asio::executor_work_guard<asio::io_context::executor_type> keepRunning{io.get_executor()};
  std::optional<tcp::acceptor> acceptor;
  std::optional<ssl::context> tls;
  asio::thread_pool workers;
  std::thread ioThread;
  int boundPort = 0;
  bool started = false;
  bool stopped = false;

  // Touched on the I/O thread only.
  std::list<std::weak_ptr<SessionBase>> sessions;
  bool stopping = false;
  // Requests with a large body being read or waiting for their answer, counted against
  // options.maxLargeBodies.
  std::atomic<int> largeBodies{0};
};

// ---- one connection ----------------------------------------------------------------------

class SessionBase : public std::enable_shared_from_this<SessionBase> {
 public:
  explicit SessionBase(Server::Impl& server) : server_(server) {
    std::lock_guard lock(server_.countMutex);
    ++server_.open;
  }
  virtual ~SessionBase() {
    releaseLargeBody();
    std::lock_guard lock(server_.countMutex);
    --server_.open;
    server_.countChanged.notify_all();
  }
  // A graceful stop: a connection waiting for or reading a request is closed now; one in
  // a call answers first and closes after.
  void stopWhenIdle() {
    if (!inCall_) close();
  }
  virtual void close() = 0;

 protected:
  // Memory stays bounded by the number of large bodies held at once, not by the number of
  // connections: past the limit a large body is refused before it is read.
  bool holdLargeBody() {
    if (++server_.largeBodies > server_.options.maxLargeBodies) {
      --server_.largeBodies;
      return false;
    }
    holdsLargeBody_ = true;
    return true;
  }
  void releaseLargeBody() {
    if (holdsLargeBody_) --server_.largeBodies;
    holdsLargeBody_ = false;
  }

  Server::Impl& server_;
  bool inCall_ = false;  // between the whole request and the end of its answer
  bool holdsLargeBody_ = false;
};

template <class Stream>
class Session final : public SessionBase {
 public:
  Session(Server::Impl& server, Stream stream)
      : SessionBase(server), stream_(std::move(stream)), buffer_(kBufferLimit(server)) {}

  void start() {
    if constexpr (kTls) {
      lowest().expires_after(server_.options.requestTimeout);
      stream_.async_handshake(ssl::stream_base::server, [self = self()](error_code ec) {
        if (ec) return self->close();
        self->waitForRequest();
      });
    } else {
      waitForRequest();
    }
  }

  void close() override {
    releaseLargeBody();
    error_code ignored;
    lowest().socket().shutdown(tcp::socket::shutdown_both, ignored);
    lowest().close();
  }

 private:
  static constexpr bool kTls = !std::is_same_v<Stream, beast::tcp_stream>;

  static std::size_t kBufferLimit(const Server::Impl& server) {
    return server.options.maxHeaderBytes + (64u << 10);
  }

  std::shared_ptr<Session> self() {
    return std::static_pointer_cast<Session>(this->shared_from_this());
  }
  beast::tcp_stream& lowest() { return beast::get_lowest_layer(stream_); }

  // The keep-alive wait: nothing held but the socket until the first byte of a request.
  void waitForRequest() {
    if (server_.stopping) return close();
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(server_.options.maxHeaderBytes));
    parser_->body_limit(server_.options.maxBodyBytes);
    if (buffer_.size() > 0) return startRequest();  // pipelined: it has already begun
    lowest().expires_after(server_.options.keepAliveTimeout);
    stream_.async_read_some(buffer_.prepare(4096), [self = self()](error_code ec, std::size_t n) {
      if (ec) return self->close();
      self->buffer_.commit(n);
      self->startRequest();
    });
  }

  // One deadline from the first byte to the last: resent bytes do not move it.
  void startRequest() {
    started_ = Clock::now();
    lowest().expires_after(server_.options.requestTimeout);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = self()](error_code ec, std::size_t) { self->onHeader(ec); });
  }

  void onHeader(error_code ec) {
    if (ec) return readFailed(ec);
    const auto& req = parser_->get();
    const ServerOptions& o = server_.options;
    version_ = req.version();
    keepAlive_ = req.keep_alive();

    std::size_t count = 0;
    for (auto it = req.begin(); it != req.end(); ++it) ++count;
    if (count > o.maxHeaderCount) return refuse(kHeadersTooLarge);
    // Each of these makes the request mean something other than what it says.
    if (req.count(http::field::host) != 1 || !hostAllowed(req[http::field::host], o.allowedHosts))
      return refuse(kWrongHost);
    if (req.count(http::field::origin) > 0) return refuse(kFromWebPage);
    if (req.count(http::field::content_length) > 1 ||
        (req.count(http::field::content_length) > 0 &&
         req.count(http::field::transfer_encoding) > 0) ||
        req.count(http::field::authorization) > 1 || req.count(http::field::content_type) > 1)
      return refuse(kMalformed);

    const std::string_view target = req.target();
    if (target == "/health") {
      if (req.method() != http::verb::get) return refuse(kWrongMethod);
      if (server_.stopping) return refuse(kStopping);
      return readBody([](Session& s) { s.answer(http::status::ok, "ok", "text/plain"); });
    }
    if (target != rpcPath()) return refuse(kNotFound);
    if (req.method() != http::verb::post) return refuse(kWrongMethod);
    // The secret is checked before the body is even read: without it nothing reaches the
    // database, and nothing larger than the headers is taken in.
    if (!o.token.empty() && !bearerMatches(req[http::field::authorization], o.token))
      return refuse(kNoToken);
    if (!isJsonContentType(req[http::field::content_type])) return refuse(kNotJson);
    const auto length = parser_->content_length();
    if ((!length || *length > kSmallBody) && !holdLargeBody()) return refuse(kBusy);
    readBody([](Session& s) { s.call(); });
  }

  static const std::string& rpcPath() {
    static const std::string path = "/rpc/" + std::string(kBankObjectName);
    return path;
  }

  template <class Then>
  void readBody(Then then) {
    const auto& req = parser_->get();
    if (beast::iequals(req[http::field::expect], "100-continue")) {
      auto cont = std::make_shared<http::response<http::empty_body>>(http::status::continue_, 11);
      http::async_write(stream_, *cont, [self = self(), cont, then](error_code ec, std::size_t) {
        if (ec) return self->close();
        self->readWholeBody(then);
      });
      return;
    }
    readWholeBody(then);
  }

  template <class Then>
  void readWholeBody(Then then) {
    http::async_read(stream_, buffer_, *parser_, [self = self(), then](error_code ec, std::size_t) {
      if (ec) return self->readFailed(ec);
      then(*self);
    });
  }

  void readFailed(error_code ec) {
    if (ec == http::error::body_limit) return refuse(kTooLarge);
    if (ec == http::error::header_limit) return refuse(kHeadersTooLarge);
    if (ec == beast::error::timeout) {
      spdlog::warn("(conexão) requisição incompleta após {} ms; conexão fechada",
                   server_.options.requestTimeout.count());
      return close();
    }
    // The peer left (or the stop closed the connection) before a whole request arrived.
    if (ec == http::error::end_of_stream || ec == asio::error::eof ||
        ec == asio::error::operation_aborted || ec == asio::error::connection_reset ||
        ec == asio::error::bad_descriptor || ec == ssl::error::stream_truncated)
      return close();
    refuse(kMalformed);
  }

  // ---- the call -------------------------------------------------------------------------

  void call() {
    inCall_ = true;
    request_ = parser_->release();
    response_.clear();
    asio::post(server_.workers, [self = self()] {
      self->outcomes_ = self->server_.run(self->request_.body(), self->response_);
      asio::post(self->server_.io, [self] { self->answerCall(); });
    });
  }

  void answerCall() {
    for (const CallOutcome& o : outcomes_) {
      const std::string& method = o.method.empty() ? "(requisição)" : o.method;
      const char* kind = o.notification ? " (notificação)" : "";
      if (o.errorCode == 0)
        spdlog::info("{}{} {:.1f} ms ok", method, kind, millisecondsSince(started_));
      else
        spdlog::warn("{}{} {:.1f} ms erro {} {}", method, kind, millisecondsSince(started_),
                     o.errorCode, o.errorMessage);
    }
    // Nothing to answer: every call of the body was a notification.
    if (response_.empty()) return answer(http::status::no_content, std::string(), "");
    answer(http::status::ok, std::move(response_), "application/json");
  }

  // ---- answers --------------------------------------------------------------------------

  void answer(http::status status, std::string body, const char* type) {
    inCall_ = true;
    auto res = std::make_shared<http::response<http::string_body>>(status, version());
    res->set(http::field::server, "qbk-server");
    if (*type) res->set(http::field::content_type, type);
    res->body() = std::move(body);
    ++served_;
    const bool keepAlive =
        !server_.stopping && keepAlive_ && served_ < server_.options.keepAliveMaxRequests;
    res->keep_alive(keepAlive);
    res->prepare_payload();
    lowest().expires_after(server_.options.writeTimeout);
    http::async_write(stream_, *res, [self = self(), res, keepAlive](error_code ec, std::size_t) {
      self->inCall_ = false;
      // The buffer goes back for the next answer on this connection.
      if (res->body().capacity() > self->response_.capacity())
        self->response_ = std::move(res->body());
      if (ec) return self->close();
      if (!keepAlive) return self->close();
      self->waitForRequest();
    });
  }

  unsigned version() const { return version_; }

  void refuse(const Refusal& r) {
    spdlog::warn("(requisição) {:.1f} ms HTTP {} {}", millisecondsSince(started_),
                 static_cast<int>(r.status), r.text);
    std::string body = std::string(r.text) + "\n";
    auto res = std::make_shared<http::response<http::string_body>>(r.status, version());
    if (r.status == http::status::unauthorized) res->set(http::field::www_authenticate, "Bearer");
    answerRefusal(res, std::move(body));
  }

  void answerRefusal(const std::shared_ptr<http::response<http::string_body>>& res,
                     std::string body) {
    inCall_ = true;
    res->set(http::field::server, "qbk-server");
    res->set(http::field::content_type, "text/plain; charset=utf-8");
    res->body() = std::move(body);
    res->keep_alive(false);
    res->prepare_payload();
    lowest().expires_after(server_.options.writeTimeout);
    http::async_write(stream_, *res, [self = self(), res](error_code ec, std::size_t) {
      self->inCall_ = false;
      if (ec) return self->close();
      self->linger();
    });
  }

  // After a refusal the client may still be sending what it meant to: that is read and
  // dropped, within a bounded time and size, so that the answer reaches it.
  void linger() {
    error_code ignored;
    lowest().socket().shutdown(tcp::socket::shutdown_send, ignored);
    if (!lingerUntil_) lingerUntil_ = Clock::now() + kLingerTime;
    if (Clock::now() >= *lingerUntil_ || lingered_ > server_.options.maxBodyBytes + (1u << 20))
      return close();
    lowest().expires_at(*lingerUntil_);
    lowest().async_read_some(asio::buffer(drain_), [self = self()](error_code ec, std::size_t n) {
      if (ec) return self->close();
      self->lingered_ += n;
      self->linger();
    });
  }

  Stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  http::request<http::string_body> request_;
  std::string response_;  // reused from call to call on this connection
  std::vector<CallOutcome> outcomes_;
  Clock::time_point started_ = Clock::now();
  std::size_t served_ = 0;
  unsigned version_ = 11;
  bool keepAlive_ = false;
  std::optional<Clock::time_point> lingerUntil_;
  std::size_t lingered_ = 0;
  std::array<char, 16384> drain_{};
};

// ---- accepting and stopping --------------------------------------------------------------

void Server::Impl::accept() {
  acceptor->async_accept(io, [this](error_code ec, tcp::socket socket) {
    if (ec) {
      if (ec == asio::error::operation_aborted || stopping) return;
      spdlog::warn("(conexão) aceite falhou: {}", ec.message());
      return accept();
    }
    sessions.remove_if([](const std::weak_ptr<SessionBase>& s) { return s.expired(); });
    if (static_cast<int>(sessions.size()) >= options.maxConnections) {
      spdlog::warn("(conexão) recusada: {} conexões abertas, o limite", sessions.size());
      error_code ignored;
      socket.close(ignored);
      return accept();
    }
    error_code ignored;
    socket.set_option(tcp::no_delay(true), ignored);  // small answers must not wait on ACKs
    if (tls)
      adopt(beast::ssl_stream<beast::tcp_stream>(beast::tcp_stream(std::move(socket)), *tls));
    else
      adopt(beast::tcp_stream(std::move(socket)));
    accept();
  });
}

template <class Stream>
void Server::Impl::adopt(Stream stream) {
  auto session = std::make_shared<Session<Stream>>(*this, std::move(stream));
  sessions.push_back(session);
  session->start();
}

void Server::Impl::beginStop() {
  stopping = true;
  error_code ignored;
  if (acceptor) acceptor->close(ignored);
  for (auto& weak : sessions)
    if (auto s = weak.lock()) s->stopWhenIdle();
}

void Server::Impl::closeEverything() {
  for (auto& weak : sessions)
    if (auto s = weak.lock()) s->close();
}

// ---- Server ------------------------------------------------------------------------------

Server::Server(ServerOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

Server::~Server() {
  stop();
}

void Server::start() {
  Impl& s = *impl_;
  if (s.started) return;
  const ServerOptions& o = s.options;
  const std::string where = o.address + ":" + std::to_string(o.port);
  if (o.token.empty() && !isLoopbackAddress(o.address))
    throw Error("O servidor não escuta em " + where +
                " sem um token de acesso: fora da interface local (loopback) informe "
                "--token-file ou QBK_SERVER_TOKEN.");
  if (o.tlsCertificateFile.empty() != o.tlsKeyFile.empty())
    throw Error("Para HTTPS informe o certificado e a chave privada.");
  if (!o.tlsCertificateFile.empty()) {
    s.tls.emplace(ssl::context::tls_server);
    s.tls->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                       ssl::context::no_sslv3 | ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1);
    error_code ec;
    s.tls->use_certificate_chain_file(o.tlsCertificateFile, ec);
    if (!ec) s.tls->use_private_key_file(o.tlsKeyFile, ssl::context::pem, ec);
    if (ec)
      throw Error("Não foi possível carregar o certificado ou a chave de HTTPS (" +
                  o.tlsCertificateFile + ", " + o.tlsKeyFile + "): " + ec.message() + ".");
  }

  error_code ec;
  const auto address =
      asio::ip::make_address(o.address == "localhost" ? "127.0.0.1" : o.address, ec);
  if (ec) throw Error("Endereço de escuta inválido: " + o.address + ".");
  tcp::acceptor acceptor(s.io);
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(o.port));
  acceptor.open(endpoint.protocol(), ec);
  if (!ec) acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
  if (!ec) acceptor.bind(endpoint, ec);
  if (!ec) acceptor.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) throw Error("Não foi possível escutar em " + where + ": " + ec.message() + ".");
  s.boundPort = acceptor.local_endpoint().port();
  s.acceptor.emplace(std::move(acceptor));
  s.started = true;
  s.accept();
  s.ioThread = std::thread([&s] {
    for (;;) {
      try {
        s.io.run();
        return;
      } catch (const std::exception& e) {
        // A handler that throws must not take every other connection down with it.
        spdlog::error("(conexão) falha inesperada: {}", e.what());
      }
    }
  });
}

int Server::port() const {
  return impl_->boundPort;
}

const ServerOptions& Server::options() const {
  return impl_->options;
}

void Server::stop() {
  Impl& s = *impl_;
  if (!s.started || s.stopped) return;
  s.stopped = true;
  asio::post(s.io, [&s] { s.beginStop(); });
  {
    std::unique_lock lock(s.countMutex);
    s.countChanged.wait_for(lock, s.options.stopTimeout, [&s] { return s.open == 0; });
  }
  // Whatever is still open now (a call past the stop timeout, an answer the client does not
  // read) is closed without waiting further.
  asio::post(s.io, [&s] { s.closeEverything(); });
  {
    std::unique_lock lock(s.countMutex);
    s.countChanged.wait_for(lock, std::chrono::milliseconds(200), [&s] { return s.open == 0; });
  }
  s.keepRunning.reset();
  s.io.stop();
  s.ioThread.join();
  // A call still running finishes on its worker; its answer has nowhere to go.
  s.workers.join();
}

}  // namespace qbk::server
