// The whole history of a product's index with its deepest fall marked (peak, trough and, when it
// came, the recovery), and below it the curve under water: how far each day stood below the
// highest value met so far. Both charts label their axes for the room they have.
#pragma once

#include <QWidget>

#include "risk/RiskFigures.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QCategoryAxis;
class QDateTimeAxis;
QT_END_NAMESPACE

namespace risk::ui {

class HistoryChart : public QWidget {
  Q_OBJECT

 public:
  explicit HistoryChart(QWidget* parent = nullptr);
  // Draws the history, the markers of `result`'s whole-history drawdown and the curve under
  // water; an empty history leaves both charts empty.
  void show(const RiskResult& result);

 private:
  struct Plot {
    QChart* chart;
    QDateTimeAxis* x;
    QCategoryAxis* y;
    double low = 0, high = 1;  // the values the Y axis must hold
    int mostTicks = 2;         // of the X axis: about one every two years of history
  };
  // Labels `plot`'s axes for the room its plot area has now.
  static void fit(Plot& plot);

  Plot index_;
  Plot underwater_;
};

}  // namespace risk::ui
