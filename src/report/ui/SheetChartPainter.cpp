#include "report/ui/SheetChartPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "platform/Format.h"
#include "report/ui/SheetStyle.h"
#include "statind/ui/ChartColours.h"

namespace report::ui {

namespace {

using statind::GraphModel;
// The series in the colours they have on screen.
using statind::ui::kBandColour;
using statind::ui::kBarColour;
using statind::ui::kFitColour;
using statind::ui::kIndexColour;
using statind::ui::kMaxColour;
using statind::ui::kMeanColour;
using statind::ui::kMinColour;

const QColor kAxisColour(90, 90, 90);
const QColor kGridColour(215, 215, 215);

double niceStep(double span) {
  const double rough = span / 5;
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  const double norm = rough / magnitude;
  return (norm < 1.5 ? 1 : norm < 3 ? 2 : norm < 7 ? 5 : 10) * magnitude;
}

QString tickText(double value, double step) {
  const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
  const char* pattern = decimals == 0 ? "#,##0" : decimals == 1 ? "#,##0.0" : "#,##0.00";
  return QString::fromStdString(platform::formatNumber(value, pattern));
}

// The pen and swatch of a legend entry, known by its first word.
struct Stroke {
  QColor colour;
  Qt::PenStyle style = Qt::SolidLine;
  bool band = false;
};

Stroke strokeOf(const std::string& entry, int type) {
  const auto starts = [&](const char* word) { return entry.rfind(word, 0) == 0; };
  if (starts("StdDev")) return {kBandColour, Qt::SolidLine, true};
  if (starts("Media")) return {kMeanColour, Qt::DashLine};
  if (starts("Min")) return {kMinColour, Qt::DotLine};
  if (starts("Max")) return {kMaxColour, Qt::DotLine};
  if (starts("BestFit")) return {kFitColour, Qt::SolidLine};
  return {type == GraphModel::kBars ? kBarColour : kIndexColour, Qt::SolidLine,
          type == GraphModel::kBars};
}

}  // namespace

SheetChartPainter::Scale SheetChartPainter::scale() const {
  double low = INFINITY, high = -INFINITY;
  const auto take = [&](double v) {
    low = std::min(low, v);
    high = std::max(high, v);
  };
  for (const auto& point : chart_.points)
    if (point.value) take(*point.value);
  for (const SheetLine& line : chart_.lines)
    for (const auto& value : line.values)
      if (value) take(*value);
  if (chart_.level) take(*chart_.level);
  const statind::Overlays& o = chart_.overlays;
  if (chart_.overlayMask & GraphModel::kOverlayStdDev) {
    take(o.mean - o.stdDev);
    take(o.mean + o.stdDev);
  }
  if (chart_.overlayMask & GraphModel::kOverlayBestFit) {
    take(o.fitAt(1));
    take(o.fitAt(static_cast<int>(chart_.points.size())));
  }
  if (!std::isfinite(low)) low = 0, high = 1;  // nothing written
  if (chart_.yFromZero || chart_.type == GraphModel::kBars) take(0);
  double span = high - low;
  if (span <= 0) span = std::max(1.0, std::fabs(high) * 0.1);
  Scale s;
  s.step = niceStep(span);
  s.min = std::floor(low / s.step) * s.step;
  s.max = std::ceil(high / s.step) * s.step;
  if (s.max <= s.min) s.max = s.min + s.step;
  return s;
}

void SheetChartPainter::paint(QPainter& painter, const QRectF& area) const {
  painter.save();
  painter.setFont(sheetFont(7.5));
  const Scale s = scale();
  const QFontMetricsF metrics(painter.font(), painter.device());
  double labelWidth = 0;
  for (double v = s.min; v <= s.max + s.step / 2; v += s.step)
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tickText(v, s.step)));
  const double legendHeight = legend(painter, area.width(), nullptr, {});
  const QRectF plot(area.left() + labelWidth + mm(2), area.top() + mm(2),
                    area.width() - labelWidth - mm(3),
                    area.height() - mm(2) - metrics.height() - mm(1.5) - legendHeight);
  paintAxes(painter, plot, s);
  painter.save();
  painter.setClipRect(plot.adjusted(-mm(1), -mm(1), mm(1), mm(1)));
  painter.setRenderHint(QPainter::Antialiasing);
  paintOverlays(painter, plot, s);
  paintSeries(painter, plot, s);
  painter.restore();
  legend(painter, area.width(), &painter, QPointF(area.left(), area.bottom() - legendHeight));
  painter.restore();
}

