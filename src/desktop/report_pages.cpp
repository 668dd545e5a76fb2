#include "desktop/report_pages.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "desktop/qt_text.h"

namespace qbk::desktop {

namespace {

using host::report::Align;
using host::report::ReportBox;
using host::report::ReportDocument;

constexpr double kPointMm = 25.4 / 72.0;

Qt::Alignment alignment(Align a) {
  switch (a) {
    case Align::Center:
      return Qt::AlignHCenter;
    case Align::Right:
      return Qt::AlignRight;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft;
}

// A wide sheet is the named paper turned, so a printer driver feeds it as that paper.
QPageLayout layoutOf(const ReportDocument& doc) {
  const bool wide = doc.width > doc.height;
  const QSizeF upright = wide ? QSizeF(doc.height, doc.width) : QSizeF(doc.width, doc.height);
  return QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                     wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                     QPageLayout::Millimeter);
}

// Pages of the device, painted one after the other.
template <class Device>
bool paintAll(const ReportDocument& doc, Device& device, int from, int to, QString& error) {
  QPainter painter;
  if (!painter.begin(&device)) {
    error = "o dispositivo não pôde ser aberto";
    return false;
  }
  for (int p = from; p <= to; ++p) {
    if (p > from && !device.newPage()) {
      error = "a página não pôde ser iniciada";
      return false;
    }
    const QRect area = painter.viewport();
    paintReportPage(painter, doc, p, QRectF(area));
  }
  return painter.end();
}

}  // namespace

void paintReportPage(QPainter& painter, const ReportDocument& doc, int index,
                     const QRectF& target) {
  if (index < 0 || index >= static_cast<int>(doc.pages.size())) return;
  const double scale = target.width() / doc.width;  // device units per millimetre
  // Fonts in device units: a point is the same length on every device, so they follow the
  // sheet's scale and not the screen's resolution.
  const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
  painter.save();
  painter.setClipRect(target);
  painter.fillRect(target, Qt::white);
  painter.setPen(QPen(Qt::black, std::max(1.0, 0.2 * scale)));
  for (const ReportBox& b : doc.pages[index].boxes) {
    const QRectF r(target.left() + b.x * scale, target.top() + b.y * scale, b.width * scale,
                   b.height * scale);
    if (b.kind == ReportBox::Kind::Line) {
      painter.drawLine(r.topLeft(), r.topRight());
      continue;
    }
    QFont font = painter.font();
    font.setPointSizeF(std::max(0.5, b.fontSize * kPointMm * scale * 72.0 / dpi));
    font.setBold(b.bold);
    painter.setFont(font);
    const QString text =
        painter.fontMetrics().elidedText(qs(b.text), Qt::ElideRight, static_cast<int>(r.width()));
    painter.drawText(r, static_cast<int>(alignment(b.align) | Qt::AlignVCenter), text);
  }
  painter.restore();
}

ReportPageWidget::ReportPageWidget(const ReportDocument* doc, QWidget* parent)
    : QWidget(parent), doc_(doc) {
  setObjectName("reportPage");
}

void ReportPageWidget::setDocument(const ReportDocument* doc) {
  doc_ = doc;
  show(page_, zoom_);
}

void ReportPageWidget::show(int page, double zoom) {
  page_ = page;
  zoom_ = zoom;
  if (!doc_) return;
  const double perMm = logicalDpiX() / 25.4 * zoom;
  setFixedSize(static_cast<int>(doc_->width * perMm), static_cast<int>(doc_->height * perMm));
  update();
}

void ReportPageWidget::paintEvent(QPaintEvent*) {
  if (!doc_) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  paintReportPage(painter, *doc_, page_, QRectF(rect()));
}

bool writeReportPdf(const ReportDocument& doc, const QString& file, QString& error) {
  QPdfWriter writer(file);
  writer.setResolution(300);
  writer.setTitle(qs(doc.title));
  writer.setCreator(QStringLiteral("Qbk"));
  writer.setPageLayout(layoutOf(doc));
  if (!paintAll(doc, writer, 0, static_cast<int>(doc.pages.size()) - 1, error)) {
    error = QString("Não foi possível gravar %1: %2").arg(file, error);
    return false;
  }
  if (!QFile::exists(file)) {
    error = QString("Não foi possível gravar %1.").arg(file);
    return false;
  }
  return true;
}

bool printReport(const ReportDocument& doc, QPrinter& printer, QString& error) {
  printer.setPageLayout(layoutOf(doc));
  printer.setDocName(qs(doc.title));
  const int last = static_cast<int>(doc.pages.size()) - 1;
  int from = 0, to = last;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    from = std::clamp(printer.fromPage() - 1, 0, last);
    to = std::clamp(printer.toPage() - 1, from, last);
  }
  if (!paintAll(doc, printer, from, to, error)) {
    error = QString("Não foi possível imprimir: %1").arg(error);
    return false;
  }
  return true;
}

}  // namespace qbk::desktop
