// Runs a report's query on a database connection with every parameter bound.
#pragma once

#include <string>
#include <vector>

#include "data/value.h"
#include "host/report/report_params.h"

namespace qbk::db {
class Connection;
}

namespace qbk::host::report {

// The statement as the connection receives it: "?" for every value, the values apart. A
// list parameter contributes one "?" per key (one null when the list is empty, which
// matches nothing), so no value ever becomes part of the statement's text.
struct BoundStatement {
  std::string sql;
  std::vector<data::Value> values;
};
// A ReportError when the query names a parameter the definition does not declare.
BoundStatement bindReportQuery(const ReportDefinition& definition, const ReportParams& params);

// The rows, with the values of the definition's columns in their order (and of the group
// field, last, when it is not a column).
struct ReportData {
  std::vector<std::string> fields;
  std::vector<data::Row> rows;
};
// A ReportError when the result lacks a field the columns show.
ReportData runReportQuery(db::Connection& connection, const ReportDefinition& definition,
                          const ReportParams& params);

}  // namespace qbk::host::report
