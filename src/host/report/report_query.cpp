#include "host/report/report_query.h"

#include <algorithm>

#include "db/connection.h"
#include "host/query.h"
#include "host/search.h"

namespace qbk::host::report {

namespace {

// Replaces the n-th "?" of a positional statement (outside quoted texts, quoted names and
// comments, where toPositional left them) with `counts[n]` question marks.
std::string expandPlaceholders(const std::string& sql, const std::vector<std::size_t>& counts) {
  std::string out;
  out.reserve(sql.size() + 8 * counts.size());
  std::size_t n = 0;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      const std::size_t end = sql.find(c, i + 1);
      const std::size_t stop = end == std::string::npos ? sql.size() : end + 1;
      out.append(sql, i, stop - i);
      i = stop - 1;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t end = sql.find('\n', i);
      const std::size_t stop = end == std::string::npos ? sql.size() : end;
      out.append(sql, i, stop - i);
      i = stop - 1;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const std::size_t end = sql.find("*/", i + 2);
      const std::size_t stop = end == std::string::npos ? sql.size() : end + 2;
      out.append(sql, i, stop - i);
      i = stop - 1;
    } else if (c == '?') {
      const std::size_t count = n < counts.size() ? counts[n] : 1;
      for (std::size_t k = 0; k < count; ++k) out += k == 0 ? "?" : ", ?";
      ++n;
    } else {
      out += c;
    }
  }
  return out;
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
