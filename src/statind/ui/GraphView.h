// The chart of a statistics window: draws a GraphModel with Qt Charts whenever the model asks
// for a redraw. Line or bars over the written points, the overlays the model's mask asks for
// (each a named, visibly distinct series), the Y axis from zero or following the data, grid
// lines by the model's grid style, Y labels in the Italian number format, the points' legends
// beside their bars.
#pragma once

#include <QWidget>
#include <vector>

#include "statind/GraphModel.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QAbstractSeries;
class QBarCategoryAxis;
class QValueAxis;
class QGraphicsSimpleTextItem;
QT_END_NAMESPACE

namespace statind::ui {

class GraphView : public QWidget {
  Q_OBJECT

 public:
  // Draws `model` (which must outlive the view) and becomes its redraw listener.
  explicit GraphView(GraphModel& model, QWidget* parent = nullptr);
  ~GraphView() override;

  QChart* chart() const { return chart_; }
  // Rebuilds the chart from the model as it is now.
  void redraw();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Below this width the legend's names no longer fit beside each other: it is left out.
  static constexpr int kLegendMinWidth = 420;
  struct Range {
    double min = 0, max = 0;
  };
  void attach(QAbstractSeries* series);
  void addBand(Range& range);
  void addDataSeries(Range& range);
  void addOverlays(Range& range);
  // The points' legends (the comparison's bar texts), each over or under its bar.
  void addLegends();
  void placeLegends();
  void scaleYAxis(Range range);

  GraphModel& model_;
  QChart* chart_;
  QChartView* view_;
  QBarCategoryAxis* axisX_;
  QValueAxis* axisY_;
  struct Legend {
    QGraphicsSimpleTextItem* item;
    double x, y;
  };
  std::vector<Legend> legends_;
};

}  // namespace statind::ui
