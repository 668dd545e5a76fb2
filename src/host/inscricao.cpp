#include "host/inscricao.h"

#include <array>
#include <span>

namespace qbk::host {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool isLower(char c) {
  return c >= 'a' && c <= 'z';
}
char toUpper(char c) {
  return isLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
char toLower(char c) {
  return isUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

bool allDigits(std::string_view s) {
  for (char c : s) {
    if (!isDigit(c)) return false;
  }
  return true;
}

bool allSame(std::string_view s) {
  return s.find_first_not_of(s.front()) == std::string_view::npos;
}

// Mod-11 check digit over the leading characters of `s` that the weights cover.
int checkDigit(std::string_view s, std::span<const int> weights) {
  int sum = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) sum += (s[i] - '0') * weights[i];
  int rest = sum % 11;
  return rest < 2 ? 0 : 11 - rest;
}

}  // namespace

std::string registrationCharacters(std::string_view number) {
  std::string out;
  out.reserve(number.size());
  for (char c : number) {
    if (isDigit(c) || isUpper(c)) {
      out += c;
    } else if (isLower(c)) {
      out += toUpper(c);
    }
  }
  return out;
}

char Ajusta_Inscricao(std::string& number) {
  number = registrationCharacters(number);
  const std::size_t length = number.size();
  if (length == 0 || length > 14) return kPessoaIndefinida;
  if (length <= 11 && allDigits(number)) {
    number.insert(0, 11 - length, '0');
    return kPessoaFisica;
  }
  number.insert(0, 14 - length, '0');
  return kPessoaJuridica;
}

bool validCpf(std::string_view number) {
  static constexpr std::array<int, 10> kWeights{11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
  std::string cpf = registrationCharacters(number);
  if (cpf.size() != 11 || !allDigits(cpf) || allSame(cpf)) return false;
  return checkDigit(cpf, std::span(kWeights).subspan(1)) == cpf[9] - '0' &&
         checkDigit(cpf, kWeights) == cpf[10] - '0';
}

bool validCnpj(std::string_view number) {
  static constexpr std::array<int, 13> kWeights{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  std::string cnpj = registrationCharacters(number);
  if (cnpj.size() != 14 || !allDigits(std::string_view(cnpj).substr(12)) || allSame(cnpj)) {
    return false;
  }
  return checkDigit(cnpj, std::span(kWeights).subspan(1)) == cnpj[12] - '0' &&
         checkDigit(cnpj, kWeights) == cnpj[13] - '0';
}

std::string PictPess(char type) {
  switch (toUpper(type)) {
    case kPessoaFisica:
      return std::string(kCpfMask);
    case kPessoaJuridica:
      return std::string(kCnpjMask);
    default:
      return {};
  }
}

std::string PictPess(std::string_view type) {
  return type.size() == 1 ? PictPess(type.front()) : std::string();
}

std::string FormatMaskText(std::string_view mask, std::string_view value) {
  mask = mask.substr(0, mask.find(';'));
  static constexpr std::string_view kPositions = "90#AaLlCc";
  enum class Case { Keep, Upper, Lower } letterCase = Case::Keep;
  std::string out;
  std::size_t next = 0;
  std::string pendingLiterals;  // literals are written only when a value character follows
  for (std::size_t i = 0; i < mask.size() && next < value.size(); ++i) {
    char m = mask[i];
    if (m == '>' || m == '<') {
      if (m == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
        letterCase = Case::Keep;
        ++i;
      } else {
        letterCase = m == '>' ? Case::Upper : Case::Lower;
      }
      continue;
    }
    if (m == '!') continue;  // a layout flag, not a character
    if (m == '\\' && i + 1 < mask.size()) {
      pendingLiterals += mask[++i];
      continue;
    }
    if (kPositions.find(m) == std::string_view::npos) {
      pendingLiterals += m;
      continue;
    }
    char c = value[next++];
    if (letterCase == Case::Upper) c = toUpper(c);
    if (letterCase == Case::Lower) c = toLower(c);
    out += pendingLiterals;
    pendingLiterals.clear();
    out += c;
  }
  out.append(value.substr(next));
  return out;
}

}  // namespace qbk::host
