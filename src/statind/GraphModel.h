// The chart component's state as the program addresses it: one data set of points (value,
// X-axis label, legend), written point by point through the current-point selector, plus the
// chart's title, type and display options. It also computes the statistical overlays (mean,
// minimum/maximum, standard deviation band, best-fit line) from the points written, so that
// every view of the chart draws the same figures. No drawing here: a view listens for redraws.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "statind/PeriodStatistics.h"

namespace statind {

// One point of the data set; nullopt where nothing was written since the last reset.
struct GraphPoint {
  std::optional<double> value;
  std::optional<std::string> label;
  std::optional<std::string> legend;
  // The date (or month) the point stands for, as a reader says it.
  std::optional<std::string> when = {};
};

// The overlay figures over the points whose value was written. With no such point every figure
// is 0; with one, the standard deviation and the slope are 0.
struct Overlays {
  int count = 0;
  double mean = 0, min = 0, max = 0;
  double stdDev = 0;                // population standard deviation; the band is mean +- stdDev
  double slope = 0, intercept = 0;  // least-squares line over (point index 1..n, value)
  // The best-fit line's value at a 1-based point index.
  double fitAt(int pointIndex) const { return intercept + slope * pointIndex; }
};

class GraphModel {
 public:
  static constexpr int kLine = 6;
  static constexpr int kBars = 3;
  static constexpr int kOverlayMean = 1, kOverlayMinMax = 2, kOverlayStdDev = 4,
                       kOverlayBestFit = 8;
  static constexpr int kRedraw = 2;
  static constexpr int kReset = 9;

  int dataSetCount() const { return dataSetCount_; }
  void setDataSetCount(int count) { dataSetCount_ = count; }
  bool autoAdvance() const { return autoAdvance_; }
  // When on, writing a value moves the current point to the next one (back to 1 after the last).
  void setAutoAdvance(bool on) { autoAdvance_ = on; }

  int pointCount() const { return static_cast<int>(points_.size()); }
  // Sets the number of points, never below 2. Points kept keep their data; new ones are
  // unwritten. The current point moves back inside the range.
  void setPointCount(int count);
  int thisPoint() const { return thisPoint_; }
  // Selects the point (1-based, clamped into 1..pointCount) that the next value, label or
  // legend is written to.
  void setThisPoint(int point);
  void setValue(double value);
  void setLabel(const std::string& label);
  void setLegend(const std::string& legend);
  void setWhen(const std::string& when);
  const std::vector<GraphPoint>& points() const { return points_; }

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  // The data set's name in the legend ("Indice" unless the points are something else).
  const std::string& seriesName() const { return seriesName_; }
  void setSeriesName(const std::string& name) { seriesName_ = name; }
  int type() const { return type_; }
  void setType(int type) { type_ = type; }
  int overlayMask() const { return overlayMask_; }
  void setOverlayMask(int mask) { overlayMask_ = mask & 15; }
  bool showsOverlay(int bit) const { return (overlayMask_ & bit) != 0; }
  int yAxisMode() const { return yAxisMode_; }  // 0 from zero, 1 follows the data
  void setYAxisMode(int mode) { yAxisMode_ = mode; }
  int gridStyle() const { return gridStyle_; }  // 0 none, 1 horizontal, 2 vertical, 3 both
  void setGridStyle(int style) { gridStyle_ = style & 3; }

  // 2: redraw (the revision goes up and the listener runs); 9: reset (every point becomes
  // unwritten, the count stays). Other codes are ignored.
  void drawMode(int code);
  int revision() const { return revision_; }
  void setRedrawListener(std::function<void()> listener) { listener_ = std::move(listener); }

  Overlays overlays() const;

 private:
  int dataSetCount_ = 1;
  bool autoAdvance_ = false;
  std::vector<GraphPoint> points_ = std::vector<GraphPoint>(2);
  int thisPoint_ = 1;
  std::string title_;
  std::string seriesName_ = "Indice";
  int type_ = kLine;
  int overlayMask_ = 0;
  int yAxisMode_ = 0;
  int gridStyle_ = 0;
  int revision_ = 0;
  std::function<void()> listener_;
};

// One entry of a chart's legend: the data set (overlay 0) or one overlay (its mask bit; the
// minimum and the maximum are two entries of kOverlayMinMax), with the text a reader sees.
struct LegendEntry {
  int overlay = 0;
  std::string text;
};

// The legend of `graph` as drawn: the data set's name, then each overlay the mask shows with its
// figures in `valueFormat`: "StdDev 9,02 - 9,97", "Media 9,50", "Min 8,62", "Max 10,10",
// "BestFit da 9,91 a 9,09". Without any written value only the data set.
std::vector<LegendEntry> chartLegend(const GraphModel& graph, const std::string& valueFormat);

// Writes a run's chart series into `model` and requests a redraw: the point count, then the
// value and label of each point the series wrote. Every other point of the model is left
// unwritten, so nothing of an earlier series shows through.
void loadSeries(GraphModel& model, const ChartSeries& series);

}  // namespace statind
