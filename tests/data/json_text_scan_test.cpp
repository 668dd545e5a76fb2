#include "data/json_text_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace qbk::data::json {
namespace {

TextScan byteByByte(std::string_view s) {
  TextScan scan;
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    scan.nonAscii |= c >= 0x80;
    scan.needsEscape |= c < 0x20 || c == '"' || c == '\\';
  }
  return scan;
}

// The word-at-a-time scan must agree with the plain one for every byte value, wherever it
// sits: inside a full word, across words, or in the tail after the last full word, and next
// to neighbours that could disturb the arithmetic (0x00, 0x80, 0xFF).
TEST(JsonTextScan, agreesWithByteByByteForEveryByteAtEveryPosition) {
  for (std::size_t length = 1; length <= 19; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      for (int value = 0; value < 256; ++value) {
        for (char filler : {'A', ' ', '\x7f', '\xc3'}) {
          std::string s(length, filler);
          s[at] = static_cast<char>(value);
          const TextScan got = scanText(s);
          const TextScan want = byteByByte(s);
          ASSERT_EQ(got.nonAscii, want.nonAscii)
              << "length " << length << " at " << at << " byte " << value << " filler " << +filler;
          ASSERT_EQ(got.needsEscape, want.needsEscape)
              << "length " << length << " at " << at << " byte " << value << " filler " << +filler;
        }
      }
    }
  }
}

TEST(JsonTextScan, borrowsBetweenNeighbouringBytesRaiseNoFalseAlarm) {
  // Bytes one above the thresholds, after bytes that borrow in the subtraction.
  for (const std::string& s :
       {std::string("\x21\x00\x21\x21\x21\x21\x21\x21", 8) + "!!", std::string("#]##]]##"),
        std::string("\x80!\x80!\x80!\x80!"), std::string("\xff#\xff]\xff!\xff ")}) {
    EXPECT_EQ(scanText(s).needsEscape, byteByByte(s).needsEscape) << s;
    EXPECT_EQ(scanText(s).nonAscii, byteByByte(s).nonAscii) << s;
  }
  EXPECT_FALSE(scanText("").nonAscii);
  EXPECT_FALSE(scanText("").needsEscape);
  EXPECT_FALSE(scanText("/home/financeiro/modelos/boleto-341.rtm").needsEscape);
}

}  // namespace
}  // namespace qbk::data::json
