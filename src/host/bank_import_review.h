// What the preview of a bank-list import shows a person, and what the person chose: the
// banks to add, the banks whose name differs and the banks the list no longer has (which
// are only shown: an import never deletes).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qbk::host {

struct BankImportRow {
  std::string code;
  std::string currentName;  // what the table holds; empty for a bank to add
  std::string storedName;   // what the table will hold; empty for a bank the list lacks
  std::string sourceName;   // the list's long name; empty for a bank the list lacks
  std::string note;         // how the name was made, the masks a new bank gets
};

struct BankImportReview {
  std::string source;  // the list read: the built-in one or the file's path
  std::vector<BankImportRow> added;
  std::vector<BankImportRow> renamed;
  std::vector<BankImportRow> absent;
};

// The ticked rows of the first two groups, by index in ascending order.
struct BankImportChoice {
  std::vector<int> added;
  std::vector<int> renamed;

  bool operator==(const BankImportChoice&) const = default;
};

}  // namespace qbk::host
