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

}  // namespace qbk::server
