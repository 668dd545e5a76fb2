// JSON form of packets, deltas, variants and the JSON-RPC 2.0 envelope (docs/protocol.md).
#pragma once

#include <string>
#include <string_view>

#include "errors.h"
#include "variant.h"

namespace qbk::data::json {

// Deepest array/object nesting accepted anywhere; checked on the raw text before parsing.
inline constexpr int kMaxDepth = 64;

// Throws ProtocolError(kParseError) when the text nests deeper than maxDepth.
void checkNesting(std::string_view text, int maxDepth = kMaxDepth);

// Appends the JSON form of a value to `out` (a buffer the caller may reuse).
void appendVariant(std::string& out, const Variant& v);
void appendPacket(std::string& out, const Packet& p);
void appendDelta(std::string& out, const Delta& d);

// Parses JSON text into a value: objects with "rows" are packets, objects with "changes"
// are deltas, other objects are refused. Throws ProtocolError(kParseError) for bad JSON.
Variant parseVariant(std::string_view text);
Packet parsePacket(std::string_view text);
Delta parseDelta(std::string_view text);

struct RpcRequest {
  Variant id;  // number, text or null
  std::string method;
  VariantArray params;
};

struct RpcResponse {
  Variant id;
  bool ok = true;
  Variant result;
  int errorCode = 0;
  std::string errorMessage;
};

std::string encodeRequest(const RpcRequest& r);
// Throws ProtocolError: kParseError for bad JSON, kInvalidRequest for a wrong envelope.
RpcRequest decodeRequest(std::string_view text);

void appendResponse(std::string& out, const RpcResponse& r);
std::string encodeResponse(const RpcResponse& r);
RpcResponse decodeResponse(std::string_view text);

}  // namespace qbk::data::json
