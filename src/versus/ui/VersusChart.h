// The products of a comparison on one chart, each rebased to 100 at the period's start and drawn
// in its own colour, with a dashed line at 100. Its legend (each product's change in its colour)
// is a label of its own under the chart, which wraps where the chart's legend would cut its
// texts; the date axis takes as many ticks as its labels have room for. Hovering anywhere over
// the plot shows the nearest date and every product's value there.
#pragma once

#include <QChartView>

#include "versus/Versus.h"

QT_BEGIN_NAMESPACE
class QLabel;
class QDateTimeAxis;
class QValueAxis;
QT_END_NAMESPACE

namespace versus::ui {

class VersusChart : public QChartView {
  Q_OBJECT

 public:
  // `legend` receives the legend's text at each show().
  VersusChart(QLabel* legend, QWidget* parent = nullptr);
  // Draws `result`'s chart; nullptr leaves the chart empty.
  void show(const VersusResult* result);
  // What hovering at chart date `index` shows: the date, then "CODE value" per product.
  QString pointText(std::size_t index) const;
  // The chart date nearest to the plot position `x` (milliseconds, as the date axis counts).
  std::size_t nearestDate(qreal x) const;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // Date ticks for the plot's width, as many as their labels have room for.
  void fitDates();

  QLabel* legend_;
  QDateTimeAxis* x_;
  QValueAxis* y_;
  std::vector<qreal> times_;  // the chart dates on the date axis
  std::vector<std::string> codes_;
  std::vector<std::vector<double>> values_;
};

}  // namespace versus::ui
