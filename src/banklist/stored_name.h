// The name a bank gets in BANCO.NMBANCO, which holds 30 characters: the long name when it
// fits, else the central bank's short name made readable, shortened further only as far as
// needed. A name is never cut without saying so.
//
// Two names that differ only in letter case, accents, blanks or punctuation are the same
// name ("Itaú Unibanco S.A." and "ITAU UNIBANCO SA"): sameName() tells.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qbk::banklist {

inline constexpr std::size_t kNameWidth = 30;  // characters of NMBANCO

enum class NameRule {
  LongName,     // the long name as the list writes it, in title case if written in capitals
  ShortName,    // the short name in title case ("BCO DO BRASIL" -> "Banco do Brasil")
  Abbreviated,  // the short name with common words abbreviated
  Cut,          // still too long after every abbreviation: cut at a word, ending in "…"
};

struct StoredName {
  std::string text;
  NameRule rule = NameRule::LongName;
};

// "nome longo", "nome curto", "nome abreviado", "nome cortado": what the preview shows.
std::string_view describe(NameRule rule);

StoredName storedName(std::string_view longName, std::string_view shortName,
                      std::size_t width = kNameWidth);

bool sameName(std::string_view a, std::string_view b);

// The central bank's upper-case short name in title case: particles in lower case
// ("do", "de", "e"), acronyms and legal forms kept ("BTG", "DTVM", "S.A."), "LTDA" as "Ltda".
std::string titleCase(std::string_view upperCaseName);

}  // namespace qbk::banklist
