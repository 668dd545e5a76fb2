#include "host/report/report_params.h"

#include <utility>

namespace qbk::host::report {

ReportParams::ReportParams(const ReportDefinition& definition) {
  for (const ReportParamDef& p : definition.params) params_.emplace_back(p.name, p.type);
}

const ReportParameter* ReportParams::find(std::string_view name) const {
  for (const ReportParameter& p : params_)
    if (sameName(p.name(), name)) return &p;
  return nullptr;
}

const ReportParameter& ReportParams::ParamByName(std::string_view name) const {
  if (const ReportParameter* p = find(name)) return *p;
  throw ReportError("Parâmetro '" + std::string(name) + "' não encontrado no relatório.");
}

ReportParameter& ReportParams::ParamByName(std::string_view name) {
  return const_cast<ReportParameter&>(std::as_const(*this).ParamByName(name));
}

bool ExistParam(const ReportParams& params, std::string_view name) {
  return params.find(name) != nullptr;
}

}  // namespace qbk::host::report
