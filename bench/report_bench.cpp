// The whole bank list report of 10,000 banks: the query on a SQLite database built as the
// server builds it, the layout into pages and the PDF the desktop writes, each timed; the
// median of several runs and the pages produced.
//
//   build/bin/bench_report [runs=7] [banks=10000] [keep.pdf]
#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench_support.h"
#include "db/connection.h"
#include "desktop/report_pages.h"
#include "host/report/report_query.h"

using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  QApplication qt(qtArgc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const int banks = argc > 2 ? std::atoi(argv[2]) : 10000;
  const char* keep = argc > 3 ? argv[3] : nullptr;

  qbk::bench::BenchDatabase database(banks);
  auto conn = qbk::db::open(database.path());
  namespace report = qbk::host::report;
  const report::ReportDefinition definition =
      report::loadReportDefinition(report::findReportDefinition(QBK_TEST_REPORT_DIR, "QBK512"));
  report::ReportParams params(definition);
  params.ParamByName("TCDBANCO") = "T";
  params.ParamByName("CDBANCO") = "";
  const std::string pdf =
      keep ? keep : (std::filesystem::path(database.path()).parent_path() / "bancos.pdf").string();

  std::vector<double> query, layout, write, total;
  std::size_t rows = 0, pages = 0;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = Clock::now();
    const report::ReportData data = report::runReportQuery(*conn, definition, params);
    const auto t1 = Clock::now();
    const report::ReportDocument doc = report::layoutReport(definition, data);
    const auto t2 = Clock::now();
    QString error;
    if (!qbk::desktop::writeReportPdf(doc, QString::fromStdString(pdf), error)) {
      std::fprintf(stderr, "%s\n", error.toStdString().c_str());
      return 1;
    }
    const auto t3 = Clock::now();
    query.push_back(ms(t1 - t0));
    layout.push_back(ms(t2 - t1));
    write.push_back(ms(t3 - t2));
    total.push_back(ms(t3 - t0));
    rows = data.rows.size();
    pages = doc.pages.size();
  }
  std::printf("bank list report: %zu banks, %zu pages, PDF %lld KiB, %d runs (median)\n", rows,
              pages, static_cast<long long>(QFileInfo(QString::fromStdString(pdf)).size() / 1024),
              runs);
  std::printf(
      "  query  %8.1f ms\n  layout %8.1f ms\n  PDF    %8.1f ms\n  total  %8.1f ms (goal < 1000)\n",
      median(query), median(layout), median(write), median(total));
  return 0;
}
