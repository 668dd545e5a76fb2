// The 30-character name rule, on the long names of the list the product ships.
#include "banklist/stored_name.h"

#include <gtest/gtest.h>

#include <map>

#include "banklist/bank_list.h"
#include "data/value.h"

namespace qbk::banklist {
namespace {

const std::map<std::string, StoredName>& shippedNames() {
  static const std::map<std::string, StoredName> names = [] {
    std::map<std::string, StoredName> out;
    for (const Institution& i : builtInBankList().institutions)
      out[i.code] = storedName(i.longName, i.shortName);
    return out;
  }();
  return names;
}

void expectName(const std::string& code, const std::string& text, NameRule rule) {
  const StoredName& n = shippedNames().at(code);
  EXPECT_EQ(n.text, text) << code;
  EXPECT_EQ(n.rule, rule) << code << ": " << describe(n.rule);
}

TEST(StoredName, titleCaseKeepsAcronymsInitialsAndParticles) {
  EXPECT_EQ(titleCase("BCO DO ESTADO DO RS S.A."), "Bco do Estado do RS S.A.");
  EXPECT_EQ(titleCase("UBS (BRASIL) CORRETORA DE VALORES S.A."),
            "UBS (Brasil) Corretora de Valores S.A.");
  EXPECT_EQ(titleCase("BTG PACTUAL CTVM LTDA."), "BTG Pactual CTVM Ltda.");
  EXPECT_EQ(titleCase("COOPERATIVA DE CRÉDITO ÓTIMA E À EMPRESA"),
            "Cooperativa de Crédito Ótima e à Empresa");
  EXPECT_EQ(titleCase("MERCEDES-BENZ CFI S/A"), "Mercedes-Benz CFI S/A");
  EXPECT_EQ(titleCase("PEFISA S.A. - C.F.I."), "Pefisa S.A. - C.F.I.");
  EXPECT_EQ(titleCase("BANCO C6 S.A."), "Banco C6 S.A.");
  EXPECT_EQ(titleCase("DEUTSCHE BANK S.A.BCO ALEMAO"), "Deutsche Bank S.A.Bco Alemao");
  EXPECT_EQ(titleCase("BOFA MERRILL LYNCH BM S.A."), "Bofa Merrill Lynch BM S.A.");
  EXPECT_EQ(titleCase("DE OLHO"), "De Olho");  // a first word is never a particle
}

TEST(StoredName, longNameWhenItFitsElseTheShortNameMadeReadable) {
  // Fits: kept as the list writes it, trailing and inner blank runs aside.
  EXPECT_EQ(storedName("Banco do Brasil S.A.  ", "BCO DO BRASIL S.A.").text,
            "Banco do Brasil S.A.");
  expectName("001", "Banco do Brasil S.A.", NameRule::LongName);
  // A long name in capitals reads like the short names.
  expectName("033", "Banco Santander (Brasil) S.A.", NameRule::LongName);
  // 32 characters: the short name, "Bco" kept where "Banco" would not fit.
  expectName("004", "Bco do Nordeste do Brasil S.A.", NameRule::ShortName);
  expectName("041", "Banco do Estado do RS S.A.", NameRule::ShortName);
  expectName("007", "BNDES", NameRule::ShortName);
  expectName("015", "UBS BB CCTVM S.A.", NameRule::ShortName);
  expectName("085", "Coopcentral Ailos", NameRule::ShortName);
  // Short names over 30 characters: common words abbreviated only as far as needed.
  expectName("011", "UBS (Br.) Corr. de Val. S.A.", NameRule::Abbreviated);
  expectName("079", "Picpay Bank - BM S.A", NameRule::Abbreviated);
  expectName("141", "Master BI S.A. - em Liq.", NameRule::Abbreviated);
  expectName("243", "Bco Master - em Liq. Extrajud.", NameRule::Abbreviated);
  expectName("332", "Acesso Sol. de Pagto. - IP", NameRule::Abbreviated);
  expectName("410", "Planner SCD", NameRule::Abbreviated);
  // Nothing left to abbreviate: cut at a word, and said so.
  expectName("580", "Cccpoupinv Sul Sudeste Centr.…", NameRule::Cut);
}

TEST(StoredName, everyShippedNameFitsAndNoCutIsSilent) {
  int shortened = 0;
  for (const Institution& i : builtInBankList().institutions) {
    const StoredName& n = shippedNames().at(i.code);
    EXPECT_LE(data::utf8Length(n.text), kNameWidth) << i.code << " " << n.text;
    EXPECT_FALSE(n.text.empty()) << i.code;
    // Only a name marked as cut ends in an ellipsis, and a long name is only ever whole.
    EXPECT_EQ(n.rule == NameRule::Cut, n.text.ends_with("…")) << i.code << " " << n.text;
    if (n.rule == NameRule::LongName) {
      EXPECT_TRUE(sameName(n.text, i.longName)) << i.code;
    } else {
      ++shortened;
    }
  }
  // 395 of the long names are over 30 characters.
  EXPECT_EQ(shortened, 395);
}

}  // namespace
}  // namespace qbk::banklist
