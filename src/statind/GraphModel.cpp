#include "statind/GraphModel.h"

#include <algorithm>
#include <cmath>

#include "platform/Format.h"

namespace statind {

void GraphModel::setPointCount(int count) {
  points_.resize(std::max(2, count));
  setThisPoint(thisPoint_);
}

void GraphModel::setThisPoint(int point) {
  thisPoint_ = std::clamp(point, 1, pointCount());
}

void GraphModel::setValue(double value) {
  points_[thisPoint_ - 1].value = value;
  if (autoAdvance_) thisPoint_ = thisPoint_ % pointCount() + 1;
}

void GraphModel::setLabel(const std::string& label) {
  points_[thisPoint_ - 1].label = label;
}

void GraphModel::setLegend(const std::string& legend) {
  points_[thisPoint_ - 1].legend = legend;
}

void GraphModel::setWhen(const std::string& when) {
  points_[thisPoint_ - 1].when = when;
}

void GraphModel::drawMode(int code) {
  if (code == kReset) {
    std::fill(points_.begin(), points_.end(), GraphPoint{});
  } else if (code == kRedraw) {
    ++revision_;
    if (listener_) listener_();
  }
}

Overlays GraphModel::overlays() const {
  Overlays o;
  double sumX = 0, sumY = 0;
  for (int i = 0; i < pointCount(); ++i) {
    if (!points_[i].value) continue;
    const double y = *points_[i].value;
    o.min = o.count == 0 ? y : std::min(o.min, y);
    o.max = o.count == 0 ? y : std::max(o.max, y);
    ++o.count;
    sumX += i + 1;
    sumY += y;
  }
  if (o.count == 0) return o;
  o.mean = sumY / o.count;
  const double meanX = sumX / o.count;
  double squares = 0, sxy = 0, sxx = 0;
  for (int i = 0; i < pointCount(); ++i) {
    if (!points_[i].value) continue;
    const double dy = *points_[i].value - o.mean;
    const double dx = (i + 1) - meanX;
    squares += dy * dy;
    sxy += dx * dy;
    sxx += dx * dx;
  }
  o.stdDev = std::sqrt(squares / o.count);
  o.slope = sxx > 0 ? sxy / sxx : 0;
  o.intercept = o.mean - o.slope * meanX;
  return o;
}

void loadSeries(GraphModel& model, const ChartSeries& series) {
  model.setPointCount(series.pointCount);
  model.drawMode(GraphModel::kReset);
  for (std::size_t i = 0; i < series.points.size() && i < std::size_t(model.pointCount()); ++i) {
    const auto& point = series.points[i];
    model.setThisPoint(static_cast<int>(i) + 1);
    if (point.label) model.setLabel(*point.label);
    if (!point.when.empty()) model.setWhen(point.when);
    if (point.value) model.setValue(*point.value);  // last: automatic advance moves on
  }
  model.drawMode(GraphModel::kRedraw);
}

std::vector<LegendEntry> chartLegend(const GraphModel& graph, const std::string& valueFormat) {
  std::vector<LegendEntry> legend{{0, graph.seriesName()}};
  const Overlays o = graph.overlays();
  if (o.count == 0) return legend;
  const auto figure = [&](double value) { return platform::formatNumber(value, valueFormat); };
  if (graph.showsOverlay(GraphModel::kOverlayStdDev))
    legend.push_back({GraphModel::kOverlayStdDev,
                      "StdDev " + figure(o.mean - o.stdDev) + " - " + figure(o.mean + o.stdDev)});
  if (graph.showsOverlay(GraphModel::kOverlayMean))
    legend.push_back({GraphModel::kOverlayMean, "Media " + figure(o.mean)});
  if (graph.showsOverlay(GraphModel::kOverlayMinMax)) {
    legend.push_back({GraphModel::kOverlayMinMax, "Min " + figure(o.min)});
    legend.push_back({GraphModel::kOverlayMinMax, "Max " + figure(o.max)});
  }
  if (graph.showsOverlay(GraphModel::kOverlayBestFit))
    legend.push_back({GraphModel::kOverlayBestFit, "BestFit da " + figure(o.fitAt(1)) + " a " +
                                                       figure(o.fitAt(graph.pointCount()))});
  return legend;
}

}  // namespace statind
