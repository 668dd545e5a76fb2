// The report designer component: opens a report definition for editing. The settings are
// held as properties and travel with each request, so the window that shows the designer
// (the desktop's) lays it out as the screen configured it; headless, the requests are
// recorded for whoever needs to know what was opened.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "host/report/report_params.h"

namespace qbk::host {

class Screen;

enum class SqlDelimiters { Standard, Custom };

struct ReportDesignerSettings {
  std::string defaultDatabaseName = "dbQuelvar";
  std::vector<std::string> availableDatabaseNames = {"dbQuelvar"};
  bool defaultDatabaseOnly = false;
  std::string defaultExtension = ".QR2";
  std::string filter = "Reports|*.QR2";
  // What the person may change in the designer.
  bool allowSQLEdit = true;
  bool allowDatasetEdit = true;
  bool allowBlockEdit = true;
  bool allowScriptEdit = true;
  // How the editor behaves.
  bool autoEditAfterInsert = true;
  bool showDatafieldListbox = true;
  bool datafieldsSorted = true;
  bool scriptsEnabled = true;
  bool printIfEmpty = false;
  bool filterBeforePrint = false;
  bool modalPreview = false;
  bool dataModules = false;
  bool savePrinterSetup = false;
  // Printer: pages 0 to 0 mean every page.
  bool usePrinterSettings = true;
  int copies = 1;
  bool duplex = false;
  int firstPage = 0;
  int lastPage = 0;
  int outputBin = 0;  // the first bin
  SqlDelimiters sqlDelimiters = SqlDelimiters::Custom;
  int firstLabel = 0;
  int labelCount = 0;
  std::string designerVersion = "1.30";
};

struct ReportEditRequest {
  std::string path;
  std::chrono::system_clock::time_point when;
  ReportDesignerSettings settings;
  const Screen* owner = nullptr;
};

class TReportDesignerDialog {
 public:
  // The longest file name the designer takes.
  static constexpr std::size_t kMaxPathLength = 255;

  using Opener = std::function<void(const ReportEditRequest&)>;

  ReportDesignerSettings settings;
  // The screen the designer is shown over.
  const Screen* form = nullptr;

  // Opens `path` (cut to kMaxPathLength bytes, never inside a UTF-8 character) for
  // editing, stamped with `when`. Saving and closing are the designer's.
  void EditReport(const std::string& path, std::chrono::system_clock::time_point when);

  // Raised just before a report runs, with the parameters its definition declares: the
  // screen fills them. The flag is the designer's and is handed on as it comes back.
  std::function<void(report::ReportParams& params, bool& flag)> onBeforeGetQueryParams;

  // What was opened, in order (also when an opener is installed).
  const std::vector<ReportEditRequest>& requests() const { return requests_; }

  // The process-wide opener: the desktop installs its designer window; without one the
  // request is only recorded. Returns the one it replaces.
  static Opener setOpener(Opener opener);

 private:
  std::vector<ReportEditRequest> requests_;
};

}  // namespace qbk::host
