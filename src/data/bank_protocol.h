// What the bank screen's client and the application server agree on beyond the wire
// format: the remote object's name and the fields whose names travel with SetBanco.
#pragma once

#include <array>
#include <string_view>

namespace qbk::data {

// The name of the remote object, as it appears in the request path.
inline constexpr std::string_view kBankObjectName = "Qbk51200.rdmBanco";

// The BANCO fields whose names travel beside a SetBanco delta, in call order: the name when
// the field is null in the current record, else the empty text.
inline constexpr std::array<std::string_view, 9> kBancoNullableFields = {
    "DSARQBOLCOMP", "DSARQBOLPREI", "DSARQCHEQUE",  "DSARQBORDREC", "DSARQBORDPAG",
    "DSARQBORDCHQ", "DSARQLOGMAR",  "QTDIAPRORCNT", "CDBANCOCONV"};

}  // namespace qbk::data
