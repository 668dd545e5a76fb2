#include "host/report/report_output.h"

#include <utility>

namespace qbk::host::report {

namespace {
ReportPresenter& current() {
  static ReportPresenter presenter;
  return presenter;
}
}  // namespace

ReportPresenter setReportPresenter(ReportPresenter presenter) {
  return std::exchange(current(), std::move(presenter));
}

const ReportPresenter& reportPresenter() {
  return current();
}

}  // namespace qbk::host::report
