#include "module/bank/bank_list_import.h"

#include "banklist/comparison.h"
#include "banklist/list_error.h"
#include "host/errors_ui.h"
#include "host/local_cache.h"
#include "host/progress.h"
#include "host/server_calls.h"
#include "host/user_interface.h"
#include "protocol/bank_object.h"

namespace qbk::module {

namespace {

constexpr const char* kTitle = "Importar Lista de Bancos";

std::string masksNote(const banklist::Masks& m) {
  return "agência " + m.agency + ", conta " + m.account + (m.known ? "" : " (padrão)");
}

std::string nameNote(const banklist::StoredName& name) {
  return name.rule == banklist::NameRule::LongName ? std::string()
                                                   : std::string(banklist::describe(name.rule));
}

std::string joined(const std::string& a, const std::string& b) {
  return a.empty() ? b : b.empty() ? a : a + "; " + b;
}

// The list the person picks: the built-in one or a file; nothing when the person cancels.
std::optional<std::pair<banklist::BankList, std::string>> pickList() {
  host::UserInterface& ui = host::userInterface();
  const std::optional<int> source =
      ui.choose(kTitle, {"Origem"},
                {{"Lista embutida no sistema (" + std::string(banklist::kBuiltInListName) + ")"},
                 {"Arquivo de participantes do STR do Banco Central..."}},
                "");
  if (!source) return std::nullopt;
  try {
    if (*source == 0)
      return std::pair{banklist::builtInBankList(), std::string(banklist::kBuiltInListName)};
    const std::optional<std::string> path =
        ui.openFile("Arquivos CSV (*.csv)|*.csv|Todos os arquivos (*.*)|*.*", "");
    if (!path) return std::nullopt;
    return std::pair{banklist::readBankListFile(*path), *path};
  } catch (const banklist::ListError& e) {
    host::MensErro(e.what(), true);
  }
  return std::nullopt;
}

}  // namespace

host::BankImportReview bankImportReview(const banklist::Comparison& c, const std::string& source) {
  host::BankImportReview review;
  review.source = source;
  for (const auto& a : c.added)
    review.added.push_back({a.source.code, "", a.name.text, a.source.longName,
                            joined(nameNote(a.name), masksNote(a.masks))});
  for (const auto& r : c.renamed)
    review.renamed.push_back(
        {r.source.code, r.currentName, r.name.text, r.source.longName, nameNote(r.name)});
  for (const auto& a : c.absent)
    review.absent.push_back({a.code, a.name, "", "", "mantido: nada é excluído"});
  return review;
}

BankListImportOutcome importBankList(data::RecordSet& cdsBanco, host::NetConnection& net,
                                     const host::TMessages& messages, const void* owner) {
  if (cdsBanco.state() != data::DataSetState::Browse || cdsBanco.changeCount() > 0) return {};
  const auto list = pickList();
  if (!list) return {};

  const data::Packet banks = cdsBanco.data();
  const banklist::Comparison comparison = banklist::compare(list->first, banks);
  host::UserInterface& ui = host::userInterface();
  if (comparison.empty() && comparison.absent.empty()) {
    ui.showInfo("Os bancos já estão de acordo com a lista: nada a importar.");
    return {};
  }
  const std::optional<host::BankImportChoice> chosen =
      ui.reviewBankImport(bankImportReview(comparison, list->second));
  if (!chosen || (chosen->added.empty() && chosen->renamed.empty())) return {};

  banklist::ImportChoice choice;
  for (int i : chosen->added) choice.added.push_back(static_cast<std::size_t>(i));
  for (int i : chosen->renamed) choice.renamed.push_back(static_cast<std::size_t>(i));
  const data::Delta delta = banklist::importDelta(banks, comparison, choice);

  const data::Field* code = cdsBanco.findField("CDBANCO");
  const std::string current = code ? code->asString() : std::string();
  {
    host::ShowAviScope indicator(owner, host::kAviUpdate, messages.Msg("Atual_Oper"));
    data::VariantArray args{data::Variant(delta)};
    for (data::Variant& name : host::nullFieldNames(cdsBanco, host::kBancoNullableFields))
      args.push_back(std::move(name));
    host::execProcedure(net, protocol::method::SetBanco, std::move(args));
    host::AtualizaLocalCache({data::Variant(std::string(protocol::cache::Banco))});
    host::fetchInto(net, cdsBanco, protocol::method::GetBanco);
  }
  if (!current.empty()) cdsBanco.locate({"CDBANCO"}, {data::Value(current)});

  const BankListImportOutcome outcome{true, static_cast<int>(chosen->added.size()),
                                      static_cast<int>(chosen->renamed.size())};
  ui.showInfo("Importação concluída: " + std::to_string(outcome.added) + " banco(s) incluído(s), " +
              std::to_string(outcome.renamed) + " renomeado(s).");
  return outcome;
}

}  // namespace qbk::module
