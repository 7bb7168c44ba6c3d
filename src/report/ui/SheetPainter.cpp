#include "report/ui/SheetPainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "report/ui/SheetChartPainter.h"
#include "report/ui/SheetStyle.h"

namespace report::ui {

namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

constexpr double kFooter = 7, kGap = 4, kTitle = 6.5, kHeaderRow = 5.2, kRow = 4.8, kMinRow = 3.8,
                 kChart = 58, kFactLabel = 27;
// A one-page sheet shrinks its chart and rows in these steps, down to the smallest that stays
// legible in print; beyond it the sheet takes a second page at full size instead.
constexpr double kScaleStep = 0.05, kMinScale = 0.7;
constexpr int kWrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

// Column edges of `table` over `width`, from its relative widths.
std::vector<double> columnWidths(const SheetTable& table, double width) {
  std::vector<int> weights = table.widths;
  weights.resize(table.header.size(), 1);
  double total = 0;
  for (int w : weights) total += w;
  std::vector<double> widths;
  for (int w : weights) widths.push_back(width * w / total);
  return widths;
}

}  // namespace

void SheetPainter::preparePage(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(25, 12, 15, 12), QPageLayout::Millimeter));
}

int SheetPainter::paint(QPagedPaintDevice& device) const {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  unit_ = device.logicalDpiY() / 25.4;
  width_ = device.width();
  height_ = device.height();
  scale_ = 1;
  std::vector<Page> pages = layout(painter);
  if (sheet_.onePage && pages.size() > 1) {
    while (pages.size() > 1 && scale_ > kMinScale + kScaleStep / 2) {
      scale_ -= kScaleStep;
      pages = layout(painter);
    }
    if (pages.size() > 1) {
      scale_ = 1;
      pages = layout(painter);
    }
  }
  const int count = static_cast<int>(pages.size());
  for (int p = 0; p < count; ++p) {
    if (p > 0) device.newPage();
    for (const Placed& placed : pages[p]) {
      switch (placed.part) {
        case Part::Heading:
          paintHeading(painter, placed.top);
          break;
        case Part::Chart: {
          painter.setFont(sheetFont(10, true));
          painter.setPen(Qt::black);
          painter.drawText(QRectF(0, placed.top, width_, mm(kTitle)), Qt::AlignLeft | Qt::AlignTop,
                           qs(sheet_.chart->title));
          SheetChartPainter(*sheet_.chart, unit_)
              .paint(painter, QRectF(0, placed.top + mm(kTitle), width_, chartHeight()));
          break;
        }
        case Part::Table:
          paintTable(painter, placed);
          break;
        case Part::Closing:
          painter.setFont(sheetFont(8, false, true));
          painter.setPen(QPen(kRuleColour, mm(0.2)));
          painter.drawLine(QPointF(0, placed.top), QPointF(width_, placed.top));
          painter.setPen(Qt::black);
          painter.drawText(QRectF(0, placed.top + mm(1.5), width_, placed.height), kWrap,
                           qs(sheet_.closing));
          break;
      }
    }
    paintFooter(painter, p + 1, count);
  }
  painter.end();
  return count;
}

double SheetPainter::row() const {
  return mm(kRow) * scale_;
}

double SheetPainter::minRow() const {
  return mm(kMinRow) * scale_;
}

double SheetPainter::chartHeight() const {
  return mm(kChart) * scale_;
}

