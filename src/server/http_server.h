// The HTTP front of the bank remote object: JSON-RPC calls on POST
// /rpc/Qbk51200.rdmBanco and a liveness answer on GET /health.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace qbk::server {

struct ServerOptions {
  std::string database;  // location handed to db::open by each worker
  std::string address = "127.0.0.1";
  int port = 8051;  // 0: the system picks a free port
  int workers = 4;
  std::size_t maxBodyBytes = 32u << 20;
  std::chrono::seconds ioTimeout{30};
  // An idle keep-alive connection holds a worker; a short wait frees it for others soon.
  std::chrono::seconds keepAliveTimeout{5};
  std::size_t keepAliveMaxRequests = 10000;
};

class Server {
 public:
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and serves in the background; returns once requests are accepted. Throws
  // qbk::Error when the address cannot be bound.
  void start();
  int port() const;  // the bound port, also when the system chose it
  const ServerOptions& options() const;
  // Stops accepting, lets running calls finish and waits for the workers. Idempotent.
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qbk::server
