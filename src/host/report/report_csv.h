// The rows of a report as a spreadsheet reads them: UTF-8 (with the byte-order mark the
// spreadsheets of our users need to tell UTF-8 from their own code page), ";" between
// values, CRLF between lines, the column captions first. Cells are formatted as the pages
// show them.
#pragma once

#include <filesystem>
#include <string>

#include "host/report/report_query.h"

namespace qbk::host::report {

std::string reportCsv(const ReportDefinition& definition, const ReportData& data);
// A ReportError when the file cannot be written.
void saveReportCsv(const ReportDefinition& definition, const ReportData& data,
                   const std::filesystem::path& file);

}  // namespace qbk::host::report
