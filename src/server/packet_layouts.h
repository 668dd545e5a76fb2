// The shape of each packet the server sends: the fields of the client record set it fills,
// in that record set's order and with its declared sizes, and the table they come from.
// The same description tells the delta resolver which delta fields are table columns and
// which are read-only fields joined from elsewhere.
#pragma once

#include <string_view>
#include <vector>

#include "data/value.h"
#include "server/catalog.h"

namespace qbk::server {

struct PacketField {
  data::FieldDef def;
  // Shown in the packet and accepted back in a delta, but never written: it belongs to
  // another table (a company's name beside its settings).
  bool readOnly = false;
};

struct PacketLayout {
  const TableSpec* table = nullptr;
  std::vector<PacketField> fields;

  const PacketField* field(std::string_view name) const;
  std::vector<data::FieldDef> fieldDefs() const;
};

namespace layouts {
const PacketLayout& banco();           // all banks (cdsBanco)
const PacketLayout& emprBanc();        // a bank's settings per company (cdsEmprBanc)
const PacketLayout& errCnabPag();      // payables return codes (cdsErrCnabPag)
const PacketLayout& errCnabRec();      // receivables return codes (cdsErrCnabRec)
const PacketLayout& instruCobr();      // collection instructions (cdsInstruCobr)
const PacketLayout& pesqInstru();      // instruction search list (cdsPesqInstru)
const PacketLayout& cdInstrucaoCob();  // instruction duplicate check (cdsCdInstrucaoCob)
const PacketLayout& dda();             // a bank's DDA settings (cdsDDA)
}  // namespace layouts

}  // namespace qbk::server
