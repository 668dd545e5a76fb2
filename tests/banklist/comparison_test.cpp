// A list against the BANCO rows, and the one delta the chosen changes become.
#include "banklist/comparison.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "support/expect_throw.h"

namespace qbk::banklist {
namespace {

using data::Change;
using data::FieldDef;
using data::FieldType;
using data::Packet;
using data::Row;
using data::Value;

// The fields as GetBanco sends them, and rows made from a code, a name and a mask.
Packet banks(const std::vector<std::pair<std::string, std::string>>& rows) {
  Packet p;
  p.fields = {{"CDPICTAGEN", FieldType::String, 10}, {"CDBANCO", FieldType::String, 3},
              {"NMBANCO", FieldType::String, 30},    {"CDPICTCONT", FieldType::String, 20},
              {"CDBANCCNAB", FieldType::String, 3},  {"QTDIAPRORCNT", FieldType::Float, 0}};
  for (const auto& [code, name] : rows)
    p.rows.push_back(
        {Value("9999"), Value(code), Value(name), Value("9999-9"), Value(code), Value(2.0)});
  return p;
}

BankList list(const std::vector<std::tuple<std::string, std::string, std::string>>& rows) {
  BankList l;
  int line = 2;
  for (const auto& [code, longName, shortName] : rows)
    l.institutions.push_back({code, longName, shortName, line++});
  return l;
}

TEST(BankListComparison, sortsTheListIntoThreeGroups) {
  const Packet table = banks({{"001", "Banco do Brasil S.A."},
                              {"004", "Banco do Nordeste"},
                              {"341", "Itaú Unibanco S.A."},
                              {"900", "Agência Própria"},
                              {"999", "Banco Fundo Fixo"}});
  const BankList source =
      list({{"001", "Banco do Brasil S.A.", "BCO DO BRASIL S.A."},
            {"004", "Banco do Nordeste do Brasil S.A.", "BCO DO NORDESTE DO BRASIL S.A."},
            {"077", "Banco Inter S.A.", "BANCO INTER"},
            // Letter case and accents aside, the name the table already holds.
            {"341", "ITAU UNIBANCO SA", "ITAU UNIBANCO SA"},
            {"999", "Uma Instituição Qualquer", "QUALQUER"}});
  const Comparison c = compare(source, table);

  ASSERT_EQ(c.added.size(), 1u);
  EXPECT_EQ(c.added[0].source.code, "077");
  EXPECT_EQ(c.added[0].name.text, "Banco Inter S.A.");
  ASSERT_EQ(c.renamed.size(), 1u);
  EXPECT_EQ(c.renamed[0].source.code, "004");
  EXPECT_EQ(c.renamed[0].currentName, "Banco do Nordeste");
  EXPECT_EQ(c.renamed[0].name.text, "Bco do Nordeste do Brasil S.A.");
  EXPECT_EQ(c.renamed[0].name.rule, NameRule::ShortName);
  // The table's own rows the list does not name are shown, the fixed-fund bank never.
  ASSERT_EQ(c.absent.size(), 1u);
  EXPECT_EQ(c.absent[0].code, "900");
  EXPECT_EQ(c.absent[0].name, "Agência Própria");
  EXPECT_EQ(c.unchanged, 2);
}

TEST(BankListComparison, deltaCarriesWhatTheSaveChecksNeed) {
  const Packet table = banks({{"004", "Banco do Nordeste"}, {"341", "Itaú"}});
  const BankList source = list({{"001", "Banco do Brasil S.A.", "BCO DO BRASIL S.A."},
                                {"004", "Banco do Nordeste S.A.", "BNB"},
                                {"077", "Banco Inter S.A.", "BANCO INTER"},
                                {"341", "Itaú Unibanco S.A.", "ITAU"}});
  const Comparison c = compare(source, table);
  ASSERT_EQ(c.added.size(), 2u);
  ASSERT_EQ(c.renamed.size(), 2u);

  // The first addition and the second rename, one of them ticked twice.
  const data::Delta d = importDelta(table, c, {{0, 0}, {1}});
  EXPECT_EQ(d.fields, table.fields);
  ASSERT_EQ(d.changes.size(), 2u);

  const Change& update = d.changes[0];
  EXPECT_EQ(update.op, Change::Op::Update);
  EXPECT_EQ(update.oldRow, table.rows[1]);
  Row renamed = table.rows[1];
  renamed[2] = Value("Itaú Unibanco S.A.");
  EXPECT_EQ(update.newRow, renamed);

  const Change& insert = d.changes[1];
  EXPECT_EQ(insert.op, Change::Op::Insert);
  EXPECT_EQ(insert.newRow, (Row{Value("9999-a"), Value("001"), Value("Banco do Brasil S.A."),
                                Value("99999999-a"), Value("001"), Value()}));

  EXPECT_TRUE(importDelta(table, c, {}).changes.empty());
  EXPECT_THROW_MSG(importDelta(table, c, {{2}, {}}), Error,
                   "Escolha fora da lista de bancos a incluir: 2.");
  Packet noNames = table;
  noNames.fields[2].name = "NOME";
  EXPECT_THROW_MSG(compare(source, noNames), Error, "O pacote de bancos não traz o campo NMBANCO.");
}

}  // namespace
}  // namespace qbk::banklist
