#include "server/catalog.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace qbk::server {

namespace {

using data::FieldType;

ColumnSpec text(std::string name, int size) {
  return {std::move(name), FieldType::String, size};
}
ColumnSpec required(std::string name, int size) {
  return {std::move(name), FieldType::String, size, true};
}
ColumnSpec number(std::string name) {
  return {std::move(name), FieldType::Float, 0};
}

// Settings and codes that belong to one bank go with it.
ForeignKeySpec ownedByBank() {
  return {{"CDBANCO"}, "BANCO", {"CDBANCO"}, true};
}

std::vector<TableSpec> buildCatalog() {
  std::vector<TableSpec> tables;

  tables.push_back(
      {"BANCO",
       {required("CDBANCO", 3), required("NMBANCO", 30), text("CDPICTAGEN", 10),
        text("CDPICTCONT", 20), text("CDBANCCNAB", 3), number("QTDIAPRORCNT"),
        text("DSARQBOLCOMP", 100), text("DSARQBOLPREI", 100), text("DSARQCHEQUE", 100),
        text("DSARQBORDREC", 250), text("DSARQBORDPAG", 250), text("DSARQBORDCHQ", 250),
        text("CDBANCOCONV", 3), text("DSDIRIMPARQDDA", 250), text("DSEMAILDDA", 250),
        text("DSARQLOGMAR", 250), text("DSDIRIMPARQDDALOCAL", 250)},
       {"CDBANCO"},
       {}});

  tables.push_back({"EMPRESA",
                    {required("CDEMPRESA", 2), required("NMEMPRESA", 40), text("NRINSJUREMPR", 20)},
                    {"CDEMPRESA"},
                    {}});

  // One row per company and bank; the company's name is read from EMPRESA, and the
  // supplier, write-off type and account fields keep the copies the screen made.
  tables.push_back(
      {"EMPRBANC",
       {text("CDDIADEVOL", 1),        text("CDCOMPROMISSO", 4),  required("CDEMPRESA", 2),
        required("CDBANCO", 3),       text("CDEMPBANCPAG", 20),  text("CDEMPBANCREC", 20),
        text("CDCARTCOBR", 3),        text("CDINS1COBR", 2),     text("CDINS2COBR", 2),
        number("QTDIAPROTEST"),       text("IDIMPRBOLETO", 1),   text("IDPADRCNABREC", 1),
        text("IDCARTCOBR", 1),        text("TXMENSBOLETO", 500), text("CDDIAPROTEST", 1),
        text("IDFORMCADBANC", 1),     text("IDLAYEXTBANCO", 3),  text("NRVARIACARTCOB", 3),
        text("IDLAYOUTCNAB", 3),      text("CDFORNECED", 21),    text("NMRAZSOCFORN", 40),
        text("IDTPIJURFORN", 1),      text("NRINSJURFORN", 20),  text("CDTPBAIXAPAG", 2),
        text("NMTPBAIXAPAG", 50),     text("CDREDUCONT", 3),     text("CDBANCODDA", 3),
        text("CDAGENCIA", 5),         text("IDCONSDTENVREM", 1), text("IDPADRAGENCNABPAG", 1),
        text("CDCONTCORR", 20),       text("DSCONTCORR", 20),    text("IDPADRCNABPAG", 20),
        text("IDGERLINHACOMP", 1),    number("QTDIADEVOL"),      text("IDREGSEGSCOB", 1),
        text("IDGERLINHACOBEMAIL", 1)},
       {"CDEMPRESA", "CDBANCO"},
       {ownedByBank(), {{"CDEMPRESA"}, "EMPRESA", {"CDEMPRESA"}, false}}});

  tables.push_back({"ERRCNABP",
                    {required("CDBANCO", 3), required("CDERRCNABP", 10), text("DSERRCNABP", 200)},
                    {"CDBANCO", "CDERRCNABP"},
                    {ownedByBank()}});

  tables.push_back({"ERRCNABR",
                    {required("CDBANCO", 3), required("CDERRCNABR", 10), text("DSERRCNABR", 200)},
                    {"CDBANCO", "CDERRCNABR"},
                    {ownedByBank()}});

  tables.push_back({"INSTCOBRANCA",
                    {required("CDBANCO", 3), required("CDINSTCOBR", 2), text("NMINSTCOBR", 100)},
                    {"CDBANCO", "CDINSTCOBR"},
                    {ownedByBank()}});

  tables.push_back({"FORNECEDOR",
                    {required("CDFORNECED", 21), text("NRINSJURFORN", 20), text("NMFANTFORN", 40),
                     text("NMRAZSOCFORN", 40), text("IDTPIJURFORN", 1), text("CDTPCTPAGAR", 6),
                     text("IDSITUCADA", 1), text("IDAGRUBOLFOR", 1), text("CDTPBAIXAPAG", 2)},
                    {"CDFORNECED"},
                    {}});

  tables.push_back({"TIPOBAIXAPAG",
                    {required("CDTPBAIXAPAG", 2), text("NMTPBAIXAPAG", 50), text("IDBAIXAUTILP", 1),
                     number("VRMAXDOCCNAB")},
                    {"CDTPBAIXAPAG"},
                    {}});

  // No cascade: a bank that a current account still uses cannot be deleted.
  tables.push_back({"CONTCORR",
                    {required("CDEMPRESA", 2), required("CDREDUCONT", 3), text("CDBANCO", 3),
                     text("CDAGENCIA", 5), text("CDCONTCORR", 10), text("DSCONTCORR", 20)},
                    {"CDEMPRESA", "CDREDUCONT"},
                    {{{"CDBANCO"}, "BANCO", {"CDBANCO"}, false},
                     {{"CDEMPRESA"}, "EMPRESA", {"CDEMPRESA"}, false}}});

  tables.push_back({"MSGPADRAOBANCO",
                    {required("CDBANCCNAB", 3), text("TXMENSBOLETO", 500)},
                    {"CDBANCCNAB"},
                    {}});

  return tables;
}

}  // namespace

const ColumnSpec* TableSpec::column(std::string_view wanted) const {
  for (const auto& c : columns)
    if (c.name == wanted) return &c;
  return nullptr;
}

bool TableSpec::isKey(std::string_view wanted) const {
  return std::find(key.begin(), key.end(), wanted) != key.end();
}

const std::vector<TableSpec>& catalog() {
  static const std::vector<TableSpec> tables = buildCatalog();
  return tables;
}

const TableSpec& table(std::string_view name) {
  for (const auto& t : catalog())
    if (t.name == name) return t;
  throw std::out_of_range("Tabela desconhecida: " + std::string(name));
}

}  // namespace qbk::server
