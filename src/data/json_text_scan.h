// Private to the codec: one look at a text before it is written as a JSON string, eight
// bytes at a time, to learn whether it can be copied as it is. Nearly every text of a data
// packet can, and a whole-table fetch writes some hundred thousand of them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace qbk::data::json {

struct TextScan {
  bool nonAscii = false;     // some byte is 0x80 or above: the UTF-8 must be checked
  bool needsEscape = false;  // a quote, a backslash or a control character
};

namespace detail {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Nonzero when some byte of `w` is below `n` (n <= 128). Only the presence is exact: a
// borrow may also flag the byte just above a real match, which changes nothing here.
constexpr std::uint64_t bytesBelow(std::uint64_t w, unsigned n) {
  return (w - kOnes * n) & ~w & kHighs;
}

// Nonzero when some byte of `w` equals `c`.
constexpr std::uint64_t bytesEqual(std::uint64_t w, unsigned char c) {
  return bytesBelow(w ^ (kOnes * c), 1);
}

inline bool plainByte(unsigned char c) {
  return c >= 0x20 && c != '"' && c != '\\';
}

}  // namespace detail

inline TextScan scanText(std::string_view s) {
  using namespace detail;
  std::uint64_t high = 0;
  std::uint64_t special = 0;
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    high |= w & kHighs;
    special |= bytesBelow(w, 0x20) | bytesEqual(w, '"') | bytesEqual(w, '\\');
  }
  TextScan scan{high != 0, special != 0};
  for (; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    scan.nonAscii |= c >= 0x80;
    scan.needsEscape |= !plainByte(c);
  }
  return scan;
}

}  // namespace qbk::data::json
