// The chart of a statistics window: draws a GraphModel with Qt Charts whenever the model asks
// for a redraw. Line or bars over the written points, the overlays the model's mask asks for
// (each a named, visibly distinct series whose legend carries its figures, as on the printed
// sheet), the Y axis from zero or following the data, grid lines by the model's grid style.
// Axis labels are chosen from the room the chart has (never cut, never run together), the
// points' legends beside their bars where they fit, and a point under the mouse tells its date
// and value.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "statind/GraphModel.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QAbstractSeries;
class QBarCategoryAxis;
class QCategoryAxis;
class QGraphicsSimpleTextItem;
class QLabel;
QT_END_NAMESPACE

namespace statind::ui {

class GraphView : public QWidget {
  Q_OBJECT

 public:
  // Draws `model` (which must outlive the view) and becomes its redraw listener.
  explicit GraphView(GraphModel& model, QWidget* parent = nullptr);
  ~GraphView() override;

  QChart* chart() const { return chart_; }
  // The format of the values in the legend's figures and the hover texts, and what follows a
  // value there (" %" for changes). Takes effect at the next redraw.
  void setValueText(const std::string& format, const std::string& suffix = {});
  // Rebuilds the chart from the model as it is now.
  void redraw();
  // What the mouse over point `index` (0-based) shows: "dd/mm/yyyy: value"; "" for a point
  // without a value.
  QString pointText(int index) const;

 private:
  struct Range {
    double min = 0, max = 0;
  };
  void attach(QAbstractSeries* series);
  void addBand(Range& range, const QString& name);
  void addDataSeries(Range& range);
  void addOverlays(Range& range, const std::vector<LegendEntry>& legend);
  // The points' legends (the comparison's bar texts), each over or under its bar.
  void addLegends();
  // The series' names with their colours under the chart, in as many rows as they need: the
  // chart's own legend would cut the overlays' figures short.
  void showLegend(const std::vector<LegendEntry>& legend);
  // Fits what depends on the plot's size: the X labels, the Y ticks, the bar legends.
  void fitToPlot();
  void placeLegends();
  void showTip(int index, bool on);

  GraphModel& model_;
  QChart* chart_;
  QChartView* view_;
  QLabel* legend_;
  QBarCategoryAxis* axisX_;
  QCategoryAxis* axisY_;
  std::string valueFormat_ = "#,###,###,##0.00";
  std::string valueSuffix_;
  Range yRange_{0, 1};
  QStringList labels_;  // the model's X labels, before those that do not fit are left out
  struct Legend {
    QGraphicsSimpleTextItem* item;
    double x, y;
  };
  std::vector<Legend> legends_;
  bool fitting_ = false;
};

}  // namespace statind::ui
