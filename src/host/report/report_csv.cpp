#include "host/report/report_csv.h"

#include <fstream>

#include "host/report/report_layout.h"

namespace qbk::host::report {

namespace {

// Quoted when the value holds what would end it early, or blanks at its ends that a
// spreadsheet would drop; a quote inside is doubled.
void appendCell(std::string& out, const std::string& cell) {
  const bool quote = cell.find_first_of(";\"\r\n") != std::string::npos ||
                     (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
  if (!quote) {
    out += cell;
    return;
  }
  out += '"';
  for (char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string reportCsv(const ReportDefinition& definition, const ReportData& data) {
  std::string out = "\xEF\xBB\xBF";
  for (std::size_t c = 0; c < definition.columns.size(); ++c) {
    if (c > 0) out += ';';
    appendCell(out, definition.columns[c].caption);
  }
  out += "\r\n";
  for (const data::Row& row : data.rows) {
    for (std::size_t c = 0; c < definition.columns.size(); ++c) {
      if (c > 0) out += ';';
      appendCell(out, formatCell(row[c], definition.columns[c]));
    }
    out += "\r\n";
  }
  return out;
}

void saveReportCsv(const ReportDefinition& definition, const ReportData& data,
                   const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << reportCsv(definition, data);
  out.close();
  if (!out) throw ReportError("Não foi possível gravar o arquivo '" + file.string() + "'.");
}

}  // namespace qbk::host::report
