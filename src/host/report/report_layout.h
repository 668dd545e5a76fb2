// Lays a report's rows out into pages of positioned boxes. Whoever draws the pages (the
// preview, the printer, a PDF file) draws these boxes and nothing else, so they never
// differ. Lengths are millimetres from the sheet's top-left corner.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "host/report/report_query.h"

namespace qbk::host::report {

struct ReportBox {
  enum class Kind { Text, Line };
  Kind kind = Kind::Text;
  double x = 0, y = 0, width = 0, height = 0;  // a line runs along the box's top edge
  std::string text;
  Align align = Align::Left;
  double fontSize = 9;  // points
  bool bold = false;
};

struct ReportPage {
  std::vector<ReportBox> boxes;
};

struct ReportDocument {
  std::string title;
  double width = 210, height = 297;
  std::vector<ReportPage> pages;  // at least one, also for no rows
};

struct LayoutOptions {
  std::chrono::system_clock::time_point printedAt = std::chrono::system_clock::now();
};

ReportDocument layoutReport(const ReportDefinition& definition, const ReportData& data,
                            const LayoutOptions& options = {});

// A cell as the report shows it: texts as stored, numbers by the column's format ("#,##0.00"
// gives "1.234,50"), null as nothing.
std::string formatCell(const data::Value& value, const ReportColumn& column);
// "Página 2 de 5".
std::string pageNumberText(int page, int pageCount);
// The printing time as the header shows it: "09/12/2026 14:05" (local time).
std::string printedAtText(std::chrono::system_clock::time_point when);

}  // namespace qbk::host::report
