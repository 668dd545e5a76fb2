// How the main banks number their agencies and accounts, as the agency and account masks a
// new bank needs: "9" a digit, "a" a check character that may be a letter, "-" before the
// check digits. Agency masks have at most 5 digit positions and 1 or 2 check digits.
#pragma once

#include <string>
#include <string_view>

namespace qbk::banklist {

struct NumberFormat {
  int digits = 0;
  int checkDigits = 0;
  bool checkMayBeLetter = false;  // the bank writes "X" or "P" where the digit would be 10
};

struct AccountFormat {
  std::string_view code;
  NumberFormat agency;
  NumberFormat account;
};

// The banks whose formats are known; nothing for another code.
const AccountFormat* knownAccountFormat(std::string_view code);

// What a bank without a known format gets: a four-digit agency without check digit and an
// account of up to twelve digits with one check digit, which holds every account number
// the generic validation rules accept with a single check digit.
inline constexpr AccountFormat kDefaultAccountFormat{"", {4, 0, false}, {12, 1, false}};

// "9999-a" for four digits and a check digit that may be a letter.
std::string mask(const NumberFormat& format);

struct Masks {
  std::string agency;   // CDPICTAGEN
  std::string account;  // CDPICTCONT
  bool known = false;   // from the table, not the default
};

Masks masksFor(std::string_view code);

}  // namespace qbk::banklist
