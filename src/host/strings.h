// Text rules shared by every screen: what counts as empty, code normalisation, and the
// blank fields that a save reports as null.
#pragma once

#include <string>
#include <string_view>

namespace qbk::data {
class RecordSet;
}

namespace qbk::host {

// True when the text has no content. Blanks (spaces and tabs) are no content: a masked
// edit shows its blank positions as spaces when it holds no value, and a code or a
// directory made only of blanks must be refused or stored as null like an empty one.
bool EmptyString(std::string_view text);

// The text without its leading and trailing blanks (spaces and tabs).
std::string_view trimBlanks(std::string_view text);

// A code left-filled with "0" to `width` characters after trimming its blanks:
// ("1", 3) -> "001", ("01", 3) -> "001", ("1", 2) -> "01". A code already at or over the
// width comes back trimmed and otherwise unchanged. An empty or blank text gives "" (not
// "000"): nothing typed stays nothing, so an optional code left blank is saved as null
// instead of as a code that names no bank.
std::string Ajusta(std::string_view text, int width);

// Every text field of the current record that is empty by EmptyString becomes null, so
// the save reports it as absent; number fields are left as they are. The record set must
// be in edit or insert state (qbk::data::DataError otherwise, also when nothing is blank).
void Seta_Campo_Null(data::RecordSet& recordSet);

}  // namespace qbk::host
