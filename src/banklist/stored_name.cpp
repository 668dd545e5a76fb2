#include "banklist/stored_name.h"

#include <algorithm>
#include <array>
#include <vector>

#include "banklist/latin_text.h"
#include "data/value.h"

namespace qbk::banklist {

namespace {

using Words = std::vector<std::string>;

// Written in lower case inside a name.
constexpr std::array<std::string_view, 20> kParticles = {
    "A",  "O",   "E",   "DE", "DA",  "DO",  "DAS",  "DOS", "EM",       "NO",
    "NA", "NOS", "NAS", "AO", "AOS", "COM", "PARA", "POR", "\xC3\x80", "\xC3\x80S"};  // À, ÀS

// Acronyms with a vowel, which the no-vowel rule would not keep in capitals.
constexpr std::array<std::string_view, 23> kAcronyms = {
    "UBS",  "BNDES", "ICBC", "ICAP", "SCFI", "CFI", "SEP", "CVC", "CCV",  "CVM", "CVMC", "SCMEPP",
    "CECM", "BBVA",  "BOC",  "BCE",  "FFA",  "FDO", "HBI", "ATF", "CCLA", "RJI", "BPY"};

bool contains(const auto& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

bool isAlnum(char32_t c) {
  return isLetter(c) || isDigit(c);
}

// One run of letters of an upper-case name, in the case it takes in the title.
std::u32string runCase(const std::u32string& run) {
  const std::string fold = foldWord(encodeUtf8(run));
  if (fold == "LTDA") return U"Ltda";
  // A run without a vowel is an acronym ("BTG", "DTVM"); "Y" counts, for "LYNCH".
  const bool vowel = std::any_of(run.begin(), run.end(),
                                 [](char32_t c) { return isVowel(c) || foldLetter(c) == 'Y'; });
  if (run.size() <= 2 || !vowel || contains(kAcronyms, fold)) {
    std::u32string up = run;
    std::transform(up.begin(), up.end(), up.begin(), [](char32_t c) { return toUpper(c); });
    return up;
  }
  std::u32string out;
  for (char32_t c : run) out.push_back(out.empty() ? toUpper(c) : toLower(c));
  return out;
}

std::string wordCase(std::string_view word, bool first) {
  const std::u32string w = decodeUtf8(word);
  if (std::any_of(w.begin(), w.end(), [](char32_t c) { return isDigit(c); }))
    return std::string(word);  // "C6", "BS2": codes, kept as written
  std::vector<std::u32string> runs;
  std::u32string current;
  for (char32_t c : w) {
    if (isLetter(c)) {
      current.push_back(c);
    } else if (!current.empty()) {
      runs.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) runs.push_back(std::move(current));
  if (runs.empty()) return std::string(word);
  // "S.A.", "S/A", "C.F.I.": initials, kept as written.
  if (runs.size() > 1 &&
      std::all_of(runs.begin(), runs.end(), [](const auto& r) { return r.size() == 1; }))
    return std::string(word);
  if (runs.size() == 1 && runs.front().size() == w.size()) {
    std::u32string upper = w;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char32_t c) { return toUpper(c); });
    if (contains(kParticles, encodeUtf8(upper))) {
      // "do", "e"; a name that starts with one starts with a capital: "De Olho".
      std::u32string out;
      for (char32_t c : w) out.push_back(first && out.empty() ? toUpper(c) : toLower(c));
      return encodeUtf8(out);
    }
  }
  std::u32string out;
  std::u32string run;
  auto flush = [&] {
    if (run.empty()) return;
    out += runCase(run);
    run.clear();
  };
  for (char32_t c : w) {
    if (isLetter(c)) {
      run.push_back(c);
    } else {
      flush();
      out.push_back(c);
    }
  }
  flush();
  return encodeUtf8(out);
}

Words split(std::string_view text) {
  Words words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] != ' ') ++j;
    if (j > i) words.emplace_back(text.substr(i, j - i));
    i = j;
  }
  return words;
}

std::string join(const Words& words) {
  std::string s;
  for (const auto& w : words) {
    if (!s.empty()) s += ' ';
    s += w;
  }
  return s;
}

std::size_t length(const Words& words) {
  return data::utf8Length(join(words));
}

// ---- shortening ------------------------------------------------------------------------

enum class Step { Replace, DropLegalForms, DropDashes, DropParticles };

struct Rule {
  Step step;
  std::string_view pattern;      // folded words: "CORRETORA DE CAMBIO"
  std::string_view replacement;  // written as the name shows it
};

