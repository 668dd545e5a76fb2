#include "desktop/screenshots.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "desktop/event_boundary.h"
#include "desktop/main_window.h"
#include "forms/pages.h"
#include "host/screens/screen.h"

namespace qbk::desktop {
namespace {

constexpr const char* kMainPages = "pgcPadrao";
constexpr const char* kCnabPages = "pgcCNAB";

bool select(forms::TabSheet& sheet) {
  if (!sheet.tabVisible() || !sheet.enabled()) return false;
  bool selected = false;
  dispatch([&] { selected = sheet.pageControl().userSelect(sheet); });
  QApplication::processEvents();
  return selected && sheet.pageControl().activePage() == &sheet;
}

}  // namespace

std::vector<std::filesystem::path> takeScreenshots(MainWindow& window, host::Screen& screen,
                                                   const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::vector<std::filesystem::path> written;
  auto shoot = [&](const forms::TabSheet& sheet) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d-", static_cast<int>(written.size()) + 1);
    const auto file = dir / (prefix + sheet.name() + ".png");
    QApplication::processEvents();
    if (window.grab().save(QString::fromStdString(file.string()))) written.push_back(file);
  };
  auto* main = screen.form().tryFind<forms::PageControl>(kMainPages);
  if (!main) return written;
  for (forms::TabSheet* sheet : main->pages()) {
    if (!select(*sheet)) continue;
    auto* cnab = screen.form().tryFind<forms::PageControl>(kCnabPages);
    if (cnab && cnab->isEffectivelyVisible()) {
      for (forms::TabSheet* sub : cnab->pages()) {
        if (select(*sub)) shoot(*sub);
      }
    } else {
      shoot(*sheet);
    }
  }
  return written;
}

}  // namespace qbk::desktop
