#include "host/report/report_layout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <map>

namespace qbk::host::report {

namespace {

constexpr double kPointMm = 25.4 / 72.0;
constexpr double kBandGap = 2;  // between the header and the column titles

// The line a row of text takes: the font and some room above and below.
double lineHeight(double fontSize) {
  return fontSize * kPointMm * 1.45;
}

std::string numberText(double value, const std::string& format) {
  const auto dot = format.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(format.size() - dot - 1);
  const bool thousands = format.find(',') != std::string::npos;
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(std::fabs(value) * scale);
  const double whole = std::floor(rounded / scale);
  std::string digits = std::to_string(static_cast<long long>(whole));
  if (thousands) {
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ".");
  }
  std::string out = (value < 0 && rounded > 0 ? "-" : "") + digits;
  if (decimals > 0) {
    long long frac = static_cast<long long>(rounded - whole * scale);
    std::string f = std::to_string(frac);
    out += "," + std::string(decimals - f.size(), '0') + f;
  }
  return out;
}

class Pager {
 public:
  Pager(const ReportDefinition& d, const LayoutOptions& o) : d_(d), o_(o) {
    doc_.title = d.title;
    doc_.width = d.page.width();
    doc_.height = d.page.height();
    left_ = d.page.marginLeft;
    contentWidth_ = doc_.width - d.page.marginLeft - d.page.marginRight;
    row_ = lineHeight(d.fontSize);
    bottom_ = doc_.height - d.page.marginBottom - (d.footer.empty() ? 0 : row_ + 1);
  }

  // Room for `height` more on this page; a new page otherwise.
  void need(double height) {
    if (doc_.pages.empty() || y_ + height > bottom_ + 1e-9) newPage();
  }

  void text(double x, double width, const std::string& s, Align align, bool bold = false,
            double size = 0) {
    ReportBox b;
    b.x = x;
    b.y = y_;
    b.width = width;
    b.height = size > 0 ? lineHeight(size) : row_;
    b.text = s;
    b.align = align;
    b.fontSize = size > 0 ? size : d_.fontSize;
    b.bold = bold;
    page().boxes.push_back(std::move(b));
  }
  void line() {
    ReportBox b;
    b.kind = ReportBox::Kind::Line;
    b.x = left_;
    b.y = y_;
    b.width = contentWidth_;
    page().boxes.push_back(std::move(b));
  }
  void advance(double height) { y_ += height; }

  void row(const std::vector<std::string>& cells, bool bold = false) {
    need(row_);
    double x = left_;
    for (std::size_t c = 0; c < d_.columns.size() && c < cells.size(); ++c) {
      text(x, d_.columns[c].width, cells[c], d_.columns[c].align, bold);
      x += d_.columns[c].width + 2;
    }
    y_ += row_;
  }
  void line(const std::string& s, bool bold) {
    need(row_);
    text(left_, contentWidth_, s, Align::Left, bold);
    y_ += row_;
  }
  double rowHeight() const { return row_; }

  ReportDocument finish() {
    if (doc_.pages.empty()) newPage();
    const int count = static_cast<int>(doc_.pages.size());
    for (auto [page, box] : pageNumbers_) {
      doc_.pages[page].boxes[box].text = pageNumberText(page + 1, count);
    }
    return std::move(doc_);
  }

 private:
  ReportPage& page() { return doc_.pages.back(); }

  void band(const std::vector<BandItem>& items, double size, bool bold) {
    for (const BandItem& item : items) {
      std::string s;
      switch (item.kind) {
        case BandItemKind::Title:
          s = d_.title;
          break;
        case BandItemKind::PrintedAt:
          s = printedAtText(o_.printedAt);
          break;
        case BandItemKind::Text:
          s = item.text;
          break;
        case BandItemKind::PageNumber:
          pageNumbers_.emplace_back(doc_.pages.size() - 1, page().boxes.size());
          break;
      }
      const bool title = item.kind == BandItemKind::Title;
      text(left_, contentWidth_, s, item.align, bold || title, title ? size : 0);
    }
  }

