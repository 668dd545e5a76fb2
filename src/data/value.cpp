#include "value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qbk::data {

namespace {
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::size_t utf8Length(std::string_view text) {
  std::size_t n = 0;
  for (unsigned char c : text) n += !isContinuation(c);
  return n;
}

std::string_view utf8Prefix(std::string_view text, std::size_t chars) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isContinuation(static_cast<unsigned char>(text[i]))) {
      if (seen == chars) return text.substr(0, i);
      ++seen;
    }
  }
  return text;
}

bool utf8Valid(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t len;
    char32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto cc = static_cast<unsigned char>(text[i + k]);
      if (!isContinuation(cc)) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point are not UTF-8.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
      return false;
    i += len;
  }
  return true;
}

std::string formatNumber(double value) {
  if (std::isnan(value) || std::isinf(value)) return {};
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
    return std::string(buf, p);
  }
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, p);
}

}  // namespace qbk::data
