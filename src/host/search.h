// The host's record search, list picker and search button: a person picks rows of a record
// set in a choice window (through the person-facing interface).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/data_source.h"
#include "data/record_set.h"
#include "host/user_interface.h"

namespace qbk::forms {
class Form;
class SearchButton;
}  // namespace qbk::forms

namespace qbk::host {

// Title of the record search's choice window.
inline constexpr const char* kProcuraTitle = "Procurar";

// What a choice window lists for a record set: its visible fields (by their labels) and,
// per record, their texts. A cell shows the field's display text, as the person knows it
// from the screen (a formatted number, a coded field's entry); without a display
// conversion the stored value (numbers as the screens write them, null as "").
struct ChoiceList {
  std::vector<std::string> columns;
  std::vector<ChoiceRow> rows;
};
ChoiceList choiceList(const data::RecordSet& set);

// Asks the person for one of the set's records and makes it the current one. Nothing is
// asked of an inactive set or of one being edited (moving would post or drop the edit).
// True when the person chose a record.
bool Procura(data::RecordSet& set);

// The list picker: the person ticks rows of the source's record set (those whose keys are
// in `list` start ticked) and `list` becomes the chosen keys, in the set's order, as SQL
// text literals separated by commas: "'001','237'", a quote inside a key doubled, null keys
// left out; with `bareKeys` the keys go without quotes (numeric keys). A cancel leaves the
// list unchanged. True when the person confirmed (possibly choosing nothing: list "").
// A closed direct query is opened first. The current record does not move.
bool PesquisaLista(data::DataSource& source, std::string_view keyField, const std::string& title,
                   bool bareKeys, std::string& list);

// The keys a list text holds, unquoted: the inverse of PesquisaLista's list.
std::vector<std::string> splitKeyList(std::string_view list);

// The search button's click: beforeSearch (its flag false stops), the source's rows in a
// choice window under the button's title (or its empty-list message), and for a choice the
// row becomes current and afterSearch runs. A closed direct query is opened first.
void runSearchButton(forms::SearchButton& button);
// Installs runSearchButton as the button's onClick.
void wireSearchButton(forms::SearchButton& button);
// Every search button of a form; the host does it when it builds a screen, so a screen's
// own onClick (set afterwards in its bindEvents) replaces the standard search.
void wireSearchButtons(forms::Form& form);

}  // namespace qbk::host
