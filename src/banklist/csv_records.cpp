#include "banklist/csv_records.h"

#include "banklist/list_error.h"

namespace qbk::banklist {

std::vector<CsvRecord> readCsv(std::string_view text, char delimiter) {
  std::vector<CsvRecord> records;
  CsvRecord record;
  std::string field;
  int line = 1;
  record.line = line;
  bool recordHasContent = false;

  auto endField = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
  };
  auto endRecord = [&] {
    endField();
    // A line with nothing on it is no record, not a record of one empty field.
    if (recordHasContent || record.fields.size() > 1) records.push_back(std::move(record));
    record = CsvRecord{};
    record.line = line;
    recordHasContent = false;
  };

  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' && field.empty()) {
      const int quoteLine = line;
      ++i;
      for (;;) {
        if (i >= text.size()) throw ListError(quoteLine, "aspas abertas e não fechadas.");
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (text[i] == '\n') ++line;
        field.push_back(text[i++]);
      }
      recordHasContent = true;
      continue;
    }
    if (c == delimiter) {
      endField();
      ++i;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
    } else if (c == '\n') {
      ++line;
      ++i;
      endRecord();
    } else {
      field.push_back(c);
      recordHasContent = true;
      ++i;
    }
  }
  if (recordHasContent || !record.fields.empty()) endRecord();
  return records;
}

}  // namespace qbk::banklist