  void newPage() {
    doc_.pages.emplace_back();
    y_ = d_.page.marginTop;
    if (!d_.header.empty()) {
      const double size = d_.fontSize + 4;
      band(d_.header, size, false);
      y_ += lineHeight(size) + kBandGap;
    }
    // Every page repeats the column titles, so a page read alone still says what it lists.
    double x = left_;
    for (const ReportColumn& c : d_.columns) {
      text(x, c.width, c.caption, c.align, true);
      x += c.width + 2;
    }
    y_ += row_;
    line();
    y_ += 0.8;
    if (!d_.footer.empty()) {
      const double keep = y_;
      y_ = doc_.height - d_.page.marginBottom - row_;
      line();
      band(d_.footer, 0, false);
      y_ = keep;
    }
  }

  const ReportDefinition& d_;
  const LayoutOptions& o_;
  ReportDocument doc_;
  double left_ = 0, contentWidth_ = 0, row_ = 0, bottom_ = 0, y_ = 0;
  std::vector<std::pair<std::size_t, std::size_t>> pageNumbers_;  // page, box
};

struct Totals {
  std::vector<double> values;
  explicit Totals(std::size_t n) : values(n, 0) {}
};

}  // namespace

std::string formatCell(const data::Value& value, const ReportColumn& column) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  if (const auto* n = std::get_if<double>(&value)) {
    return column.format.empty() ? data::formatNumber(*n) : numberText(*n, column.format);
  }
  return {};
}

std::string pageNumberText(int page, int pageCount) {
  return "Página " + std::to_string(page) + " de " + std::to_string(pageCount);
}

std::string printedAtText(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&t, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M", &local);
  return buf;
}

ReportDocument layoutReport(const ReportDefinition& d, const ReportData& data,
                            const LayoutOptions& options) {
  Pager pager(d, options);
  pager.need(0);

  // Where each total's field and the group field are in a row.
  auto fieldIndex = [&](const std::string& field) -> int {
    for (std::size_t i = 0; i < data.fields.size(); ++i) {
      if (sameName(data.fields[i], field)) return static_cast<int>(i);
    }
    return -1;
  };
  std::vector<int> totalField;
  for (const ReportTotal& t : d.totals) totalField.push_back(fieldIndex(t.field));
  const int groupField = d.groupField.empty() ? -1 : fieldIndex(d.groupField);

  auto addTo = [&](Totals& totals, const data::Row& row) {
    for (std::size_t t = 0; t < d.totals.size(); ++t) {
      const int f = totalField[t];
      if (f < 0 || data::isNull(row[f])) continue;
      if (d.totals[t].function == TotalFunction::Count) {
        totals.values[t] += 1;
      } else if (const auto* n = std::get_if<double>(&row[f])) {
        totals.values[t] += *n;
      }
    }
  };
  auto printTotals = [&](const Totals& totals) {
    for (std::size_t t = 0; t < d.totals.size(); ++t) {
      const ReportTotal& total = d.totals[t];
      const ReportColumn* col = d.column(total.field);
      const std::string value = total.function == TotalFunction::Count
                                    ? data::formatNumber(totals.values[t])
                                    : formatCell(totals.values[t], col ? *col : ReportColumn{});
      pager.line((total.caption.empty() ? total.field : total.caption) + ": " + value, true);
    }
  };

  Totals grand(d.totals.size());
  Totals group(d.totals.size());
  std::vector<std::string> cells(d.columns.size());
  std::string currentGroup;
  bool inGroup = false;
  for (const data::Row& row : data.rows) {
    if (groupField >= 0) {
      const std::string key = formatCell(row[groupField], ReportColumn{});
      if (!inGroup || key != currentGroup) {
        if (inGroup) printTotals(group);
        group = Totals(d.totals.size());
        currentGroup = key;
        inGroup = true;
        // A heading never ends a page alone.
        pager.need(2 * pager.rowHeight());
        pager.line((d.groupCaption.empty() ? d.groupField : d.groupCaption) + ": " + key, true);
      }
      addTo(group, row);
    }
    addTo(grand, row);
    for (std::size_t c = 0; c < d.columns.size(); ++c) cells[c] = formatCell(row[c], d.columns[c]);
    pager.row(cells);
  }
  if (inGroup && !d.totals.empty()) printTotals(group);
  if (!d.totals.empty()) {
    pager.need(pager.rowHeight() * (static_cast<double>(d.totals.size()) + 0.5));
    pager.line();
    pager.advance(0.8);
    printTotals(grand);
  }
  return pager.finish();
}

}  // namespace qbk::host::report
