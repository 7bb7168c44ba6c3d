// Draws a client sheet's chart with vector strokes (axes, ticks, the series as a line or bars,
// the ticked overlays, or several series each in its colour, and a legend), so that it prints
// sharp at any size.
#pragma once

#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <vector>

#include "report/ClientSheet.h"

class QPainter;

namespace report::ui {

class SheetChartPainter {
 public:
  // `unit`: device pixels per millimetre of the device `painter` paints on.
  SheetChartPainter(const SheetChart& chart, double unit) : chart_(chart), unit_(unit) {}

  // Paints the plot into `area` with the legend along its bottom edge, in as many rows as the
  // entries need.
  void paint(QPainter& painter, const QRectF& area) const;

 private:
  struct Scale {
    double min = 0, max = 1, step = 1;
  };
  Scale scale() const;
  void paintAxes(QPainter& painter, const QRectF& plot, const Scale& scale) const;
  QString labelText(int point) const;
  std::vector<bool> shownLabels(const QFontMetricsF& metrics, double slot) const;
  void paintSeries(QPainter& painter, const QRectF& plot, const Scale& scale) const;
  void paintOverlays(QPainter& painter, const QRectF& plot, const Scale& scale) const;
  // The several series of a chart that has them, over the level line.
  void paintLines(QPainter& painter, const QRectF& plot, const Scale& scale) const;
  // Lays the legend out in rows across `width` (entry positions relative to the legend's top
  // left) and returns the legend's height; paints it at `origin` when `painter` is given.
  double legend(QPainter& measure, double width, QPainter* painter, QPointF origin) const;
  double mm(double millimetres) const { return millimetres * unit_; }

  const SheetChart& chart_;
  double unit_;
};

}  // namespace report::ui
