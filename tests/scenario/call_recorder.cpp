#include "scenario/call_recorder.h"

#include <httplib.h>
#include <rapidjson/document.h>

#include <mutex>
#include <stdexcept>
#include <thread>

namespace qbk::module::testing {

struct CallRecorder::Impl {
  httplib::Server relay;
  httplib::Client server;
  std::thread thread;
  int port = 0;
  mutable std::mutex mutex;
  std::vector<std::string> bodies;

  explicit Impl(int serverPort) : server("127.0.0.1", serverPort) {}

  void forward(const httplib::Request& req, httplib::Response& res) {
    if (req.method == "POST") {
      std::lock_guard lock(mutex);
      bodies.push_back(req.body);
    }
    auto answer = req.method == "POST"
                      ? server.Post(req.path, req.body, req.get_header_value("Content-Type"))
                      : server.Get(req.path);
    if (!answer) {
      res.status = 502;
      return;
    }
    res.status = answer->status;
    res.set_content(answer->body, answer->get_header_value("Content-Type"));
  }
};

CallRecorder::CallRecorder(int serverPort) : impl_(std::make_unique<Impl>(serverPort)) {
  auto handler = [this](const httplib::Request& req, httplib::Response& res) {
    impl_->forward(req, res);
  };
  impl_->relay.Get(".*", handler);
  impl_->relay.Post(".*", handler);
  impl_->port = impl_->relay.bind_to_any_port("127.0.0.1");
  if (impl_->port <= 0) throw std::runtime_error("relay: no port");
  impl_->thread = std::thread([this] { impl_->relay.listen_after_bind(); });
  while (!impl_->relay.is_running()) std::this_thread::yield();
}

CallRecorder::~CallRecorder() {
  impl_->relay.stop();
  if (impl_->thread.joinable()) impl_->thread.join();
}

int CallRecorder::port() const {
  return impl_->port;
}

std::vector<std::vector<std::string>> CallRecorder::textArgs(std::string_view method) const {
  std::vector<std::vector<std::string>> out;
  std::lock_guard lock(impl_->mutex);
  for (const std::string& body : impl_->bodies) {
    rapidjson::Document doc;
    doc.Parse(body.c_str(), body.size());
    if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("method") ||
        !doc["method"].IsString() || method != doc["method"].GetString())
      continue;
    std::vector<std::string> args;
    if (doc.HasMember("params") && doc["params"].IsArray())
      for (const auto& p : doc["params"].GetArray())
        args.emplace_back(p.IsString() ? p.GetString() : "");
    out.push_back(std::move(args));
  }
  return out;
}

}  // namespace qbk::module::testing
