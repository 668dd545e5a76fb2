#include "host/report/report_query.h"

#include <algorithm>

#include "db/connection.h"
#include "db/sql_text.h"
#include "host/query.h"
#include "host/search.h"

namespace qbk::host::report {

namespace {

// Replaces the n-th "?" of a positional statement with `counts[n]` question marks, with the
// same reading of quotes and comments that placed them.
std::string expandPlaceholders(const std::string& sql, const std::vector<std::size_t>& counts) {
  std::size_t n = 0;
  return db::rewriteOutsideQuotes(sql, [&](std::string_view rest, std::string& out) -> std::size_t {
    if (rest.front() != '?') return 0;
    const std::size_t count = n < counts.size() ? counts[n] : 1;
    for (std::size_t k = 0; k < count; ++k) out += k == 0 ? "?" : ", ?";
    ++n;
    return 1;
  });
}

}  // namespace

BoundStatement bindReportQuery(const ReportDefinition& definition, const ReportParams& params) {
  if (definition.sql.empty()) throw ReportError("O relatório não tem consulta.");
  PositionalStatement positional;
  try {
    positional = toPositional(definition.sql);
  } catch (const Error& e) {
    throw ReportError(std::string("Consulta do relatório inválida: ") + e.what());
  }
  BoundStatement bound;
  std::vector<std::size_t> counts;
  for (const std::string& name : positional.names) {
    const ReportParameter* p = params.find(name);
    if (!p) {
      throw ReportError("A consulta do relatório usa o parâmetro '" + name +
                        "', que a definição não declara.");
    }
    if (p->type() != ParamType::List) {
      bound.values.push_back(p->value());
      counts.push_back(1);
      continue;
    }
    const std::string* list = std::get_if<std::string>(&p->value());
    std::vector<std::string> keys = list ? splitKeyList(*list) : std::vector<std::string>{};
    if (keys.empty()) {
      bound.values.emplace_back();
      counts.push_back(1);
      continue;
    }
    for (std::string& key : keys) bound.values.emplace_back(std::move(key));
    counts.push_back(keys.size());
  }
  bound.sql = expandPlaceholders(positional.sql, counts);
  return bound;
}

ReportData runReportQuery(db::Connection& connection, const ReportDefinition& definition,
                          const ReportParams& params) {
  const BoundStatement bound = bindReportQuery(definition, params);
  ReportData data;
  for (const ReportColumn& c : definition.columns) data.fields.push_back(c.field);
  if (!definition.groupField.empty() && !definition.column(definition.groupField)) {
    data.fields.push_back(definition.groupField);
  }
  std::vector<int> source;
  auto onColumns = [&](const db::Cursor& c) {
    std::vector<std::string> names;
    for (int i = 0; i < c.columnCount(); ++i) names.emplace_back(c.columnName(i));
    for (const std::string& field : data.fields) {
      auto it = std::find_if(names.begin(), names.end(),
                             [&](const std::string& n) { return sameName(n, field); });
      if (it == names.end()) {
        throw ReportError("O campo '" + field +
                          "' não está no resultado da consulta do relatório.");
      }
      source.push_back(static_cast<int>(it - names.begin()));
    }
  };
  auto onRow = [&](const db::Cursor& c) {
    data::Row& row = data.rows.emplace_back();
    row.reserve(source.size());
    for (int col : source) {
      if (c.isNull(col)) {
        row.emplace_back();
      } else if (c.isNumber(col)) {
        row.emplace_back(c.number(col));
      } else {
        row.emplace_back(std::string(c.text(col)));
      }
    }
  };
  connection.stream(bound.sql, bound.values, onColumns, onRow);
  return data;
}

}  // namespace qbk::host::report
