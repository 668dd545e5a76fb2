// Fuzz target: any bytes as a delta. A text the decoder takes must encode again and decode
// to the same delta; one it refuses must be refused with a ProtocolError, nothing else.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qbk::data::Delta delta;
  try {
    delta = qbk::data::json::parseDelta(text);
  } catch (const qbk::data::ProtocolError&) {
    return 0;
  }
  std::string again;
  try {
    qbk::data::json::appendDelta(again, delta);
  } catch (const qbk::data::DataError&) {
    return 0;  // a value the writer refuses (a number JSON cannot spell) is refused, not lost
  }
  if (!(qbk::data::json::parseDelta(again) == delta)) std::abort();
  return 0;
}
