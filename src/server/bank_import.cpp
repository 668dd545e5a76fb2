#include "server/bank_import.h"

#include <chrono>
#include <cstdarg>

#include "data/value.h"
#include "server/app_error.h"
#include "server/bank_methods.h"
#include "server/packet_layouts.h"
#include "server/packet_query.h"
#include "server/schema.h"

namespace qbk::server {

namespace {

using banklist::NameRule;

// `text` padded with blanks to `width` characters (not bytes: names hold accents).
std::string padded(const std::string& text, std::size_t width) {
  const std::size_t n = data::utf8Length(text);
  return n >= width ? text : text + std::string(width - n, ' ');
}

// printf to `out`, without the blanks that padding leaves at the end of a line.
void print(std::FILE* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void print(std::FILE* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  std::string text(static_cast<std::size_t>(std::vsnprintf(nullptr, 0, format, args)), '\0');
  va_end(args);
  std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  for (std::size_t end; (end = text.find(" \n")) != std::string::npos;) text.erase(end, 1);
  std::fputs(text.c_str(), out);
}

// "[nome curto; na lista: Banco do Nordeste do Brasil S.A.]" where the name was shortened.
std::string origin(const banklist::StoredName& name, const banklist::Institution& source) {
  if (name.rule == NameRule::LongName) return {};
  return "  [" + std::string(banklist::describe(name.rule)) + "; na lista: " + source.longName +
         "]";
}

void printGroups(std::FILE* out, const banklist::Comparison& c) {
  print(out, "\nA incluir (%zu):\n", c.added.size());
  for (const auto& a : c.added)
    print(out, "  %s  %s  agência %-7s conta %-15s%s\n", a.source.code.c_str(),
          padded(a.name.text, banklist::kNameWidth).c_str(), a.masks.agency.c_str(),
          a.masks.account.c_str(), origin(a.name, a.source).c_str());
  print(out, "\nCom nome diferente (%zu):\n", c.renamed.size());
  for (const auto& r : c.renamed)
    print(out, "  %s  %s -> %s%s\n", r.source.code.c_str(),
          padded(r.currentName, banklist::kNameWidth).c_str(), r.name.text.c_str(),
          origin(r.name, r.source).c_str());
  print(out, "\nFora da lista, mantidos (%zu):\n", c.absent.size());
  for (const auto& a : c.absent) print(out, "  %s  %s\n", a.code.c_str(), a.name.c_str());
}

int shortened(const banklist::Comparison& c, NameRule rule) {
  int n = 0;
  for (const auto& a : c.added) n += a.name.rule == rule;
  for (const auto& r : c.renamed) n += r.name.rule == rule;
  return n;
}

}  // namespace

BankImportResult importBanks(db::Connection& conn, const banklist::BankList& list, bool apply,
                             const std::function<void()>& beforeApply) {
  const data::Packet banks = fetchWhere(conn, layouts::banco(), "", {});
  BankImportResult result{banklist::compare(list, banks), false};
  if (!apply || result.comparison.empty()) return result;
  const data::Delta delta = banklist::importDelta(banks, result.comparison,
                                                  banklist::ImportChoice::all(result.comparison));
  if (beforeApply) beforeApply();
  try {
    applyBancoDelta(conn, delta);
  } catch (const ApplicationError& e) {
    throw ApplicationError(std::string("Importação recusada, nada foi gravado: ") + e.what());
  }
  result.applied = true;
  return result;
}

int runBankImportCommand(db::Connection& conn, const std::optional<std::string>& file, bool dryRun,
                         std::FILE* out) {
  const auto start = std::chrono::steady_clock::now();
  // Without --dry-run the command brings the schema up to date first, like the server.
  if (dryRun && storedSchemaVersion(conn) != latestSchemaVersion())
    throw ApplicationError(
        "O banco de dados não está na versão de esquema deste servidor; a importação sem "
        "--dry-run (ou o servidor) a atualiza.");
  const banklist::BankList list =
      file ? banklist::readBankListFile(*file) : banklist::builtInBankList();
  const std::string source = file ? *file : std::string(banklist::kBuiltInListName);
  print(out, "Lista: %s, %zu instituições com código", source.c_str(), list.institutions.size());
  if (list.withoutCode > 0) print(out, "; %d sem código, deixadas de fora", list.withoutCode);
  print(out, ".\n");

  const BankImportResult result = importBanks(conn, list, !dryRun);
  const banklist::Comparison& c = result.comparison;
  printGroups(out, c);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  print(out,
        "\n%zu a incluir, %zu com nome diferente, %zu fora da lista, %d sem alteração. Nomes "
        "encurtados: %d pelo nome curto, %d abreviados, %d cortados.\n",
        c.added.size(), c.renamed.size(), c.absent.size(), c.unchanged,
        shortened(c, NameRule::ShortName), shortened(c, NameRule::Abbreviated),
        shortened(c, NameRule::Cut));
  if (dryRun)
    print(out, "Simulação (--dry-run): nada foi gravado.\n");
  else if (!result.applied)
    print(out, "Nada a gravar: a tabela BANCO já está de acordo com a lista.\n");
  else
    print(out,
          "Gravado numa única transação: %zu banco(s) incluído(s), %zu renomeado(s), em %.2f s.\n",
          c.added.size(), c.renamed.size(), seconds);
  return 0;
}

}  // namespace qbk::server
