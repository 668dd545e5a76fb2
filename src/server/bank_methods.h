// The methods of the remote object "Qbk51200.rdmBanco": the bank screen's reads (packets)
// and writes (deltas) of its tables.
#pragma once

#include <array>
#include <string_view>

#include "data/bank_protocol.h"
#include "server/rpc_dispatcher.h"

namespace qbk::server {

using data::kBankObjectName;
inline constexpr const auto& kNullableBankFields = data::kBancoNullableFields;

void registerBankMethods(Dispatcher& dispatcher);

}  // namespace qbk::server
