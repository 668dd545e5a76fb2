#include "server/packet_layouts.h"

#include <stdexcept>

namespace qbk::server {

using data::FieldDef;
using data::FieldType;

const PacketField* PacketLayout::field(std::string_view name) const {
  for (const auto& f : fields)
    if (f.def.name == name) return &f;
  return nullptr;
}

std::vector<FieldDef> PacketLayout::fieldDefs() const {
  std::vector<FieldDef> defs;
  defs.reserve(fields.size());
  for (const auto& f : fields) defs.push_back(f.def);
  return defs;
}

namespace {

PacketField text(const char* name, int size) {
  return {FieldDef{name, FieldType::String, size}};
}
PacketField number(const char* name) {
  return {FieldDef{name, FieldType::Float, 0}};
}
PacketField joined(PacketField f) {
  f.readOnly = true;
  return f;
}

// A layout whose writable fields do not match the catalog would write the wrong column
// or none at all; refuse it the first time it is built rather than at the first delta.
PacketLayout makeLayout(std::string_view tableName, std::vector<PacketField> fields) {
  PacketLayout layout{&table(tableName), std::move(fields)};
  for (const auto& f : layout.fields) {
    if (f.readOnly) continue;
    const ColumnSpec* c = layout.table->column(f.def.name);
    if (!c || c->type != f.def.type)
      throw std::logic_error("packet field " + f.def.name + " does not match table " +
                             layout.table->name);
  }
  return layout;
}

PacketLayout errCnab(const char* tableName, const char* code, const char* description) {
  return makeLayout(tableName, {text("CDBANCO", 3), text(code, 10), text(description, 200)});
}

}  // namespace

namespace layouts {

const PacketLayout& banco() {
  static const PacketLayout l = makeLayout(
      "BANCO",
      {text("CDPICTAGEN", 10), text("CDBANCO", 3), text("NMBANCO", 30), text("CDPICTCONT", 20),
       text("CDBANCCNAB", 3), number("QTDIAPRORCNT"), text("DSARQBOLCOMP", 100),
       text("DSARQBOLPREI", 100), text("DSARQCHEQUE", 100), text("DSARQBORDREC", 250),
       text("DSARQBORDPAG", 250), text("DSARQBORDCHQ", 250), text("CDBANCOCONV", 3),
       text("DSDIRIMPARQDDA", 250), text("DSEMAILDDA", 250), text("DSARQLOGMAR", 250)});
  return l;
}

const PacketLayout& emprBanc() {
  static const PacketLayout l = makeLayout(
      "EMPRBANC",
      {text("CDDIADEVOL", 1),         text("CDCOMPROMISSO", 4),     text("CDEMPRESA", 2),
       joined(text("NMEMPRESA", 40)), text("CDBANCO", 3),           text("CDEMPBANCPAG", 20),
       text("CDEMPBANCREC", 20),      text("CDCARTCOBR", 3),        text("CDINS1COBR", 2),
       text("CDINS2COBR", 2),         number("QTDIAPROTEST"),       text("IDIMPRBOLETO", 1),
       text("IDPADRCNABREC", 1),      text("IDCARTCOBR", 1),        text("TXMENSBOLETO", 500),
       text("CDDIAPROTEST", 1),       text("IDFORMCADBANC", 1),     text("IDLAYEXTBANCO", 3),
       text("NRVARIACARTCOB", 3),     text("IDLAYOUTCNAB", 3),      text("CDFORNECED", 21),
       text("NMRAZSOCFORN", 40),      text("IDTPIJURFORN", 1),      text("NRINSJURFORN", 20),
       text("CDTPBAIXAPAG", 2),       text("NMTPBAIXAPAG", 50),     text("CDREDUCONT", 3),
       text("CDBANCODDA", 3),         text("CDAGENCIA", 5),         text("IDCONSDTENVREM", 1),
       text("IDPADRAGENCNABPAG", 1),  text("CDCONTCORR", 20),       text("DSCONTCORR", 20),
       text("IDPADRCNABPAG", 20),     text("IDGERLINHACOMP", 1),    number("QTDIADEVOL"),
       text("IDREGSEGSCOB", 1),       text("IDGERLINHACOBEMAIL", 1)});
  return l;
}

const PacketLayout& errCnabPag() {
  static const PacketLayout l = errCnab("ERRCNABP", "CDERRCNABP", "DSERRCNABP");
  return l;
}

const PacketLayout& errCnabRec() {
  static const PacketLayout l = errCnab("ERRCNABR", "CDERRCNABR", "DSERRCNABR");
  return l;
}

const PacketLayout& instruCobr() {
  static const PacketLayout l = makeLayout(
      "INSTCOBRANCA", {text("CDBANCO", 3), text("NMINSTCOBR", 100), text("CDINSTCOBR", 2)});
  return l;
}

const PacketLayout& pesqInstru() {
  static const PacketLayout l = makeLayout(
      "INSTCOBRANCA", {text("CDINSTCOBR", 2), text("NMINSTCOBR", 100), text("CDBANCO", 3)});
  return l;
}

const PacketLayout& cdInstrucaoCob() {
  static const PacketLayout l = makeLayout(
      "INSTCOBRANCA", {text("CDBANCO", 3), text("CDINSTCOBR", 2), text("NMINSTCOBR", 100)});
  return l;
}

const PacketLayout& dda() {
  // The bank code travels with the width the DDA record set declares; the column is
  // still three characters, which the resolver enforces.
  static const PacketLayout l =
      makeLayout("BANCO", {text("DSDIRIMPARQDDA", 250), text("DSEMAILDDA", 250),
                           text("DSDIRIMPARQDDALOCAL", 250), text("CDBANCO", 20)});
  return l;
}

}  // namespace layouts

}  // namespace qbk::server
