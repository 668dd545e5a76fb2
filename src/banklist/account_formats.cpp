#include "banklist/account_formats.h"

#include <algorithm>
#include <array>

namespace qbk::banklist {

namespace {

// Where the README says these come from. Banrisul writes two check digits after a four-digit
// agency, which is one position more than an agency mask holds: its agency mask has the
// four digits alone.
constexpr std::array<AccountFormat, 11> kFormats{{
    {"001", {4, 1, true}, {8, 1, true}},     // Banco do Brasil: "X" for 10
    {"004", {4, 0, false}, {7, 1, false}},   // Banco do Nordeste
    {"033", {4, 0, false}, {8, 1, false}},   // Santander
    {"041", {4, 0, false}, {9, 1, false}},   // Banrisul
    {"077", {4, 0, false}, {7, 1, false}},   // Inter
    {"104", {4, 0, false}, {11, 1, false}},  // Caixa: operation and account
    {"237", {4, 1, true}, {7, 1, true}},     // Bradesco: "P" for 10
    {"260", {4, 0, false}, {7, 1, false}},   // Nu Pagamentos
    {"341", {4, 0, false}, {5, 1, false}},   // Itaú
    {"399", {4, 0, false}, {6, 1, false}},   // HSBC
    {"745", {4, 0, false}, {10, 1, false}},  // Citibank
}};

}  // namespace

const AccountFormat* knownAccountFormat(std::string_view code) {
  const auto it = std::find_if(kFormats.begin(), kFormats.end(),
                               [&](const AccountFormat& f) { return f.code == code; });
  return it == kFormats.end() ? nullptr : &*it;
}

std::string mask(const NumberFormat& format) {
  std::string m(static_cast<std::size_t>(format.digits), '9');
  if (format.checkDigits > 0)
    m += "-" + std::string(static_cast<std::size_t>(format.checkDigits),
                           format.checkMayBeLetter ? 'a' : '9');
  return m;
}

Masks masksFor(std::string_view code) {
  const AccountFormat* known = knownAccountFormat(code);
  const AccountFormat& f = known ? *known : kDefaultAccountFormat;
  return {mask(f.agency), mask(f.account), known != nullptr};
}

}  // namespace qbk::banklist