// In order of what a reader loses least: the central bank's own acronyms for kinds of
// institution first, then state names, then single words, then what is mere decoration.
constexpr Rule kRules[] = {
    {Step::Replace, "INSTITUICAO DE PAGAMENTO", "IP"},
    {Step::Replace, "SOCIEDADE DE CREDITO DIRETO", "SCD"},
    {Step::Replace, "DISTRIBUIDORA DE TITULOS E VALORES MOBILIARIOS", "DTVM"},
    {Step::Replace, "CORRETORA DE TITULOS E VALORES MOBILIARIOS", "CTVM"},
    {Step::Replace, "CORRETORA DE CAMBIO TITULOS E VALORES MOBILIARIOS", "CCTVM"},
    {Step::Replace, "SOCIEDADE DE CREDITO FINANCIAMENTO E INVESTIMENTO", "SCFI"},
    {Step::Replace, "CREDITO FINANCIAMENTO E INVESTIMENTO", "CFI"},
    {Step::Replace, "CREDITO FINANCIAMENTO E INVESTIMENTOS", "CFI"},
    {Step::Replace, "CORRETORA DE CAMBIO", "CC"},
    {Step::Replace, "BANCO MULTIPLO", "BM"},
    {Step::Replace, "BANCO DE INVESTIMENTO", "BI"},
    {Step::Replace, "EM LIQUIDACAO EXTRAJUDICIAL", "em Liq. Extrajud."},
    {Step::Replace, "RIO GRANDE DO SUL", "RS"},
    {Step::Replace, "RIO GRANDE DO NORTE", "RN"},
    {Step::Replace, "SANTA CATARINA", "SC"},
    {Step::Replace, "SAO PAULO", "SP"},
    {Step::Replace, "RIO DE JANEIRO", "RJ"},
    {Step::Replace, "ESPIRITO SANTO", "ES"},
    {Step::Replace, "MINAS GERAIS", "MG"},
    {Step::Replace, "MATO GROSSO DO SUL", "MS"},
    {Step::Replace, "MATO GROSSO", "MT"},
    {Step::Replace, "DISTRITO FEDERAL", "DF"},
    {Step::Replace, "COOPERATIVAS", "Coops."},
    {Step::Replace, "COOPERATIVA", "Coop."},
    {Step::Replace, "CREDITO", "Créd."},
    {Step::Replace, "INVESTIMENTOS", "Invest."},
    {Step::Replace, "INVESTIMENTO", "Invest."},
    {Step::Replace, "DISTRIBUIDORA", "Distrib."},
    {Step::Replace, "CORRETORA", "Corr."},
    {Step::Replace, "CAMBIO", "Câmb."},
    {Step::Replace, "SOCIEDADE", "Soc."},
    {Step::Replace, "FINANCIAMENTO", "Financ."},
    {Step::Replace, "FINANCEIRAS", "Financ."},
    {Step::Replace, "FINANCEIRA", "Financ."},
    {Step::Replace, "FINANCEIROS", "Financ."},
    {Step::Replace, "FINANCIADORA", "Financ."},
    {Step::Replace, "PAGAMENTOS", "Pagtos."},
    {Step::Replace, "PAGAMENTO", "Pagto."},
    {Step::Replace, "INSTITUICAO", "Inst."},
    {Step::Replace, "TITULOS", "Tít."},
    {Step::Replace, "VALORES", "Val."},
    {Step::Replace, "MOBILIARIOS", "Mob."},
    {Step::Replace, "CENTRAL", "Centr."},
    {Step::Replace, "NACIONAL", "Nac."},
    {Step::Replace, "ECONOMIA", "Econ."},
    {Step::Replace, "MUTUO", "Mút."},
    {Step::Replace, "ESTADOS", "Est."},
    {Step::Replace, "ESTADO", "Est."},
    {Step::Replace, "MULTIPLO", "Múlt."},
    {Step::Replace, "COMERCIAL", "Com."},
    {Step::Replace, "BRASIL", "Br."},
    {Step::Replace, "BANCO", "Bco"},
    {Step::Replace, "SERVIDORES", "Serv."},
    {Step::Replace, "PARTICIPACOES", "Part."},
    {Step::Replace, "ASSOCIADOS", "Assoc."},
    {Step::Replace, "SOLIDARIA", "Solid."},
    {Step::Replace, "CONFEDERACAO", "Confed."},
    {Step::Replace, "SOLUCOES", "Sol."},
    {Step::Replace, "DESENVOLVIMENTO", "Desenv."},
    {Step::Replace, "TECNOLOGICAS", "Tecnol."},
    {Step::Replace, "INTEGRACAO", "Integr."},
    {Step::Replace, "COBRANCA", "Cobr."},
    {Step::Replace, "EM LIQ EXTRAJUD", "em Liq."},
    {Step::DropLegalForms, "", ""},
    {Step::DropDashes, "", ""},
    {Step::DropParticles, "", ""},
};

