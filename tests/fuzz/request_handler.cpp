// Fuzz target: any bytes as the body of a call, through the dispatcher and the bank methods
// on an in-memory demo database. The answer must be nothing (notifications only) or
// JSON-RPC the codec reads back; nothing may crash, leak or read out of bounds.
#include <spdlog/spdlog.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "data/codec.h"
#include "db/connection.h"
#include "server/bank_methods.h"
#include "server/demo_data.h"
#include "server/rpc_dispatcher.h"
#include "server/schema.h"

namespace {

struct Handler {
  Handler() {
    spdlog::set_level(spdlog::level::off);
    conn = qbk::db::open(":memory:");
    qbk::server::migrate(*conn);
    qbk::server::fillDemoData(*conn);
    qbk::server::registerBankMethods(dispatcher);
  }
  std::unique_ptr<qbk::db::Connection> conn;
  qbk::server::Dispatcher dispatcher;
  std::string out;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Handler h;
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  h.out.clear();
  h.dispatcher.handle(
      body, [&]() -> qbk::db::Connection& { return *h.conn; }, h.out);
  if (h.out.empty()) return 0;
  if (h.out.front() == '{') {
    qbk::data::json::decodeResponse(h.out);  // throws (and so aborts) on a malformed answer
  } else if (h.out.front() != '[' || h.out.back() != ']') {
    std::abort();
  }
  return 0;
}
