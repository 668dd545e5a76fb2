// Writes a record set's pending changes to its table: all of them in one transaction, or
// none. Every change is checked before the database is touched (known fields, types,
// sizes, required values, keys); updates and deletes match the values the client read, so
// a row someone else changed meanwhile is refused instead of overwritten.
//
// Table and column names in the statements come only from the catalog; values only travel
// as bound parameters.
#pragma once

#include <string>

#include "data/packet.h"
#include "db/connection.h"
#include "server/packet_layouts.h"

namespace qbk::server {

struct ResolvePolicy {
  // Some record sets may only change existing rows (a bank's DDA settings live in its
  // BANCO row); an insert or delete is then refused with `insertDeleteRefusal`.
  bool allowInsertDelete = true;
  std::string insertDeleteRefusal;
  // A missing row reads as a row whose columns other than the key are all null. The
  // client sees such empty rows (a company without settings for a bank), so an update of
  // one inserts it and a delete of one changes nothing.
  bool missingRowIsNulls = false;
  // Every inserted or changed row names its bank in CDBANCO; one naming no bank is refused
  // before anything is written, with the bank's code in the message.
  bool rowsNeedBank = false;
};

// Throws ApplicationError for every refusal; nothing of the delta is then written.
void applyDelta(db::Connection& conn, const PacketLayout& layout, const data::Delta& delta,
                const ResolvePolicy& policy = {});

// The same checks and writes inside a write transaction that the caller opened and ends:
// after a refusal the caller must roll back. For tests that put another writer's steps
// between the writes and the commit.
void writeDelta(db::Connection& conn, const PacketLayout& layout, const data::Delta& delta,
                const ResolvePolicy& policy = {});

}  // namespace qbk::server