bool isPunctuation(char32_t c) {
  return !isAlnum(c) && c != ' ';
}

// What stands before the first letter and after the last one: "(" and ")" of "(BRASIL)".
std::pair<std::string, std::string> edges(const std::string& word) {
  const std::u32string w = decodeUtf8(word);
  std::size_t a = 0;
  while (a < w.size() && isPunctuation(w[a])) ++a;
  std::size_t b = w.size();
  while (b > a && isPunctuation(w[b - 1])) --b;
  return {encodeUtf8(w.substr(0, a)), encodeUtf8(w.substr(b))};
}

Words replaced(const Words& words, const Rule& rule) {
  const Words pattern = split(rule.pattern);
  Words out;
  std::size_t i = 0;
  while (i < words.size()) {
    bool hit = i + pattern.size() <= words.size();
    for (std::size_t k = 0; hit && k < pattern.size(); ++k)
      hit = foldWord(words[i + k]) == pattern[k];
    if (!hit) {
      out.push_back(words[i++]);
      continue;
    }
    const std::string lead = edges(words[i]).first;
    std::string trail = edges(words[i + pattern.size() - 1]).second;
    std::string text(rule.replacement);
    if (text.ends_with('.') && trail.starts_with('.')) trail.erase(0, 1);
    Words rep = split(lead + text + trail);
    out.insert(out.end(), rep.begin(), rep.end());
    i += pattern.size();
  }
  return out;
}

Words dropped(const Words& words, Step step) {
  Words out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    const std::string fold = foldWord(w);
    bool drop = false;
    switch (step) {
      case Step::DropLegalForms:
        drop = i > 0 && (fold == "LTDA" || (fold == "SA" && w.size() > 2));  // S.A., S/A
        break;
      case Step::DropDashes:
        drop = fold.empty();
        break;
      case Step::DropParticles:
        // Only what the title wrote as a particle, in lower case: not the "E" of "Bco E".
        if (i > 0 && contains(kParticles, fold)) {
          const char32_t c = decodeUtf8(w).front();
          drop = c == toLower(c);
        }
        break;
      case Step::Replace:
        break;
    }
    if (!drop) out.push_back(w);
  }
  return out;
}

std::string cut(const Words& words, std::size_t width) {
  static const std::string kEllipsis = "\xE2\x80\xA6";  // …
  Words kept;
  for (const auto& w : words) {
    Words next = kept;
    next.push_back(w);
    if (length(next) + 1 > width) break;
    kept = std::move(next);
  }
  while (!kept.empty() && foldWord(kept.back()).empty()) kept.pop_back();
  if (kept.empty()) return std::string(data::utf8Prefix(join(words), width - 1)) + kEllipsis;
  return join(kept) + kEllipsis;
}

}  // namespace

std::string_view describe(NameRule rule) {
  switch (rule) {
    case NameRule::LongName:
      return "nome longo";
    case NameRule::ShortName:
      return "nome curto";
    case NameRule::Abbreviated:
      return "nome abreviado";
    case NameRule::Cut:
      return "nome cortado";
  }
  return "";
}

bool sameName(std::string_view a, std::string_view b) {
  return foldWord(a) == foldWord(b);
}

std::string titleCase(std::string_view name) {
  Words words = split(name);
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = wordCase(words[i], i == 0);
  return join(words);
}

StoredName storedName(std::string_view longName, std::string_view shortName, std::size_t width) {
  std::string longText = join(split(longName));
  if (data::utf8Length(longText) <= width) {
    // Many long names are written in capitals; those read like the short names do.
    const std::u32string wide = decodeUtf8(longText);
    if (std::none_of(wide.begin(), wide.end(), [](char32_t c) { return c != toUpper(c); }))
      longText = titleCase(longText);
    return {longText, NameRule::LongName};
  }

  Words words = split(titleCase(shortName.empty() ? longName : shortName));
  // The central bank writes "BCO" for "Banco" to save room; where there is room, spell it.
  Words spelt = words;
  for (auto& w : spelt)
    if (w == "Bco") w = "Banco";
  if (length(spelt) <= width) return {join(spelt), NameRule::ShortName};
  if (length(words) <= width) return {join(words), NameRule::ShortName};

  for (const Rule& rule : kRules) {
    words = rule.step == Step::Replace ? replaced(words, rule) : dropped(words, rule.step);
    if (length(words) <= width) return {join(words), NameRule::Abbreviated};
  }
  return {cut(words, width), NameRule::Cut};
}

}  // namespace qbk::banklist
