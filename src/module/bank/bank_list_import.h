// "Importar Lista de Bancos...": fills and refreshes the banks from the central bank's list
// (or the built-in one). The person picks the list, sees the banks to add, the banks whose
// name differs and the banks the list no longer has, and ticks what goes in; the ticked rows
// go to the server as one SetBanco delta, all of them or none, and the banks are read again.
#pragma once

#include "data/record_set.h"
#include "host/bank_import_review.h"
#include "host/messages.h"
#include "host/net_connection.h"

namespace qbk::banklist {
struct BankList;
struct Comparison;
}  // namespace qbk::banklist

namespace qbk::module {

struct BankListImportOutcome {
  bool applied = false;  // false: cancelled, nothing ticked, or nothing to change
  int added = 0;
  int renamed = 0;
};

// The preview's rows for a comparison, and where the list came from.
host::BankImportReview bankImportReview(const banklist::Comparison& comparison,
                                        const std::string& source);

// Runs the whole command over `cdsBanco`, which must be in browse mode with nothing
// pending (the menu entry is open only then). `owner` is the screen the progress indicator
// shows over. A list that cannot be read is shown through MensErro and aborts; a refusal by
// the server (a bank someone changed or added meanwhile) raises the server's text and
// nothing is written. After a send, cdsBanco holds the banks as the server has them, on the
// bank that was current.
BankListImportOutcome importBankList(data::RecordSet& cdsBanco, host::NetConnection& net,
                                     const host::TMessages& messages, const void* owner);

}  // namespace qbk::module
