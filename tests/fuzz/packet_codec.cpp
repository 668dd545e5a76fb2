// Fuzz target: the packet codec's round trip. A packet read from any bytes is written, read
// back and written again: the second reading equals the first and the two writings are the
// same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qbk::data::Packet packet;
  try {
    packet = qbk::data::json::parsePacket(text);
  } catch (const qbk::data::ProtocolError&) {
    return 0;
  }
  std::string first;
  try {
    qbk::data::json::appendPacket(first, packet);
  } catch (const qbk::data::DataError&) {
    return 0;
  }
  const qbk::data::Packet back = qbk::data::json::parsePacket(first);
  if (!(back == packet)) std::abort();
  std::string second;
  qbk::data::json::appendPacket(second, back);
  if (second != first) std::abort();
  return 0;
}
