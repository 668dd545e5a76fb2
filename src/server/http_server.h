// The HTTP front of the bank remote object: JSON-RPC calls on POST
// /rpc/Qbk51200.rdmBanco and a liveness answer on GET /health.
//
// Connections are served asynchronously by one I/O thread, so an idle or slow connection
// holds only its socket and buffers; the workers (one database connection each) see a
// request only once it has arrived whole. Every phase of a connection has a deadline of
// its own: waiting for the next request, reading a whole request (from its first byte to
// its last), writing a response, and the lingering close after a refusal.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace qbk::server {

struct ServerOptions {
  std::string database;  // location handed to db::open by each worker
  std::string address = "127.0.0.1";
  int port = 8051;  // 0: the system picks a free port
  int workers = 4;  // calls run at the same time, each on its own database connection

  // Connections open at once; one more is closed as soon as it is accepted.
  int maxConnections = 512;
  std::size_t maxBodyBytes = 32u << 20;  // declared or chunked
  // Requests with a body over 64 KiB (or chunked) held at once, from the first byte of the
  // body to the end of the answer; one more is refused (503). With maxBodyBytes this
  // bounds the memory bodies take whatever the number of connections.
  int maxLargeBodies = 8;
  std::size_t maxHeaderBytes = 16u << 10;  // request line and every header line together
  std::size_t maxHeaderCount = 100;
  // From a request's first byte to its last: a slow sender cannot stretch it byte by byte.
  std::chrono::milliseconds requestTimeout{10000};
  // An idle keep-alive connection (and a new one that sends nothing) is closed after this.
  std::chrono::milliseconds keepAliveTimeout{5000};
  std::size_t keepAliveMaxRequests = 10000;
  std::chrono::milliseconds writeTimeout{30000};  // sending one response
  // On stop(), calls already running get this long to finish and answer.
  std::chrono::milliseconds stopTimeout{10000};

  // Shared secret every call must carry as "Authorization: Bearer <token>". Required
  // whenever the address is not a loopback one.
  std::string token;
  // PEM files; both set: the server speaks HTTPS only.
  std::string tlsCertificateFile;
  std::string tlsKeyFile;
  // Names besides "localhost" by which clients reach the server (a reverse proxy's name,
  // the machine's DNS name). A Host header with any other name is refused; IP literals
  // are always accepted.
  std::vector<std::string> allowedHosts;
};

class Server {
 public:
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and serves in the background; returns once requests are accepted. Throws
  // qbk::Error when the options are unsafe (beyond loopback without a token), the TLS files
  // cannot be loaded or the address cannot be bound.
  void start();
  int port() const;  // the bound port, also when the system chose it
  const ServerOptions& options() const;
  // Stops accepting and closes every connection that is not in a call; calls in flight
  // finish and answer (within stopTimeout), then the rest is closed. Idempotent.
  void stop();

  struct Impl;  // public so that the connections defined beside it may name it

 private:
  std::unique_ptr<Impl> impl_;
};

// True for addresses that only this machine can reach: 127.0.0.0/8, ::1 and "localhost".
bool isLoopbackAddress(const std::string& address);

}  // namespace qbk::server