void SheetChartPainter::paintAxes(QPainter& painter, const QRectF& plot, const Scale& s) const {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const auto y = [&](double v) {
    return plot.bottom() - (v - s.min) / (s.max - s.min) * plot.height();
  };
  const int n = static_cast<int>(chart_.points.size());
  const double slot = plot.width() / std::max(1, n);
  for (double v = s.min; v <= s.max + s.step / 2; v += s.step) {
    painter.setPen(QPen(kGridColour, mm(0.15)));
    if ((chart_.gridStyle & 1) && v > s.min)
      painter.drawLine(QPointF(plot.left(), y(v)), QPointF(plot.right(), y(v)));
    painter.setPen(QPen(kAxisColour, mm(0.2)));
    painter.drawLine(QPointF(plot.left() - mm(1), y(v)), QPointF(plot.left(), y(v)));
    const QRectF box(plot.left() - mm(30), y(v) - metrics.height() / 2, mm(28), metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, tickText(v, s.step));
  }
  const std::vector<bool> shown = shownLabels(metrics, slot);
  for (int i = 0; i < n; ++i) {
    const double x = plot.left() + (i + 0.5) * slot;
    // Series of hundreds of dates tick only where a label stands.
    if (!chart_.lines.empty() && !chart_.points[i].label) continue;
    if (chart_.gridStyle & 2) {
      painter.setPen(QPen(kGridColour, mm(0.15)));
      painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(QPen(kAxisColour, mm(0.2)));
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + mm(0.8)));
    if (!shown[static_cast<std::size_t>(i)]) continue;
    const QString text = labelText(i);
    const double width = metrics.horizontalAdvance(text);
    painter.drawText(
        QRectF(x - width / 2 - mm(0.5), plot.bottom() + mm(1.2), width + mm(1), metrics.height()),
        Qt::AlignHCenter | Qt::AlignTop, text);
  }
  painter.setPen(QPen(kAxisColour, mm(0.25)));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

QString SheetChartPainter::labelText(int i) const {
  const auto& label = chart_.points[static_cast<std::size_t>(i)].label;
  return label ? QString::fromStdString(*label).trimmed() : QString();
}

// The X labels that fit without touching each other, with `slot` the room of one point. Labels
// with digits (the years) come first, so that a year is never left out for a month's letter;
// the letters then fill the room that is left. Blank labels take no room.
std::vector<bool> SheetChartPainter::shownLabels(const QFontMetricsF& metrics, double slot) const {
  const int n = static_cast<int>(chart_.points.size());
  std::vector<bool> shown(static_cast<std::size_t>(n), false);
  std::vector<std::pair<double, double>> taken;  // the kept labels' extents
  const auto keep = [&](int i) {
    const QString text = labelText(i);
    const double half = metrics.horizontalAdvance(text) / 2 + mm(0.25);
    const double x = (i + 0.5) * slot;
    for (const auto& [left, right] : taken)
      if (x + half > left && x - half < right) return;
    taken.emplace_back(x - half, x + half);
    shown[static_cast<std::size_t>(i)] = true;
  };
  const auto isYear = [&](int i) {
    const QString text = labelText(i);
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
  };
  for (int i = 0; i < n; ++i)
    if (!labelText(i).isEmpty() && isYear(i)) keep(i);
  for (int i = 0; i < n; ++i)
    if (!labelText(i).isEmpty() && !isYear(i)) keep(i);
  return shown;
}

void SheetChartPainter::paintSeries(QPainter& painter, const QRectF& plot, const Scale& s) const {
  const auto y = [&](double v) {
    return plot.bottom() - (v - s.min) / (s.max - s.min) * plot.height();
  };
  const int n = static_cast<int>(chart_.points.size());
  const double slot = plot.width() / std::max(1, n);
  if (!chart_.lines.empty()) {
    paintLines(painter, plot, s);
    return;
  }
  if (chart_.type == GraphModel::kBars) {
    const double base = y(std::clamp(0.0, s.min, s.max));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBarColour);
    for (int i = 0; i < n; ++i) {
      if (!chart_.points[i].value) continue;
      const double x = plot.left() + (i + 0.2) * slot;
      const double top = y(*chart_.points[i].value);
      painter.drawRect(QRectF(x, std::min(top, base), slot * 0.6, std::fabs(base - top)));
    }
    return;
  }
  QPainterPath path;
  std::vector<QPointF> marks;
  for (int i = 0; i < n; ++i) {
    if (!chart_.points[i].value) continue;
    const QPointF at(plot.left() + (i + 0.5) * slot, y(*chart_.points[i].value));
    if (marks.empty())
      path.moveTo(at);
    else
      path.lineTo(at);
    marks.push_back(at);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kIndexColour, mm(0.45), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
  painter.setBrush(kIndexColour);
  painter.setPen(Qt::NoPen);
  const double radius = marks.size() > 16 ? mm(0.45) : mm(0.7);
  for (const QPointF& at : marks) painter.drawEllipse(at, radius, radius);
}

