// The report designer the desktop shows when a screen opens a report definition for
// editing: the designer window for a definition of ours, the file's text in an editor for
// any other file; either saves back on request.
#pragma once

#include <QWidget>

#include "host/report_designer.h"

namespace qbk::desktop {

// Shows the definition named by the request in a modal editor over `parent`. A file that
// cannot be read or written is reported to the person and nothing is lost.
void editReportDefinition(QWidget* parent, const host::ReportEditRequest& request);

}  // namespace qbk::desktop
