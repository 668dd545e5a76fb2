// Comma-separated records as RFC 4180 writes them: fields in double quotes may hold the
// delimiter, line breaks and doubled quotes. Lines end in LF or CRLF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qbk::banklist {

struct CsvRecord {
  int line = 0;  // where the record starts, from 1
  std::vector<std::string> fields;
};

// Every record of `text`, blank lines left out. An unterminated quote is a ListError naming
// the line where the quoted field starts.
std::vector<CsvRecord> readCsv(std::string_view text, char delimiter);

}  // namespace qbk::banklist