void SheetChartPainter::paintLines(QPainter& painter, const QRectF& plot, const Scale& s) const {
  const auto y = [&](double v) {
    return plot.bottom() - (v - s.min) / (s.max - s.min) * plot.height();
  };
  const double slot = plot.width() / std::max<std::size_t>(1, chart_.points.size());
  if (chart_.level) {
    painter.setPen(QPen(kAxisColour, mm(0.25), Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y(*chart_.level)),
                     QPointF(plot.right(), y(*chart_.level)));
  }
  painter.setBrush(Qt::NoBrush);
  // The first line chosen is drawn last, on top of the others.
  for (auto line = chart_.lines.rbegin(); line != chart_.lines.rend(); ++line) {
    QPainterPath path;
    bool open = false;
    for (std::size_t i = 0; i < line->values.size(); ++i) {
      if (!line->values[i]) {
        open = false;
        continue;
      }
      const QPointF at(plot.left() + (i + 0.5) * slot, y(*line->values[i]));
      if (open)
        path.lineTo(at);
      else
        path.moveTo(at);
      open = true;
    }
    painter.setPen(QPen(statind::ui::seriesColour(line->colour), mm(0.4), Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
  }
}

void SheetChartPainter::paintOverlays(QPainter& painter, const QRectF& plot, const Scale& s) const {
  const auto y = [&](double v) {
    return plot.bottom() - (v - s.min) / (s.max - s.min) * plot.height();
  };
  const int mask = chart_.overlayMask;
  const statind::Overlays& o = chart_.overlays;
  const int n = static_cast<int>(chart_.points.size());
  const double slot = plot.width() / std::max(1, n);
  const double left = plot.left() + slot / 2, right = plot.right() - slot / 2;
  if (mask & GraphModel::kOverlayStdDev) {
    painter.fillRect(
        QRectF(QPointF(left, y(o.mean + o.stdDev)), QPointF(right, y(o.mean - o.stdDev))),
        kBandColour);
  }
  const auto level = [&](double v, const QColor& colour, Qt::PenStyle style) {
    painter.setPen(QPen(colour, mm(0.35), style));
    painter.drawLine(QPointF(left, y(v)), QPointF(right, y(v)));
  };
  if (mask & GraphModel::kOverlayMean) level(o.mean, kMeanColour, Qt::DashLine);
  if (mask & GraphModel::kOverlayMinMax) {
    level(o.min, kMinColour, Qt::DotLine);
    level(o.max, kMaxColour, Qt::DotLine);
  }
  if (mask & GraphModel::kOverlayBestFit) {
    painter.setPen(QPen(kFitColour, mm(0.35)));
    painter.drawLine(QPointF(left, y(o.fitAt(1))), QPointF(right, y(o.fitAt(n))));
  }
}

double SheetChartPainter::legend(QPainter& measure, double width, QPainter* painter,
                                 QPointF origin) const {
  const QFontMetricsF metrics(measure.font(), measure.device());
  const double rowHeight = mm(4.5), swatch = mm(6), gap = mm(1.5), spacing = mm(5);
  double x = mm(2), y = mm(1.5);
  std::vector<std::string> entries = chart_.legend;
  if (!chart_.lines.empty()) {
    entries.clear();
    for (const SheetLine& line : chart_.lines) entries.push_back(line.name);
  }
  for (std::size_t e = 0; e < entries.size(); ++e) {
    const std::string& entry = entries[e];
    const QString text = QString::fromStdString(entry);
    const double textWidth = metrics.horizontalAdvance(text) + mm(0.5);
    if (x > mm(2) && x + swatch + gap + textWidth > width) {
      x = mm(2);
      y += rowHeight;
    }
    if (painter) {
      const Stroke stroke = chart_.lines.empty()
                                ? strokeOf(entry, chart_.type)
                                : Stroke{statind::ui::seriesColour(chart_.lines[e].colour)};
      const double middle = origin.y() + y + rowHeight / 2;
      const double left = origin.x() + x;
      if (stroke.band) {
        painter->fillRect(QRectF(left, middle - mm(1.2), swatch, mm(2.4)), stroke.colour);
      } else {
        painter->setPen(QPen(stroke.colour, mm(0.45), stroke.style));
        painter->drawLine(QPointF(left, middle), QPointF(left + swatch, middle));
      }
      painter->setPen(Qt::black);
      painter->drawText(QRectF(left + swatch + gap, origin.y() + y, textWidth, rowHeight),
                        Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    x += swatch + gap + textWidth + spacing;
  }
  return y + rowHeight;
}

}  // namespace report::ui
