// Calls by name: checks a request's parameters against the method's declared list, runs
// the method and turns every outcome into a JSON-RPC response. A batch runs its requests
// one after the other, each on its own (a delta in it is its own transaction).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "data/codec.h"
#include "data/variant.h"
#include "db/connection.h"
#include "server/packet_query.h"

namespace qbk::server {

enum class ParamKind {
  Text,     // text by value
  TextRef,  // text by reference: the client never reads it back, so it travels as a text
  Delta,    // a record set's pending changes
};

// A method answers with a value, or with a packet read that goes straight into the reply.
using MethodResult = std::variant<data::Variant, PacketQuery>;
using MethodHandler = std::function<MethodResult(db::Connection&, const data::VariantArray&)>;

struct MethodSpec {
  std::vector<ParamKind> params;
  MethodHandler handler;
};

// What happened to one call, for the log line.
struct CallOutcome {
  std::string method;  // empty when the request could not be read
  bool notification = false;
  int errorCode = 0;  // 0: success
  std::string errorMessage;
};

// Texts of the refusals that depend on the moment rather than on the request.
inline constexpr const char* kBusyMessage =
    "O banco de dados está ocupado; tente novamente em instantes.";
inline constexpr const char* kConcurrencyMessage =
    "Outro usuário gravava os mesmos registros ao mesmo tempo; nada foi gravado. Leia os dados "
    "novamente e repita a operação.";

class Dispatcher {
 public:
  void add(std::string name, std::vector<ParamKind> params, MethodHandler handler);
  bool has(std::string_view name) const;

  // Handles one request body (a call or a batch) and appends the response body to `out`:
  // one response, an array of them for a batch, or nothing at all when every call was a
  // notification. Never throws: a failure of any kind becomes a JSON-RPC error object.
  // `conn` is asked for only when a method runs, so malformed requests cost no database
  // connection. Returns one outcome per call, in order.
  std::vector<CallOutcome> handle(std::string_view body,
                                  const std::function<db::Connection&()>& conn,
                                  std::string& out) const;

 private:
  void checkParams(const std::string& name, const MethodSpec& method,
                   const data::VariantArray& params) const;
  CallOutcome run(data::json::RpcCall& call, const std::function<db::Connection&()>& conn,
                  std::string& out) const;

  std::unordered_map<std::string, MethodSpec> methods_;
};

}  // namespace qbk::server
