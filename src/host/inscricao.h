// Brazilian registration numbers: CPF (persons, type "F") and CNPJ (companies, type "J"),
// their normalisation, check digits and display masks.
//
// A CNPJ may be alphanumeric: its first twelve positions are digits or upper-case letters,
// the last two are always numeric check digits. Each character weighs (ASCII code - 48),
// so '0'..'9' keep their value and 'A' is 17; a numeric CNPJ is the special case.
#pragma once

#include <string>
#include <string_view>

namespace qbk::host {

inline constexpr char kPessoaFisica = 'F';
inline constexpr char kPessoaJuridica = 'J';
// Ajusta_Inscricao's answer for a number that is neither.
inline constexpr char kPessoaIndefinida = ' ';

inline constexpr std::string_view kCpfMask = "999.999.999-99";
// "A" positions take a digit or a letter, so the masked edit accepts alphanumeric CNPJs.
inline constexpr std::string_view kCnpjMask = "AA.AAA.AAA/AAAA-99";

// The characters of a registration number: digits and letters, upper-cased; punctuation
// and blanks dropped.
std::string registrationCharacters(std::string_view number);

// Normalises a registration number in place and returns its person type:
// - keeps digits and letters, upper-cased; drops punctuation and blanks;
// - digits only, up to 11: a CPF, left-filled with "0" to 11 (a number read from a numeric
//   column loses its leading zeros), type 'F';
// - 12 to 14 characters, or any letter with at most 14: a CNPJ, left-filled with "0" to
//   14, type 'J';
// - nothing left, or more than 14 characters: left as normalised, type ' '.
// The type says which rules apply; validCpf/validCnpj say whether the number is right.
char Ajusta_Inscricao(std::string& number);

// True for a CPF whose check digits are right; punctuation of the mask is ignored. A CPF
// of one repeated digit ("111.111.111-11") is refused although its digits add up.
bool validCpf(std::string_view number);
// True for a numeric or alphanumeric CNPJ whose check digits are right; punctuation is
// ignored and letters may be given in lower case. One repeated character is refused.
bool validCnpj(std::string_view number);

// The edit mask of a person type's number: 'F' -> kCpfMask, 'J' -> kCnpjMask, anything
// else -> "" (no mask). Letter case of the type does not matter.
std::string PictPess(std::string_view type);
std::string PictPess(char type);

// Formats a raw value (without the mask's literals) with an edit mask. Positions "9", "0",
// "#", "A", "a", "L", "l", "C", "c" each take the next character of the value; "\" makes
// the next mask character literal; ">" and "<" turn what follows to upper or lower case
// ("<>" ends that); any other character is a literal and is inserted. Whatever follows the
// first ";" (save-literals and blank-character settings) is not part of the layout.
// A value shorter than the mask stops after its last character; a longer one keeps its
// surplus at the end, so a number that does not fit is never shown cut.
std::string FormatMaskText(std::string_view mask, std::string_view value);

}  // namespace qbk::host
