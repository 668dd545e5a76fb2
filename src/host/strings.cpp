#include "host/strings.h"

#include "data/errors.h"
#include "data/record_set.h"
#include "data/value.h"

namespace qbk::host {

namespace {
constexpr std::string_view kBlanks = " \t";
}  // namespace

std::string_view trimBlanks(std::string_view text) {
  auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool EmptyString(std::string_view text) {
  return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

std::string Ajusta(std::string_view text, int width) {
  std::string_view code = trimBlanks(text);
  if (code.empty()) return {};
  auto length = static_cast<long>(data::utf8Length(code));
  std::string out;
  if (length < width) out.assign(static_cast<std::size_t>(width - length), '0');
  out += code;
  return out;
}

void Seta_Campo_Null(data::RecordSet& recordSet) {
  if (!recordSet.editing()) {
    throw data::DataError("O conjunto de dados '" + recordSet.name() +
                          "' não está em modo de edição ou inclusão.");
  }
  for (int i = 0; i < recordSet.fieldCount(); ++i) {
    data::Field& field = recordSet.field(i);
    if (field.type() != data::FieldType::String || field.isNull()) continue;
    if (EmptyString(field.asString())) field.clear();
  }
}

}  // namespace qbk::host