std::vector<SheetPainter::Page> SheetPainter::layout(QPainter& painter) const {
  const double bottom = height_ - mm(kFooter);
  std::vector<Page> pages(1);
  double y = 0;
  const auto newPage = [&] {
    pages.emplace_back();
    y = 0;
  };
  const double heading = headingHeight(painter);
  pages.back().push_back({Part::Heading, y, heading});
  y += heading + mm(kGap);
  if (sheet_.chart) {
    const double chart = mm(kTitle) + chartHeight();
    if (y + chart > bottom) newPage();
    pages.back().push_back({Part::Chart, y, chart});
    y += chart + mm(kGap);
  }
  const double closing = closingHeight(painter);
  for (std::size_t t = 0; t < sheet_.tables.size(); ++t) {
    const int rows = static_cast<int>(sheet_.tables[t].rows.size());
    const double fixed = mm(kTitle + kHeaderRow);
    const double after = t + 1 == sheet_.tables.size() ? closing + mm(kGap) : 0;
    const int table = static_cast<int>(t);
    int first = 0;
    for (;;) {
      const double room = bottom - y - fixed;
      const int left = rows - first;
      // The rest of the table ends here, squeezed a little when that is enough.
      if (left * minRow() <= room - after) {
        const double height = std::min(row(), left > 0 ? (room - after) / left : row());
        pages.back().push_back({Part::Table, y, fixed + left * height, table, first, left, height});
        y += fixed + left * height + mm(kGap);
        break;
      }
      const int fit = static_cast<int>(std::floor(room / row()));
      if (fit < 3 && y > 0) {  // a header with a row or two under it: start on a new page
        newPage();
        continue;
      }
      const int shown = std::max(1, fit);
      pages.back().push_back({Part::Table, y, fixed + shown * row(), table, first, shown, row()});
      first += shown;
      newPage();
    }
  }
  if (!sheet_.closing.empty()) {
    if (y + closing > bottom) newPage();
    pages.back().push_back({Part::Closing, y, closing});
  }
  return pages;
}

double SheetPainter::headingHeight(QPainter& painter) const {
  painter.setFont(sheetFont(8));
  double height = painter.fontMetrics().height() * 1.0 + mm(1);
  painter.setFont(sheetFont(13, true));
  height += painter.boundingRect(QRectF(0, 0, width_, mm(50)), kWrap, qs(sheet_.product)).height();
  height += mm(2.5);
  const double factsWidth = width_ * 0.47;
  double summary = 0;
  if (sheet_.summary) {
    summary = mm(kTitle + kHeaderRow) + sheet_.summary->rows.size() * mm(kRow);
    if (!sheet_.summaryNote.empty()) summary += mm(5);
  }
  return height + std::max(factsHeight(painter, factsWidth), summary) + mm(1);
}

double SheetPainter::factsHeight(QPainter& painter, double width) const {
  double height = mm(kTitle);
  painter.setFont(sheetFont(8.5));
  for (const SheetFact& fact : sheet_.facts) {
    const QRectF box(0, 0, width - mm(kFactLabel), mm(30));
    height +=
        std::max(painter.boundingRect(box, kWrap, qs(fact.value)).height(), mm(3.8)) + mm(0.3);
  }
  return height;
}

double SheetPainter::closingHeight(QPainter& painter) const {
  painter.setFont(sheetFont(8, false, true));
  return painter.boundingRect(QRectF(0, 0, width_, mm(30)), kWrap, qs(sheet_.closing)).height() +
         mm(2);
}

