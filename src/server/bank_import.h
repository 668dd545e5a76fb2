// `qbk-server import-banks [FILE] [--dry-run]`: fills and refreshes BANCO from a list of
// institutions (the central bank's file of STR participants, or the built-in list), for
// administrators. It shows the banks to add, the banks whose name differs and the banks the
// list no longer has (never deleted), then writes the first two groups as one SetBanco
// delta: all of it or nothing, so a change someone made meanwhile refuses the whole import.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "banklist/bank_list.h"
#include "banklist/comparison.h"
#include "db/connection.h"

namespace qbk::server {

struct BankImportResult {
  banklist::Comparison comparison;
  bool applied = false;  // false for a dry run and when there was nothing to write
};

// Reads the BANCO rows, compares them with `list` and, when `apply`, writes every addition
// and rename through the SetBanco resolver. `beforeApply` runs between the read and the
// write (a test's concurrent change goes there). A refusal throws ApplicationError and
// nothing is written.
BankImportResult importBanks(db::Connection& conn, const banklist::BankList& list, bool apply,
                             const std::function<void()>& beforeApply = {});

// The command: reads `file` (the built-in list when there is none), runs the import and
// prints the three groups, what each new bank gets and the outcome to `out`. Returns the
// exit status; a list that cannot be read and a refused import throw with their message.
int runBankImportCommand(db::Connection& conn, const std::optional<std::string>& file, bool dryRun,
                         std::FILE* out);

}  // namespace qbk::server
