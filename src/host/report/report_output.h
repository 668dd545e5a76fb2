// What a report screen produces: a report that has run, and where it goes. The desktop
// installs the presenter that prints or previews it; headless, the runs are only kept by the
// screen that made them.
#pragma once

#include <filesystem>
#include <functional>

#include "host/report/report_layout.h"
#include "host/report/report_params.h"

namespace qbk::host {
class Screen;
}

namespace qbk::host::report {

struct ReportRun {
  std::filesystem::path file;  // the definition it ran from
  ReportDefinition definition;
  ReportParams params;  // as the query received them
  ReportData data;
  ReportDocument document;
};

enum class ReportAction { Print, Preview };

using ReportPresenter =
    std::function<void(ReportAction action, const ReportRun& run, const Screen* owner)>;
// The process-wide presenter; returns the one it replaces.
ReportPresenter setReportPresenter(ReportPresenter presenter);
const ReportPresenter& reportPresenter();

}  // namespace qbk::host::report
