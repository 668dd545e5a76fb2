#include "banklist/comparison.h"

#include <algorithm>
#include <map>

#include "data/errors.h"

namespace qbk::banklist {

namespace {

int requiredField(const data::Packet& banks, std::string_view name) {
  const int i = banks.fieldIndex(name);
  if (i < 0) throw Error("O pacote de bancos não traz o campo " + std::string(name) + ".");
  return i;
}

std::string textOf(const data::Value& v) {
  const auto* s = std::get_if<std::string>(&v);
  if (!s) return {};
  const auto end = s->find_last_not_of(' ');
  return end == std::string::npos ? std::string() : s->substr(0, end + 1);
}

void set(data::Row& row, const data::Packet& banks, std::string_view field, std::string value) {
  const int i = banks.fieldIndex(field);
  if (i >= 0) row[static_cast<std::size_t>(i)] = std::move(value);
}

template <typename T>
const T& at(const std::vector<T>& group, std::size_t i, const char* what) {
  if (i >= group.size())
    throw Error("Escolha fora da lista de bancos " + std::string(what) + ": " + std::to_string(i) +
                ".");
  return group[i];
}

}  // namespace

Comparison compare(const BankList& list, const data::Packet& banks) {
  const int codeField = requiredField(banks, "CDBANCO");
  const int nameField = requiredField(banks, "NMBANCO");
  std::map<std::string, std::string> table;  // code -> name
  for (const data::Row& row : banks.rows)
    table.emplace(textOf(row[static_cast<std::size_t>(codeField)]),
                  textOf(row[static_cast<std::size_t>(nameField)]));

  Comparison out;
  std::map<std::string, bool> listed;
  for (const Institution& inst : list.institutions) {
    if (inst.code == kFixedFundBank) continue;
    listed[inst.code] = true;
    StoredName name = storedName(inst.longName, inst.shortName);
    const auto row = table.find(inst.code);
    if (row == table.end()) {
      out.added.push_back({inst, std::move(name), masksFor(inst.code)});
    } else if (!sameName(row->second, name.text)) {
      out.renamed.push_back({row->second, inst, std::move(name)});
    } else {
      ++out.unchanged;
    }
  }
  for (const auto& [code, name] : table)
    if (code != kFixedFundBank && !listed.count(code)) out.absent.push_back({code, name});
  return out;
}

ImportChoice ImportChoice::all(const Comparison& comparison) {
  ImportChoice c;
  for (std::size_t i = 0; i < comparison.added.size(); ++i) c.added.push_back(i);
  for (std::size_t i = 0; i < comparison.renamed.size(); ++i) c.renamed.push_back(i);
  return c;
}

data::Delta importDelta(const data::Packet& banks, const Comparison& comparison,
                        const ImportChoice& choice) {
  const int codeField = requiredField(banks, "CDBANCO");
  const int nameField = requiredField(banks, "NMBANCO");
  data::Delta delta;
  delta.fields = banks.fields;

  // A row ticked twice still goes in once.
  auto unique = [](std::vector<std::size_t> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
  };
  for (std::size_t i : unique(choice.renamed)) {
    const Rename& r = at(comparison.renamed, i, "a renomear");
    const auto row = std::find_if(banks.rows.begin(), banks.rows.end(), [&](const data::Row& b) {
      return textOf(b[static_cast<std::size_t>(codeField)]) == r.source.code;
    });
    if (row == banks.rows.end())
      throw Error("O banco " + r.source.code + " não está mais entre os bancos lidos.");
    data::Change change{data::Change::Op::Update, *row, *row};
    change.newRow[static_cast<std::size_t>(nameField)] = r.name.text;
    delta.changes.push_back(std::move(change));
  }
  for (std::size_t i : unique(choice.added)) {
    const Addition& a = at(comparison.added, i, "a incluir");
    data::Row row(banks.fields.size());
    set(row, banks, "CDBANCO", a.source.code);
    set(row, banks, "NMBANCO", a.name.text);
    set(row, banks, "CDBANCCNAB", a.source.code);
    set(row, banks, "CDPICTAGEN", a.masks.agency);
    set(row, banks, "CDPICTCONT", a.masks.account);
    delta.changes.push_back({data::Change::Op::Insert, {}, std::move(row)});
  }
  return delta;
}

}  // namespace qbk::banklist
