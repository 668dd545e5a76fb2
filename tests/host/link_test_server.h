// An HTTP server on loopback, port chosen by the system, that answers JSON-RPC calls from
// canned handlers and records what it was sent. Test support for the server link.
#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/codec.h"

namespace qbk::host::testing {

namespace json = data::json;

struct RecordedCall {
  std::string method;
  data::VariantArray params;
  data::Variant id;
  std::string contentType;
  int remotePort = 0;
};

class FakeRpcServer {
 public:
  using Handler = std::function<json::RpcResponse(const json::RpcRequest&)>;
  using RawHandler = std::function<void(const httplib::Request&, httplib::Response&)>;

  struct Options {
    bool healthCheck = true;
    int keepAliveSeconds = 5;  // how long an idle connection is kept open
  };

  FakeRpcServer() : FakeRpcServer(Options{}) {}
  explicit FakeRpcServer(Options options) {
    if (options.healthCheck)
      server_.Get("/health", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("ok", "text/plain");
      });
    server_.set_keep_alive_timeout(options.keepAliveSeconds);
    server_.Post("/rpc/Qbk51200.rdmBanco",
                 [this](const httplib::Request& req, httplib::Response& res) { serve(req, res); });
    server_.set_tcp_nodelay(true);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~FakeRpcServer() { stop(); }

  int port() const { return port_; }

  // Answers every call with `handler` (default: a null result).
  void answer(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
  }
  // Answers every call with a successful result.
  void answerResult(data::Variant result) {
    answer([result](const json::RpcRequest& r) {
      json::RpcResponse reply;
      reply.id = r.id;
      reply.result = result;
      return reply;
    });
  }
  // Answers every call with a JSON-RPC error.
  void answerError(int code, std::string message) {
    answer([=](const json::RpcRequest& r) {
      json::RpcResponse reply;
      reply.id = r.id;
      reply.ok = false;
      reply.errorCode = code;
      reply.errorMessage = message;
      return reply;
    });
  }
  // Takes over the HTTP exchange itself, for replies a real server would never give.
  void answerRaw(RawHandler handler) {
    std::lock_guard lock(mutex_);
    raw_ = std::move(handler);
  }

  std::vector<RecordedCall> calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }

  void stop() {
    if (!thread_.joinable()) return;
    server_.stop();
    thread_.join();
  }

 private:
  void serve(const httplib::Request& req, httplib::Response& res) {
    RawHandler raw;
    Handler handler;
    {
      std::lock_guard lock(mutex_);
      raw = raw_;
      handler = handler_;
    }
    if (raw) return raw(req, res);
    json::RpcRequest call = json::decodeRequest(req.body);
    {
      std::lock_guard lock(mutex_);
      calls_.push_back({call.method, call.params, call.id, req.get_header_value("Content-Type"),
                        req.remote_port});
    }
    json::RpcResponse reply;
    if (handler) {
      reply = handler(call);
    } else {
      reply.id = call.id;
    }
    res.set_content(json::encodeResponse(reply), "application/json");
  }

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  Handler handler_;
  RawHandler raw_;
  std::vector<RecordedCall> calls_;
};

}  // namespace qbk::host::testing
