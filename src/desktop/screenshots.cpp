#include "desktop/screenshots.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "data/record_set.h"
#include "desktop/event_boundary.h"
#include "desktop/main_window.h"
#include "desktop/screen_window.h"
#include "forms/buttons.h"
#include "forms/grid.h"
#include "forms/pages.h"
#include "host/screens/screen.h"

namespace qbk::desktop {
namespace {

constexpr const char* kMainPages = "pgcPadrao";
constexpr const char* kCnabPages = "pgcCNAB";
constexpr const char* kCompanyPages = "pgcEmpresa";
constexpr const char* kBankList = "dbgPadrao";
// The demo bank with something on every tab: companies, return codes, collection
// instructions and a DDA address.
constexpr const char* kDemoBank = "341";

bool select(forms::TabSheet& sheet) {
  if (!sheet.tabVisible() || !sheet.enabled()) return false;
  bool selected = false;
  dispatch([&] { selected = sheet.pageControl().userSelect(sheet); });
  QApplication::processEvents();
  return selected && sheet.pageControl().activePage() == &sheet;
}

// As a person clicking the bank's row in the list.
void selectBank(host::Screen& screen, const char* code) {
  auto* grid = screen.form().tryFind<forms::Grid>(kBankList);
  if (!grid || !grid->dataSet()) return;
  data::RecordSet& banks = *grid->dataSet();
  dispatch([&] {
    grid->form().userFocus(*grid);
    banks.locate({"CDBANCO"}, {data::Value(std::string(code))});
  });
  QApplication::processEvents();
}

// Takes a picture of the main window, or of `window` (a modal one of its own).
using Shoot = std::function<void(const std::string& name, QWidget* window)>;

// Every page of a page control in turn, and within each page the page controls it holds.
void shootPages(host::Screen& screen, forms::PageControl& pages, const Shoot& shoot) {
  for (forms::TabSheet* sheet : pages.pages()) {
    if (!select(*sheet)) continue;
    forms::PageControl* inner = nullptr;
    for (const char* name : {kCnabPages, kCompanyPages}) {
      auto* candidate = screen.form().tryFind<forms::PageControl>(name);
      if (candidate && candidate->parent() == sheet) inner = candidate;
    }
    if (inner) {
      shootPages(screen, *inner, shoot);
    } else {
      shoot(sheet->name(), nullptr);
    }
  }
}

// Runs `act` on the modal window that the next call opens, from inside its own event loop.
void onNextModal(const std::function<void(QWidget*)>& act) {
  QTimer::singleShot(0, [act] {
    if (QWidget* w = QApplication::activeModalWidget()) act(w);
  });
}

// The report window, opened by the print command, and the preview it opens; each is
// closed again after its picture.
void shootReportWindow(MainWindow&, host::Screen& screen, const Shoot& shoot) {
  auto* print = screen.form().tryFind<forms::CommandButton>("sbtImprimir");
  if (!print || !print->enabled()) return;
  onNextModal([&shoot](QWidget* report) {
    auto* dialog = dynamic_cast<ScreenDialog*>(report);
    if (!dialog) {
      report->close();
      return;
    }
    shoot("frmRelBanco", report);
    auto* preview = dialog->view().screen().form().tryFind<forms::CommandButton>("sbtPreview");
    if (preview) {
      onNextModal([&shoot](QWidget* window) {
        shoot("visualizar", window);
        window->close();
      });
      dispatch([&] { preview->userClick(); });
    }
    report->close();
  });
  dispatch([&] { print->userClick(); });
}

}  // namespace

std::vector<std::filesystem::path> takeScreenshots(MainWindow& window, host::Screen& screen,
                                                   const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::vector<std::filesystem::path> written;
  const Shoot shoot = [&](const std::string& name, QWidget* what) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d-", static_cast<int>(written.size()) + 1);
    const auto file = dir / (prefix + name + ".png");
    QApplication::processEvents();
    QWidget& shown = what ? *what : static_cast<QWidget&>(window);
    if (shown.grab().save(QString::fromStdString(file.string()))) written.push_back(file);
  };
  auto* main = screen.form().tryFind<forms::PageControl>(kMainPages);
  if (!main) return written;
  selectBank(screen, kDemoBank);
  shootPages(screen, *main, shoot);
  shootReportWindow(window, screen, shoot);
  return written;
}

}  // namespace qbk::desktop