void SheetPainter::paintHeading(QPainter& painter, double top) const {
  painter.setFont(sheetFont(8));
  painter.setPen(kQuietText);
  const double line = painter.fontMetrics().height();
  painter.drawText(QRectF(0, top, width_, line), Qt::AlignLeft | Qt::AlignTop, qs(sheet_.title));
  painter.drawText(QRectF(0, top, width_, line), Qt::AlignRight | Qt::AlignTop, qs(sheet_.maker));
  double y = top + line + mm(1);
  painter.setFont(sheetFont(13, true));
  painter.setPen(Qt::black);
  QRectF product = painter.boundingRect(QRectF(0, y, width_, mm(50)), kWrap, qs(sheet_.product));
  painter.drawText(QRectF(0, y, width_, product.height()), kWrap, qs(sheet_.product));
  y += product.height() + mm(1);
  painter.setPen(QPen(kRuleColour, mm(0.3)));
  painter.drawLine(QPointF(0, y), QPointF(width_, y));
  y += mm(1.5);

  const double factsWidth = width_ * 0.47;
  painter.setFont(sheetFont(10, true));
  painter.setPen(Qt::black);
  painter.drawText(QRectF(0, y, factsWidth, mm(kTitle)), Qt::AlignLeft | Qt::AlignTop,
                   qs(sheet_.factsTitle));
  double factY = y + mm(kTitle);
  for (const SheetFact& fact : sheet_.facts) {
    painter.setFont(sheetFont(8));
    painter.setPen(kQuietText);
    painter.drawText(QRectF(0, factY + mm(0.3), mm(kFactLabel), mm(4)),
                     Qt::AlignLeft | Qt::AlignTop, qs(fact.label));
    painter.setFont(sheetFont(8.5));
    painter.setPen(Qt::black);
    const QRectF box(mm(kFactLabel), factY, factsWidth - mm(kFactLabel), mm(30));
    const QRectF used = painter.boundingRect(box, kWrap, qs(fact.value));
    painter.drawText(box, kWrap, qs(fact.value));
    factY += std::max(used.height(), mm(3.8)) + mm(0.3);
  }
  if (sheet_.summary) paintSummary(painter, factsWidth + mm(6), y, width_ - factsWidth - mm(6));
}

void SheetPainter::paintSummary(QPainter& painter, double left, double top, double width) const {
  const SheetTable& table = *sheet_.summary;
  painter.setFont(sheetFont(10, true));
  painter.setPen(Qt::black);
  painter.drawText(QRectF(left, top, width, mm(kTitle)), Qt::AlignLeft | Qt::AlignTop,
                   qs(table.title));
  const double height = mm(kHeaderRow) + table.rows.size() * mm(kRow);
  paintCells(painter, table, columnWidths(table, width), left, top + mm(kTitle), mm(kRow));
  if (sheet_.summaryNote.empty()) return;
  painter.setFont(sheetFont(7.5, false, true));
  painter.setPen(kQuietText);
  painter.drawText(QRectF(left, top + mm(kTitle) + height + mm(1), width, mm(4)),
                   Qt::AlignLeft | Qt::AlignTop, qs(sheet_.summaryNote));
}

void SheetPainter::paintTable(QPainter& painter, const Placed& placed) const {
  const SheetTable& whole = sheet_.tables[placed.table];
  painter.setFont(sheetFont(10, true));
  painter.setPen(Qt::black);
  const QString title = qs(whole.title) + (placed.firstRow > 0 ? QStringLiteral(" (segue)") : "");
  painter.drawText(QRectF(0, placed.top, width_, mm(kTitle)), Qt::AlignLeft | Qt::AlignTop, title);
  SheetTable part{whole.title, whole.header, whole.widths, {}};
  part.rows.assign(whole.rows.begin() + placed.firstRow,
                   whole.rows.begin() + placed.firstRow + placed.rowCount);
  paintCells(painter, part, columnWidths(whole, width_), 0, placed.top + mm(kTitle),
             placed.rowHeight);
}

double SheetPainter::padding(double columnWidth, bool compact) const {
  return compact ? std::clamp(columnWidth * 0.08, mm(0.6), mm(1.5)) : mm(1.5);
}

SheetPainter::Fit SheetPainter::fit(QPainter& painter, const SheetTable& table,
                                    const std::vector<double>& widths, double points,
                                    bool header) const {
  const auto fits = [&](Fit f) {
    const QFontMetricsF plain(sheetFont(f.points), painter.device()),
        bold(sheetFont(f.points, true), painter.device());
    for (std::size_t c = 0; c < widths.size(); ++c) {
      const double room = widths[c] - 2 * padding(widths[c], f.compact);
      if (header) {
        if (c < table.header.size() && bold.horizontalAdvance(qs(table.header[c])) > room)
          return false;
        continue;
      }
      for (const auto& cells : table.rows)
        if (c < cells.size() &&
            (cells[c].bold ? bold : plain).horizontalAdvance(qs(cells[c].text)) > room)
          return false;
    }
    return true;
  };
  Fit f{points, false};
  if (fits(f)) return f;
  f.compact = true;
  // Headers are short codes in bold over narrow columns (a matrix of eight products): they may
  // go a step smaller than the figures before anything is cut.
  const double smallest = header ? 5 : 6;
  while (f.points > smallest && !fits(f)) f.points -= 0.5;
  return f;
}

