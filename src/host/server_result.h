// What a call to the application server returned, and the one routine that checks it.
#pragma once

#include <string>

#include "data/errors.h"
#include "data/variant.h"

namespace qbk::host {

// The outcome of one method call: the payload, or the failure the server reported.
struct ServerResult {
  bool ok = true;
  data::Variant payload;
  int errorCode = 0;  // data::rpc_code
  std::string errorMessage;

  static ServerResult success(data::Variant payload) { return {true, std::move(payload), 0, {}}; }
  static ServerResult failure(int code, std::string message) {
    return {false, {}, code, std::move(message)};
  }
};

// A failure the server reported for a call; what() is the server's own text, shown to the
// person unchanged.
class ServerError : public Error {
 public:
  ServerError(int code, const std::string& message) : Error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// No option of CheckResultServ is defined; every caller passes 0.
inline constexpr int kCheckNoFlags = 0;

// Returns the payload of `result`.
// `raise` true: a reported failure throws ServerError with the server's code and message,
// so nothing after the check runs. `raise` false: a failure returns a null payload and the
// caller must look at `result.ok` itself.
// `flags` must be kCheckNoFlags (0); any other value is a programming error (qbk::Error).
const data::Variant& CheckResultServ(const ServerResult& result, bool raise, int flags);
// For a result that is a temporary: the payload is moved out rather than referenced, so it
// cannot outlive the result it came from.
data::Variant CheckResultServ(ServerResult&& result, bool raise, int flags);

}  // namespace qbk::host
