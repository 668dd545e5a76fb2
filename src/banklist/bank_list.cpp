#include "banklist/bank_list.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "banklist/csv_records.h"
#include "banklist/latin_text.h"
#include "banklist/list_error.h"
#include "data/value.h"

namespace qbk::banklist {

namespace resource {
extern const std::string_view bancos_brasileiros;
}

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The columns each format is known by; a header must name all of them (others may follow).
struct Layout {
  ListFormat format;
  std::string_view code, longName, shortName;
  std::vector<std::string_view> header;  // as the source writes it
};

const Layout& centralBankLayout() {
  static const Layout l{ListFormat::CentralBank,
                        "Número_Código",
                        "Nome_Extenso",
                        "Nome_Reduzido",
                        {"ISPB", "Nome_Reduzido", "Número_Código", "Participa_da_Compe",
                         "Acesso_Principal", "Nome_Extenso", "Início_da_Operação"}};
  return l;
}

const Layout& shippedLayout() {
  static const Layout l{ListFormat::Shipped,
                        "COMPE",
                        "LongName",
                        "ShortName",
                        {"COMPE", "ISPB", "Document", "LongName", "ShortName", "Network", "Type",
                         "Charge", "DateOperationStarted"}};
  return l;
}

std::string joinedHeader(const Layout& l) {
  std::string s;
  for (std::string_view name : l.header) {
    if (!s.empty()) s += ",";
    s += name;
  }
  return s;
}

std::string trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return std::string(s.substr(first, last - first + 1));
}

// Trailing blanks pad the central bank's long names; some names hold runs of blanks inside.
std::string collapsedBlanks(std::string_view s) {
  std::string out;
  bool blank = false;
  for (char c : s) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out.push_back(' ');
    blank = false;
    out.push_back(c);
  }
  return out;
}

struct Columns {
  const Layout* layout;
  std::size_t code, longName, shortName;
};

std::optional<Columns> match(const Layout& layout, const std::vector<std::string>& header) {
  // Letter case, accents and separators aside: "Numero Codigo" names "Número_Código".
  auto find = [&](std::string_view name) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < header.size(); ++i)
      if (foldWord(header[i]) == foldWord(name)) return i;
    return std::nullopt;
  };
  for (std::string_view name : layout.header)
    if (!find(name)) return std::nullopt;
  return Columns{&layout, *find(layout.code), *find(layout.longName), *find(layout.shortName)};
}

// The code left-filled with zeros to three digits: "1" -> "001", "0077" -> "077". Nothing
// when what is left is not three digits.
std::optional<std::string> normalisedCode(const std::string& text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  std::string code = text;
  while (code.size() > 3 && code.front() == '0') code.erase(code.begin());
  if (code.size() > 3) return std::nullopt;
  return std::string(3 - code.size(), '0') + code;
}

bool isNoCode(const std::string& text) {
  return text.empty() || foldWord(text) == "NA";
}

std::string textAsUtf8(std::string_view raw) {
  if (raw.starts_with(kBom)) raw.remove_prefix(kBom.size());
  if (data::utf8Valid(raw)) return std::string(raw);
  std::string converted;
  if (windows1252ToUtf8(raw, converted)) return converted;
  throw ListError(0, "O arquivo não está em UTF-8 nem em Windows-1252.");
}

// The delimiter the header line uses: "," as published, ";" where a spreadsheet saved it.
char delimiterOf(std::string_view text) {
  const std::string_view firstLine = text.substr(0, text.find('\n'));
  const auto commas = std::count(firstLine.begin(), firstLine.end(), ',');
  const auto semicolons = std::count(firstLine.begin(), firstLine.end(), ';');
  return semicolons > commas ? ';' : ',';
}

}  // namespace

std::string quoted(std::string_view text) {
  constexpr std::size_t kLimit = 50;
  if (data::utf8Length(text) <= kLimit) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(data::utf8Prefix(text, kLimit)) + "...\"";
}

BankList parseBankList(std::string_view raw) {
  const std::string text = textAsUtf8(raw);
  const std::vector<CsvRecord> records = readCsv(text, delimiterOf(text));
  if (records.empty()) throw ListError(0, "O arquivo está vazio.");

  const CsvRecord& header = records.front();
  std::optional<Columns> columns = match(centralBankLayout(), header.fields);
  if (!columns) columns = match(shippedLayout(), header.fields);
  if (!columns)
    throw ListError(header.line,
                    "formato não reconhecido. Esperado o arquivo de participantes do STR do Banco "
                    "Central (cabeçalho " +
                        joinedHeader(centralBankLayout()) + ") ou a lista de bancos do sistema (" +
                        joinedHeader(shippedLayout()) + ").");

  BankList list;
  list.format = columns->layout->format;
  std::map<std::string, int> lineOfCode;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& rec = records[r];
    if (std::all_of(rec.fields.begin(), rec.fields.end(),
                    [](const std::string& f) { return trimmed(f).empty(); }))
      continue;
    if (rec.fields.size() != header.fields.size())
      throw ListError(rec.line, std::to_string(rec.fields.size()) +
                                    " campo(s), mas o cabeçalho tem " +
                                    std::to_string(header.fields.size()) + ".");

    const std::string rawCode = trimmed(rec.fields[columns->code]);
    if (list.format == ListFormat::CentralBank && isNoCode(rawCode)) {
      ++list.withoutCode;
      continue;
    }
    if (rawCode.empty()) throw ListError(rec.line, "código do banco vazio.");
    const std::optional<std::string> code = normalisedCode(rawCode);
    if (!code)
      throw ListError(rec.line,
                      "o código " + quoted(rawCode) + " não é um código de três dígitos.");

    Institution inst;
    inst.code = *code;
    inst.longName = collapsedBlanks(rec.fields[columns->longName]);
    inst.shortName = collapsedBlanks(rec.fields[columns->shortName]);
    inst.line = rec.line;
    if (inst.longName.empty()) inst.longName = inst.shortName;
    if (inst.shortName.empty()) inst.shortName = inst.longName;
    if (inst.longName.empty())
      throw ListError(rec.line, "a instituição de código " + inst.code + " não tem nome.");

    const auto [at, fresh] = lineOfCode.emplace(inst.code, rec.line);
    if (!fresh)
      throw ListError(rec.line, "código " + inst.code + " repetido (já na linha " +
                                    std::to_string(at->second) + ").");
    list.institutions.push_back(std::move(inst));
  }
  std::sort(list.institutions.begin(), list.institutions.end(),
            [](const Institution& a, const Institution& b) { return a.code < b.code; });
  return list;
}

BankList readBankListFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ListError(0, "Não foi possível abrir o arquivo \"" + path + "\".");
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw ListError(0, "Não foi possível ler o arquivo \"" + path + "\".");
  return parseBankList(content.str());
}

BankList builtInBankList() {
  return parseBankList(resource::bancos_brasileiros);
}

}  // namespace qbk::banklist
