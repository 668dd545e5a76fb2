#include "banklist/latin_text.h"

#include <array>

namespace qbk::banklist {

namespace {

// Latin-1 letters U+00C0..U+00FF without their accents; '*' stands for the two signs (× ÷).
constexpr std::string_view kLatin1Base =
    "AAAAAAACEEEEIIII"   // À..Ï
    "DNOOOOO*OUUUUYTS"   // Ð..ß
    "aaaaaaaceeeeiiii"   // à..ï
    "dnooooo*ouuuuyty";  // ð..ÿ

// Windows-1252 bytes 0x80..0x9F; 0 where the code page defines nothing.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool isLatin1Letter(char32_t c) {
  return c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7;
}

}  // namespace

std::u32string decodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < len && i + k < text.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(cp);
    i += len;
  }
  return out;
}

std::string encodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool isLetter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isLatin1Letter(c);
}

bool isDigit(char32_t c) {
  return c >= '0' && c <= '9';
}

bool isVowel(char32_t c) {
  const char32_t f = foldLetter(c);
  return f == 'A' || f == 'E' || f == 'I' || f == 'O' || f == 'U';
}

char32_t toUpper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  // ß and ÿ have no upper case in Latin-1.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  return c;
}

char32_t toLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

char32_t foldLetter(char32_t c) {
  if (isLatin1Letter(c)) c = static_cast<unsigned char>(kLatin1Base[c - 0xC0]);
  return toUpper(c);
}

std::string foldWord(std::string_view word) {
  std::string out;
  for (char32_t c : decodeUtf8(word))
    if (isLetter(c) || isDigit(c)) out.push_back(static_cast<char>(foldLetter(c)));
  return out;
}

bool windows1252ToUtf8(std::string_view text, std::string& out) {
  std::u32string wide;
  wide.reserve(text.size());
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t c = b;
    if (b >= 0x80 && b <= 0x9F) {
      c = kCp1252High[b - 0x80];
      if (c == 0) return false;
    }
    wide.push_back(c);
  }
  out = encodeUtf8(wide);
  return true;
}

}  // namespace qbk::banklist
