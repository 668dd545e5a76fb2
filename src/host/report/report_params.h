// The values a report's query receives: one per parameter the definition declares. The
// screen that runs the report fills them when the designer asks, just before the run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/value.h"
#include "host/query.h"
#include "host/report/report_definition.h"

namespace qbk::host::report {

// A direct query's parameter that knows its declared name and type.
class ReportParameter : public QueryParam {
 public:
  ReportParameter(std::string name, ParamType type) : name_(std::move(name)), type_(type) {}
  using QueryParam::operator=;

  const std::string& name() const { return name_; }
  ParamType type() const { return type_; }

 private:
  std::string name_;
  ParamType type_;
};

class ReportParams {
 public:
  ReportParams() = default;
  explicit ReportParams(const ReportDefinition& definition);

  // A parameter by name, letter case aside; a ReportError naming it when the definition
  // does not declare it.
  ReportParameter& ParamByName(std::string_view name);
  const ReportParameter& ParamByName(std::string_view name) const;
  const ReportParameter* find(std::string_view name) const;
  const std::vector<ReportParameter>& all() const { return params_; }

 private:
  std::vector<ReportParameter> params_;
};

// Whether the list holds a parameter of that name.
bool ExistParam(const ReportParams& params, std::string_view name);

}  // namespace qbk::host::report