void SheetPainter::paintCells(QPainter& painter, const SheetTable& table,
                              const std::vector<double>& widths, double left, double top,
                              double rowHeight) const {
  double width = 0;
  for (double w : widths) width += w;
  const double bodyTop = top + mm(kHeaderRow);
  const double bottom = bodyTop + table.rows.size() * rowHeight;
  painter.fillRect(QRectF(left, top, width, mm(kHeaderRow)), kHeaderFill);
  const Fit head = fit(painter, table, widths, 8, true);
  painter.setFont(sheetFont(head.points, true));
  painter.setPen(Qt::black);
  double x = left;
  for (std::size_t c = 0; c < table.header.size(); ++c) {
    // Captions sit over their figures: right over number columns, left over the first.
    const Qt::Alignment side = c == 0 ? Qt::AlignLeft : Qt::AlignRight;
    const double pad = padding(widths[c], head.compact);
    painter.drawText(QRectF(x + pad, top, widths[c] - 2 * pad, mm(kHeaderRow)),
                     side | Qt::AlignVCenter, qs(table.header[c]));
    x += widths[c];
  }
  const double rowPoints = rowHeight < mm(3.4) ? 6.5 : rowHeight < mm(4.4) ? 7.5 : 8;
  const Fit body = fit(painter, table, widths, rowPoints, false);
  const QFont plain = sheetFont(body.points), bold = sheetFont(body.points, true);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    x = left;
    const double y = bodyTop + r * rowHeight;
    for (std::size_t c = 0; c < table.rows[r].size() && c < widths.size(); ++c) {
      const SheetCell& cell = table.rows[r][c];
      const double pad = padding(widths[c], body.compact);
      if (cell.fill)
        painter.fillRect(QRectF(x, y, widths[c], rowHeight),
                         QColor(cell.fill->red, cell.fill->green, cell.fill->blue));
      painter.setFont(cell.bold ? bold : plain);
      painter.setPen(cell.negative ? kNegativeText : QColor(Qt::black));
      painter.drawText(QRectF(x + pad, y, widths[c] - 2 * pad, rowHeight),
                       (cell.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                       qs(cell.text));
      x += widths[c];
    }
  }
  // The rules: light between rows and columns, darker around and under the header.
  painter.setPen(QPen(QColor(205, 205, 205), mm(0.12)));
  for (std::size_t r = 1; r < table.rows.size(); ++r) {
    const double y = bodyTop + r * rowHeight;
    painter.drawLine(QPointF(left, y), QPointF(left + width, y));
  }
  x = left;
  for (std::size_t c = 0; c + 1 < widths.size(); ++c) {
    x += widths[c];
    painter.drawLine(QPointF(x, top), QPointF(x, bottom));
  }
  painter.setPen(QPen(kRuleColour, mm(0.3)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(left, top, width, bottom - top));
  painter.drawLine(QPointF(left, bodyTop), QPointF(left + width, bodyTop));
}

void SheetPainter::paintFooter(QPainter& painter, int page, int pageCount) const {
  const double top = height_ - mm(kFooter) + mm(2.5);
  painter.setPen(QPen(kRuleColour, mm(0.2)));
  painter.drawLine(QPointF(0, top), QPointF(width_, top));
  painter.setFont(sheetFont(7.5));
  painter.setPen(kQuietText);
  const QRectF box(0, top + mm(0.8), width_, mm(kFooter) - mm(3));
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, qs(sheet_.footer));
  painter.drawText(box, Qt::AlignRight | Qt::AlignTop, qs(pageText(page, pageCount)));
}

}  // namespace report::ui
