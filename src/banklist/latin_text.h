// Letter case and accents of the Portuguese texts the lists hold. Institution names are
// ASCII and Latin-1 letters (Á, Ç, Õ, ...); other characters pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace qbk::banklist {

std::u32string decodeUtf8(std::string_view text);  // expects well-formed UTF-8
std::string encodeUtf8(std::u32string_view text);

bool isLetter(char32_t c);
bool isDigit(char32_t c);
bool isVowel(char32_t c);  // accented vowels included
char32_t toUpper(char32_t c);
char32_t toLower(char32_t c);
// The upper-case letter without its accent ("ç" -> 'C'); other characters unchanged.
char32_t foldLetter(char32_t c);

// The letters and digits of a word, upper case and without accents: "Crédito," -> "CREDITO".
std::string foldWord(std::string_view word);

// Windows-1252 (what spreadsheets on Brazilian Windows save) to UTF-8. Returns false, and
// leaves `out` unspecified, when a byte has no character in that code page.
bool windows1252ToUtf8(std::string_view text, std::string& out);

}  // namespace qbk::banklist
