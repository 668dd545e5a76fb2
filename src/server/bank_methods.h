// The methods of the remote object "Qbk51200.rdmBanco": the bank screen's reads (packets)
// and writes (deltas) of its tables.
#pragma once

#include <array>
#include <string_view>

#include "server/rpc_dispatcher.h"

namespace qbk::server {

// The name of the remote object, as it appears in the request path.
inline constexpr std::string_view kBankObjectName = "Qbk51200.rdmBanco";

// The BANCO fields whose names the client sends beside a SetBanco delta, in call order.
inline constexpr std::array<std::string_view, 9> kNullableBankFields = {
    "DSARQBOLCOMP", "DSARQBOLPREI", "DSARQCHEQUE",  "DSARQBORDREC", "DSARQBORDPAG",
    "DSARQBORDCHQ", "DSARQLOGMAR",  "QTDIAPRORCNT", "CDBANCOCONV"};

void registerBankMethods(Dispatcher& dispatcher);

}  // namespace qbk::server
