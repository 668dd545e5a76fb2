// The methods of the remote object "Qbk51200.rdmBanco": the bank screen's reads (packets)
// and writes (deltas) of its tables.
#pragma once

#include <array>
#include <string_view>

#include "protocol/bank_object.h"
#include "server/rpc_dispatcher.h"

namespace qbk::server {

using protocol::kBankObjectName;
inline constexpr const auto& kNullableBankFields = protocol::kBancoNullableFields;

void registerBankMethods(Dispatcher& dispatcher);

// What SetBanco does with its delta, for the server's own writers of bank rows (the bank
// list import): every change in one transaction or none.
void applyBancoDelta(db::Connection& conn, const data::Delta& delta);

}  // namespace qbk::server
