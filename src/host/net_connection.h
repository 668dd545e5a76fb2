// The screen's connection to its remote object on the application server: methods called
// late-bound by name with positional arguments, over JSON-RPC on HTTP (docs/protocol.md).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "data/errors.h"
#include "data/variant.h"
#include "protocol/bank_object.h"
#include "server_result.h"

namespace qbk::host {

// The server could not be reached or did not answer as HTTP should: refused, timed out,
// an HTTP status other than 200, or a call while not connected. The text names host:port.
class ConnectionError : public Error {
 public:
  using Error::Error;
};

class NetConnection {
 public:
  NetConnection();
  ~NetConnection();
  NetConnection(const NetConnection&) = delete;
  NetConnection& operator=(const NetConnection&) = delete;

  std::string host = "127.0.0.1";
  int port = 8051;
  std::string serverName{protocol::kBankObjectName};
  std::chrono::milliseconds connectTimeout{5000};
  std::chrono::milliseconds readTimeout{30000};
  std::chrono::milliseconds writeTimeout{30000};
  // The server's shared secret, HTTPS and the certificate authority to verify it with.
  // Left empty (and false), connect() takes them from the host's configuration
  // (server_token, server_tls, server_ca).
  std::string token;
  bool tls = false;
  std::string caFile;

  // Runs at the start of every connect(), so the owner can set host and port just before.
  std::function<void(NetConnection&)> beforeConnect;

  // Runs beforeConnect, opens a keep-alive connection and proves the server answers its
  // health check. Connecting again first drops the current connection. Throws
  // ConnectionError, and stays disconnected, when the server cannot be reached.
  void connect();
  void disconnect();
  bool connected() const;

  // Calls `method` with positional `args` and returns what the server answered. A failure
  // the server reports (a JSON-RPC error) is returned inside the result, for
  // CheckResultServ to raise; transport failures throw ConnectionError, a reply that is not
  // JSON-RPC throws data::ProtocolError.
  ServerResult call(std::string_view method, data::VariantArray args = {});

  // Where calls go: "/rpc/" + serverName.
  std::string rpcPath() const { return "/rpc/" + serverName; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qbk::host
