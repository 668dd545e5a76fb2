// A list of institutions against the BANCO rows: the banks to add, the banks whose name
// differs, and the banks of the table that the list no longer has. The last are only shown:
// companies and CNAB settings may point at them, so an import never deletes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "banklist/account_formats.h"
#include "banklist/bank_list.h"
#include "banklist/stored_name.h"
#include "data/packet.h"

namespace qbk::banklist {

// The fixed-fund bank is the system's own row, not an institution: a list never names,
// adds or renames it.
inline constexpr std::string_view kFixedFundBank = "999";

struct Addition {
  Institution source;
  StoredName name;
  Masks masks;
};

struct Rename {
  std::string currentName;
  Institution source;
  StoredName name;
};

struct Absent {
  std::string code;
  std::string name;
};

struct Comparison {
  std::vector<Addition> added;
  std::vector<Rename> renamed;
  std::vector<Absent> absent;
  int unchanged = 0;  // banks of the list whose row holds the same name (sameName)

  bool empty() const { return added.empty() && renamed.empty(); }
};

// `banks` is the BANCO packet as GetBanco sends it; it must carry CDBANCO and NMBANCO
// (qbk::Error otherwise). Every group comes in code order.
Comparison compare(const BankList& list, const data::Packet& banks);

// Which rows of the first two groups go in, by index.
struct ImportChoice {
  std::vector<std::size_t> added;
  std::vector<std::size_t> renamed;

  static ImportChoice all(const Comparison& comparison);
  bool empty() const { return added.empty() && renamed.empty(); }
};

// The chosen changes as one delta over the fields of `banks`, the way the bank record set
// sends them: each new bank with its code, name, clearing-house code (its code) and masks,
// every other field null; each renamed bank as an update of its row as read. An index
// outside its group is a qbk::Error.
data::Delta importDelta(const data::Packet& banks, const Comparison& comparison,
                        const ImportChoice& choice);

}  // namespace qbk::banklist
