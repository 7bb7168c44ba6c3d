// The whole history of a product's index with its deepest fall marked (peak, trough and, when it
// came, the recovery), and below it the curve under water: how far each day stood below the
// highest value met so far.
#pragma once

#include <QWidget>

#include "risk/RiskFigures.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QDateTimeAxis;
class QValueAxis;
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
  QChart* index_;
  QChart* underwater_;
  QDateTimeAxis *indexX_, *underwaterX_;
  QValueAxis *indexY_, *underwaterY_;
};

}  // namespace risk::ui
