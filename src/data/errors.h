// The one exception hierarchy of the product. Messages are short, exact and in Portuguese,
// because they reach the person using the screen unchanged.
#pragma once

#include <stdexcept>
#include <string>

namespace qbk {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace data {

// Misuse of a record set: a field that does not exist, a write outside edit mode, a
// deletion on an empty set, a packet that does not fit the declared fields.
class DataError : public Error {
 public:
  using Error::Error;
};

// Malformed JSON-RPC traffic. `code` is the JSON-RPC error code it maps to.
class ProtocolError : public Error {
 public:
  ProtocolError(int code, const std::string& message) : Error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

namespace rpc_code {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
// Application errors: refused deltas, conflicts, duplicates, values that do not fit.
inline constexpr int kApplication = -32000;
// The database stayed locked past the server's wait; the same call may succeed shortly.
inline constexpr int kBusy = -32001;
}  // namespace rpc_code

}  // namespace data
}  // namespace qbk
