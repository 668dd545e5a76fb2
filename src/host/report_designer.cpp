#include "host/report_designer.h"

#include <utility>

namespace qbk::host {

namespace {

TReportDesignerDialog::Opener& opener() {
  static TReportDesignerDialog::Opener current;
  return current;
}

// A cut must not split a character: the name would no longer be valid text.
std::string cutUtf8(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

void TReportDesignerDialog::EditReport(const std::string& path,
                                       std::chrono::system_clock::time_point when) {
  ReportEditRequest request{cutUtf8(path, kMaxPathLength), when, settings, form};
  requests_.push_back(request);
  if (opener()) opener()(request);
}

TReportDesignerDialog::Opener TReportDesignerDialog::setOpener(Opener next) {
  return std::exchange(opener(), std::move(next));
}

}  // namespace qbk::host
