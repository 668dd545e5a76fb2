#include "host/search.h"

#include <set>

#include "data/errors.h"
#include "forms/buttons.h"
#include "forms/form.h"
#include "host/messages.h"
#include "host/query.h"

namespace qbk::host {

namespace {

std::string cellText(const data::Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* d = std::get_if<double>(&v)) return data::formatNumber(*d);
  return {};
}

// A direct query is opened on demand; any other closed set simply has no rows to offer.
void openIfQuery(data::RecordSet& set) {
  if (auto* query = TADOIBQuery::of(set); query && !query->active()) query->open();
}

const std::string& emptyListText() {
  return standardMessages().Msg("Lista_Vazia");
}

std::string quoted(const std::string& key) {
  std::string out = "'";
  for (char c : key) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  out.push_back('\'');
  return out;
}

}  // namespace

ChoiceList choiceList(const data::RecordSet& set) {
  ChoiceList out;
  if (!set.active()) return out;
  std::vector<int> fields;
  for (int i = 0; i < set.fieldCount(); ++i) {
    const data::Field& f = set.field(i);
    if (!f.visible) continue;
    fields.push_back(i);
    out.columns.push_back(f.label());
  }
  const int rows = set.displayRowCount();
  out.rows.reserve(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    ChoiceRow row;
    row.reserve(fields.size());
    for (int f : fields) row.push_back(set.displayText(r, f));
    out.rows.push_back(std::move(row));
  }
  return out;
}

bool Procura(data::RecordSet& set) {
  if (!set.active() || set.editing()) return false;
  const ChoiceList list = choiceList(set);
  const auto chosen =
      userInterface().choose(kProcuraTitle, list.columns, list.rows, emptyListText());
  if (!chosen) return false;
  set.setRecNo(*chosen + 1);
  return true;
}

std::vector<std::string> splitKeyList(std::string_view list) {
  std::vector<std::string> keys;
  std::size_t i = 0;
  const std::size_t n = list.size();
  while (i < n) {
    while (i < n && (list[i] == ' ' || list[i] == ',')) ++i;
    if (i >= n) break;
    std::string key;
    if (list[i] == '\'') {
      ++i;
      while (i < n) {
        if (list[i] == '\'') {
          if (i + 1 < n && list[i + 1] == '\'') {
            key.push_back('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        key.push_back(list[i++]);
      }
      while (i < n && list[i] != ',') ++i;
    } else {
      const std::size_t end = std::min(list.find(',', i), n);
      key.assign(list.substr(i, end - i));
      while (!key.empty() && key.back() == ' ') key.pop_back();
      i = end;
    }
    keys.push_back(std::move(key));
  }
  return keys;
}

bool PesquisaLista(data::DataSource& source, std::string_view keyField, const std::string& title,
                   bool bareKeys, std::string& list) {
  data::RecordSet* set = source.dataSet();
  if (!set) throw Error("A fonte de dados '" + source.name() + "' não mostra nenhum conjunto.");
  openIfQuery(*set);
  const int key = set->active() ? set->fieldByName(keyField).index() : -1;

  const ChoiceList choices = choiceList(*set);
  const std::vector<std::string> current = splitKeyList(list);
  const std::set<std::string> ticked(current.begin(), current.end());
  std::vector<int> preselected;
  for (int r = 0; r < static_cast<int>(choices.rows.size()); ++r) {
    const data::Value& v = set->displayValue(r, key);
    if (!data::isNull(v) && ticked.contains(cellText(v))) preselected.push_back(r);
  }

  const auto chosen = userInterface().chooseMany(title, choices.columns, choices.rows, preselected,
                                                 emptyListText());
  if (!chosen) return false;
  std::string out;
  for (int r : *chosen) {
    const data::Value& v = set->displayValue(r, key);
    if (data::isNull(v)) continue;
    if (!out.empty()) out.push_back(',');
    out += bareKeys ? cellText(v) : quoted(cellText(v));
  }
  list = std::move(out);
  return true;
}

void runSearchButton(forms::SearchButton& button) {
  bool ok = true;
  if (button.beforeSearch) button.beforeSearch(button, ok);
  if (!ok) return;
  data::DataSource* source = button.dataSource();
  if (!source || !source->dataSet()) {
    throw Error("O botão de pesquisa '" + button.name() + "' não tem fonte de dados.");
  }
  data::RecordSet& set = *source->dataSet();
  // Moving an edited record would post or drop the edit behind the person's back.
  if (set.editing()) return;
  openIfQuery(set);
  const ChoiceList list = choiceList(set);
  const std::string& empty =
      button.emptyMessage().empty() ? emptyListText() : button.emptyMessage();
  const auto chosen = userInterface().choose(button.title(), list.columns, list.rows, empty);
  if (!chosen) return;
  set.setRecNo(*chosen + 1);
  if (button.afterSearch) button.afterSearch(button);
}

void wireSearchButton(forms::SearchButton& button) {
  button.onClick = [&button](forms::CommandButton&) { runSearchButton(button); };
}

void wireSearchButtons(forms::Form& form) {
  for (forms::Control* c : form.controls()) {
    if (auto* button = dynamic_cast<forms::SearchButton*>(c)) wireSearchButton(*button);
  }
}

}  // namespace qbk::host
