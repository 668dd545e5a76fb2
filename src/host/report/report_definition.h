// A report definition (".qr2"): what a report reads, how its pages look and what each
// column shows. The files are JSON in the format docs/report-format.md describes; every
// length is in millimetres.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"

namespace qbk::host::report {

// A definition that cannot be read, or a report that cannot run as its definition says.
class ReportError : public Error {
 public:
  using Error::Error;
};

enum class Align { Left, Center, Right };
enum class Orientation { Portrait, Landscape };
// A list parameter takes a list of keys ("'001','237'") and binds each key as a parameter
// of its own where the query names it: "IN (:CDBANCO)" becomes "IN (?, ?)".
enum class ParamType { Text, Number, List };
enum class BandItemKind { Title, PageNumber, PrintedAt, Text };
enum class TotalFunction { Count, Sum };

struct ReportParamDef {
  std::string name;
  ParamType type = ParamType::Text;
};

struct ReportColumn {
  std::string caption;
  std::string field;
  double width = 30;
  Align align = Align::Left;
  // For numbers: "0", "0.00", "#,##0.00" (decimal comma, thousands with "."); empty: as
  // stored.
  std::string format;
};

// One element of the page header or footer, on the band's single line.
struct BandItem {
  BandItemKind kind = BandItemKind::Text;
  Align align = Align::Left;
  std::string text;  // for Text
};

struct ReportTotal {
  std::string field;
  TotalFunction function = TotalFunction::Count;
  std::string caption;
};

struct PageSetup {
  std::string size = "A4";  // "A4", "Letter", "Legal"
  Orientation orientation = Orientation::Portrait;
  double marginLeft = 15, marginTop = 12, marginRight = 15, marginBottom = 12;
  // The sheet as it is printed, orientation applied.
  double width() const;
  double height() const;
};

struct ReportDefinition {
  std::string code;
  std::string title;
  PageSetup page;
  std::string sql;
  std::vector<ReportParamDef> params;
  std::vector<ReportColumn> columns;
  std::vector<BandItem> header;
  std::vector<BandItem> footer;
  // Rows with the same value of this field are printed under a heading of their own, with
  // the totals of the group after them; empty: no grouping.
  std::string groupField;
  std::string groupCaption;
  std::vector<ReportTotal> totals;
  double fontSize = 9;  // points, of the rows; titles are larger

  const ReportParamDef* param(std::string_view name) const;
  const ReportColumn* column(std::string_view field) const;
};

// Names of parameters and fields match without regard to (ASCII) letter case, as the
// engines treat unquoted names.
bool sameName(std::string_view a, std::string_view b);

// A ReportError names what is wrong (an unknown key, a value of the wrong kind, a column
// without a field), so a damaged definition is refused before it runs.
ReportDefinition parseReportDefinition(std::string_view json);
std::string writeReportDefinition(const ReportDefinition& definition);
ReportDefinition loadReportDefinition(const std::filesystem::path& file);
void saveReportDefinition(const ReportDefinition& definition, const std::filesystem::path& file);

// The definition of a report code in a directory: "<code>.qr2", the extension in either
// letter case. Nothing when there is none.
std::filesystem::path findReportDefinition(const std::filesystem::path& dir, std::string_view code);

}  // namespace qbk::host::report
