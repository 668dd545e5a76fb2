// The masks a new bank gets must pass the bank screen's save checks.
#include "banklist/account_formats.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "banklist/bank_list.h"

namespace qbk::banklist {
namespace {

// The mask grammar, written out here on its own so a wrong table entry cannot hide behind
// the code that builds the masks: "9" and "a", one "-" at most, "a" only after it.
bool validMask(const std::string& m) {
  if (m.empty() || m.find_first_not_of("9a-") != std::string::npos) return false;
  const auto dash = m.find('-');
  if (dash != std::string::npos && m.find('-', dash + 1) != std::string::npos) return false;
  const auto a = m.find('a');
  return a == std::string::npos || (dash != std::string::npos && a > dash);
}

bool validAgencyMask(const std::string& m) {
  if (!validMask(m) || m.size() > 6) return false;
  if (std::count_if(m.begin(), m.end(), [](char c) { return c != '-'; }) > 5) return false;
  const auto dash = m.find('-');
  const std::size_t checks = dash == std::string::npos ? 1 : m.size() - dash - 1;
  return checks >= 1 && checks <= 2;
}

TEST(AccountFormats, everyMaskPassesTheSaveChecks) {
  for (const Institution& i : builtInBankList().institutions) {
    const Masks m = masksFor(i.code);
    EXPECT_TRUE(validAgencyMask(m.agency)) << i.code << " " << m.agency;
    EXPECT_TRUE(validMask(m.account) && m.account.size() <= 20) << i.code << " " << m.account;
  }
}

TEST(AccountFormats, knownBanksGetTheirFormatOthersTheDefault) {
  EXPECT_EQ(masksFor("001").agency, "9999-a");
  EXPECT_EQ(masksFor("001").account, "99999999-a");
  EXPECT_EQ(masksFor("237").agency, "9999-a");
  EXPECT_EQ(masksFor("237").account, "9999999-a");
  EXPECT_EQ(masksFor("341").agency, "9999");
  EXPECT_EQ(masksFor("341").account, "99999-9");
  EXPECT_EQ(masksFor("104").account, "99999999999-9");
  EXPECT_TRUE(masksFor("104").known);
  const Masks other = masksFor("654");
  EXPECT_FALSE(other.known);
  EXPECT_EQ(other.agency, "9999");
  EXPECT_EQ(other.account, "999999999999-9");
}

}  // namespace
}  // namespace qbk::banklist
