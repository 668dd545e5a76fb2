// JSON form of packets, deltas, variants and the JSON-RPC 2.0 envelope (docs/protocol.md).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "errors.h"
#include "variant.h"

namespace qbk::data::json {

// Deepest array/object nesting accepted anywhere; checked on the raw text before parsing.
inline constexpr int kMaxDepth = 64;

// Throws ProtocolError(kParseError) when the text nests deeper than maxDepth.
void checkNesting(std::string_view text, int maxDepth = kMaxDepth);

// Appends the JSON form of a value to `out` (a buffer the caller may reuse). Throws
// DataError for what the reader would refuse: malformed UTF-8, a number that is not finite,
// a row whose width or cell kinds do not fit its fields.
void appendVariant(std::string& out, const Variant& v);
void appendPacket(std::string& out, const Packet& p);
void appendDelta(std::string& out, const Delta& d);

// Writes a packet row by row, cell by cell, into `out`, for callers that read rows from
// somewhere else (the server's database cursor) and must not build them in memory first.
// Cells must follow the fields in order; texts are checked to be UTF-8 as appendPacket
// checks them. After finish() the output holds the whole packet; a stream destroyed before
// finish() (an error midway) removes what it wrote.
class PacketStream {
 public:
  PacketStream(std::string& out, const std::vector<FieldDef>& fields);
  ~PacketStream();
  PacketStream(const PacketStream&) = delete;
  PacketStream& operator=(const PacketStream&) = delete;

  void beginRow();
  void null();
  void text(std::string_view s);
  void number(double d);
  void endRow();
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Parses JSON text into a value: objects with "rows" are packets, objects with "changes"
// are deltas, other objects are refused. Throws ProtocolError(kParseError) for bad JSON
// and ProtocolError(kInvalidParams) for a value of the wrong shape.
Variant parseVariant(std::string_view text);
Packet parsePacket(std::string_view text);
Delta parseDelta(std::string_view text);

struct RpcRequest {
  Variant id;  // number, text or null
  std::string method;
  VariantArray params;
  // A request without "id": it runs, and nothing is answered, not even a failure.
  bool notification = false;
};

struct RpcResponse {
  Variant id;
  bool ok = true;
  Variant result;
  int errorCode = 0;
  std::string errorMessage;
};

void appendRequest(std::string& out, const RpcRequest& r);
std::string encodeRequest(const RpcRequest& r);
// Throws ProtocolError: kParseError for bad JSON, kInvalidRequest for a wrong envelope.
RpcRequest decodeRequest(std::string_view text);
// One element of a call body: a request, or the refusal of an element that could not be
// read as one (with the element's id when it has a readable one, and its method when only
// the parameters were wrong).
struct RpcCall {
  RpcRequest request;
  int errorCode = 0;  // 0: `request` is whole
  std::string errorMessage;
};

// A call body: one request or a batch (a JSON array of requests), each element decoded on
// its own so that one bad element does not spoil the others. Throws ProtocolError:
// kParseError for bad JSON, kInvalidRequest for an empty batch.
struct RpcCalls {
  bool batch = false;
  std::vector<RpcCall> calls;
};
RpcCalls decodeCalls(std::string_view text);

// The id of a request that decodeRequest refused, so the error reply can still echo it;
// null when the text has no usable id. Never throws.
Variant peekRequestId(std::string_view text) noexcept;

void appendResponse(std::string& out, const RpcResponse& r);
// A successful response in pieces, for a result written straight into `out` in between
// (the server streams large packets from the database this way): the head ends where the
// result begins, the tail closes the response.
void appendResultHead(std::string& out, const Variant& id);
void appendResultTail(std::string& out);
std::string encodeResponse(const RpcResponse& r);
// Throws ProtocolError: kParseError for bad JSON, kInvalidRequest for a wrong envelope,
// kInvalidParams for a malformed packet or delta in the result.
RpcResponse decodeResponse(std::string_view text);

}  // namespace qbk::data::json
