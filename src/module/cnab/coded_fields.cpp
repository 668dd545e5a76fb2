// The one-character coded fields of a company's CNAB settings: each is edited through a
// list that cannot be typed into, shows the list entry its code names, and stores the code
// of the entry picked, by position. The texts are read from the lists themselves, so a
// renamed entry renames what every row shows.
#include <optional>
#include <utility>
#include <vector>

#include "module/cnab/company_settings.h"

namespace qbk::module {

namespace {

// What picking an entry writes: a code, the empty text, null, or nothing at all.
struct Entry {
  enum Kind { Code, Null, Unchanged };
  Kind kind = Code;
  std::string code;
};

Entry code(std::string c) {
  return {Entry::Code, std::move(c)};
}
const Entry kNull{Entry::Null, {}};
const Entry kUnchanged{Entry::Unchanged, {}};

struct CodedField {
  const char* field;
  // Stored code -> position of its entry; a code not listed shows the empty text.
  std::vector<std::pair<std::optional<std::string>, int>> shown;
  // Position -> what is stored; the last one is for a list with no entry picked.
  std::vector<Entry> stored;
  Entry none;
};

const std::vector<CodedField>& codedFields() {
  // std::nullopt is a field without value.
  static const std::vector<CodedField> list = {
      {"IDIMPRBOLETO",
       {{std::nullopt, 0}, {"E", 1}, {"B", 2}, {"F", 3}},
       {kNull, code("E"), code("B"), code("F")},
       kNull},
      {"IDCARTCOBR",
       {{std::nullopt, 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}},
       {kNull, code("1"), code("2"), code("3"), code("4")},
       kUnchanged},
      // Its blank first entry is stored as one blank, unlike the lists above.
      {"CDDIAPROTEST",
       {{std::nullopt, 0}, {" ", 0}, {"1", 1}, {"2", 2}, {"3", 3}},
       {code(" "), code("1"), code("2"), code("3")},
       kUnchanged},
      // "Com Registro" is the first entry but no value shows nothing: the save then
      // supplies "1".
      {"IDFORMCADBANC", {{"1", 0}, {"2", 1}}, {code("1"), code("2")}, kUnchanged},
      {"IDPADRAGENCNABPAG",
       {{std::nullopt, 0}, {"1", 1}, {"2", 2}},
       {code(""), code("1"), code("2")},
       code("")},
      {"CDDIADEVOL",
       {{std::nullopt, 0}, {" ", 0}, {"1", 1}, {"2", 2}},
       {code(" "), code("1"), code("2")},
       kUnchanged},
  };
  return list;
}

std::string shownText(const CodedField& coded, const forms::ComboBox& list, const data::Field& f) {
  const std::optional<std::string> stored =
      f.isNull() ? std::nullopt : std::optional<std::string>(f.asString());
  for (const auto& [value, position] : coded.shown) {
    if (value != stored) continue;
    const auto& items = list.items();
    return position < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(position)]
                                                     : std::string();
  }
  return {};
}

void store(const Entry& entry, data::Field& f) {
  switch (entry.kind) {
    case Entry::Code:
      f.setString(entry.code);
      break;
    case Entry::Null:
      f.clear();
      break;
    case Entry::Unchanged:
      break;
  }
}

}  // namespace

void CompanySettings::bindCodedFields() {
  const std::pair<const char*, forms::DBComboBox*> lists[] = {
      {"IDIMPRBOLETO", &*c_.dbcImpBoleto},      {"IDCARTCOBR", &*c_.dbcTpCarteira},
      {"CDDIAPROTEST", &*c_.dbcCdProtesto},     {"IDFORMCADBANC", &*c_.cbbFmCadastro},
      {"IDPADRAGENCNABPAG", &*c_.cbbPadrAgend}, {"CDDIADEVOL", &*c_.dbcCdDevol},
  };
  for (const auto& [name, combo] : lists) {
    const CodedField* coded = nullptr;
    for (const CodedField& f : codedFields())
      if (std::string_view(f.field) == name) coded = &f;
    forms::DBComboBox* list = combo;
    data::Field* target = &field(name);
    target->onGetText = [coded, list](const data::Field& f) { return shownText(*coded, *list, f); };
    list->onPick = [this, coded, target](forms::DBComboBox&, int index) {
      if (!cdsEmprBanc.editing()) return;
      const bool picked = index >= 0 && index < static_cast<int>(coded->stored.size());
      store(picked ? coded->stored[static_cast<std::size_t>(index)] : coded->none, *target);
    };
  }
}

}  // namespace qbk::module
