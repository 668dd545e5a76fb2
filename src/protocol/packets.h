// Every packet the bank object sends: its fields in the order of the client record set it
// fills, with the sizes and labels both sides use, and the table its writable fields are
// columns of. The server builds its replies and checks deltas from these; the screen
// declares its record sets from them.
#pragma once

#include <string_view>

#include "protocol/field_spec.h"

namespace qbk::protocol {

struct PacketSpec {
  std::string_view table;  // where the fields that are not joined are columns
  FieldList fields;

  const FieldSpec* field(std::string_view name) const { return findField(fields, name); }
};

namespace packets {
extern const PacketSpec banco;           // all banks: GetBanco, SetBanco
extern const PacketSpec emprBanc;        // a bank's settings per company: GetEmprBanc, SetEmprBanc
extern const PacketSpec errCnabPag;      // payables return codes: GetErrCnabPag, GetCodigoPag
extern const PacketSpec errCnabRec;      // receivables return codes: GetErrCnabRec, GetCodigoRec
extern const PacketSpec instruCobr;      // collection instructions: GetInstruCobr, SetInstruCobr
extern const PacketSpec pesqInstru;      // instruction search list: GetPesqInstru
extern const PacketSpec cdInstrucaoCob;  // instruction duplicate check: VerifInstru
extern const PacketSpec dda;             // a bank's DDA settings: GetBancoDDA, SetBancoDDA
}  // namespace packets

}  // namespace qbk::protocol
