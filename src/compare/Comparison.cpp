#include "compare/Comparison.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "compare/CompareLabels.h"
#include "statind/PeriodLookups.h"
#include "statind/StatText.h"

namespace compare {

namespace {

using platform::DayNumber;
using statind::GraphPoint;

// The month-end index of every month of the span that lies inside the product's history.
void allMonths(statind::PeriodLookups& lookups, const CompareParams& params,
               CompareResult& result) {
  const statind::ProductRange& r = params.range;
  const int span = result.toYear - result.fromYear;
  std::vector<GraphPoint>& points = result.chart.points;
  int year = result.fromYear, month = 0;
  for (;;) {
    if (++month > 12) {
      month = 1;
      ++year;
    }
    if (year > result.toYear) break;
    if (year == r.firstYear && month < r.firstMonth) {
      month = r.firstMonth;
    } else if (year == r.lastYear && month > r.lastMonth) {
      break;
    }
    GraphPoint point;
    point.label = monthLabel(span, month, year);
    const DayNumber end = platform::lastDayOfMonth(month, year);
    point.value = lookups.valueAt(end);
    point.when = platform::formatDate(end);
    points.push_back(std::move(point));
  }
}

// Whether `year` holds month `month` of the history: its first and last years only from and up
// to their first and last index months.
bool yearIncluded(int year, int month, const statind::ProductRange& r) {
  return (year > r.firstYear && year < r.lastYear) ||
         (year == r.firstYear && month >= r.firstMonth) ||
         (year == r.lastYear && month <= r.lastMonth);
}

// The change of month `month` in every year of the span, filled from the left.
void oneMonth(statind::PeriodLookups& lookups, const CompareParams& params, CompareResult& result) {
  const int span = result.toYear - result.fromYear;
  const int yearCount = span + 1;
  const int indent = labelIndent(yearCount, params.usableWidth);
  std::vector<GraphPoint>& points = result.chart.points;
  points.assign(static_cast<std::size_t>(yearCount), GraphPoint{});
  std::size_t k = 0;
  for (int year = result.fromYear; year <= result.toYear; ++year) {
    if (!yearIncluded(year, params.month, params.range)) continue;
    const DayNumber start =
        std::max(platform::dayNumber(year, params.month, 1), params.range.firstIndexDate);
    const double startValue = lookups.startValueAt(start);
    const double endValue = lookups.valueAt(platform::lastDayOfMonth(params.month, year));
    CompareRow row{year, platform::formatNumber(startValue, lookups.valueFormat()),
                   platform::formatNumber(endValue, lookups.valueFormat()), std::nullopt};
    // A start value of 0 has no change: the year is listed, its point keeps no value.
    const double raw = startValue != 0 ? (endValue - startValue) * 100 / startValue : NAN;
    if (std::isfinite(raw)) {
      const double change = platform::roundThrough(raw, "#0.00");
      row.change = change == 0 ? 0.0 : change;  // never a negative zero
    }
    GraphPoint& point = points[k++];
    point.label = yearLabel(year, span, indent);
    point.when = statind::monthName(params.month) + " " + std::to_string(year);
    if (row.change) {
      point.value = *row.change;
      if (params.bars) point.legend = barLegend(*row.change);
    }
    result.rows.push_back(std::move(row));
  }
  result.chart.title = statind::monthName(params.month);
  result.chart.seriesName = kChangeSeries;
}

}  // namespace

CompareResult runComparison(indexdata::IndexLookup& lookup, const CompareParams& params) {
  if (statind::trimmed(params.product).empty())
    throw std::invalid_argument("runComparison: no product chosen");
  if (params.month < 0 || params.month > 12)
    throw std::invalid_argument("runComparison: no such month");
  // Each file is locked once for the run rather than once per statement.
  platform::Database::ReadScope dataScope(lookup.dataDb());
  const auto indexHold = lookup.indexTable().hold();
  // The product's records over the compared years, read once.
  const int first = std::min(params.fromYear, params.toYear);
  const int last = std::max(params.fromYear, params.toYear);
  statind::PeriodLookups lookups(
      lookup, params.product, params.startRule,
      platform::dayNumber(std::max(first, 1), params.month == 0 ? 1 : params.month, 1),
      platform::lastDayOfMonth(params.month == 0 ? 12 : params.month, std::max(last, 1)));

  CompareResult result;
  result.fromYear = std::min(params.fromYear, params.toYear);
  result.toYear = std::max(params.fromYear, params.toYear);
  result.month = params.month;
  result.chart.type = params.bars ? statind::GraphModel::kBars : statind::GraphModel::kLine;
  if (params.month == 0) {
    allMonths(lookups, params, result);
  } else if (result.fromYear != result.toYear) {
    oneMonth(lookups, params, result);
  } else {
    return result;  // one month of one year: nothing to compare, nothing drawn
  }
  result.chart.drawn = true;
  // The chart component never has fewer than two points.
  if (result.chart.points.size() < 2) result.chart.points.resize(2);
  result.chart.pointCount = static_cast<int>(result.chart.points.size());
  return result;
}

std::string changeText(const std::optional<double>& change) {
  return change ? platform::formatNumber(*change, "#0.00") : std::string();
}

void loadChart(statind::GraphModel& graph, const CompareChart& chart) {
  graph.setDataSetCount(1);
  graph.setAutoAdvance(false);
  graph.setPointCount(chart.pointCount);
  graph.drawMode(statind::GraphModel::kReset);
  graph.setType(chart.type);
  graph.setTitle(chart.title);
  graph.setSeriesName(chart.seriesName);
  for (std::size_t i = 0; i < chart.points.size(); ++i) {
    const GraphPoint& point = chart.points[i];
    graph.setThisPoint(static_cast<int>(i) + 1);
    if (point.label) graph.setLabel(*point.label);
    if (point.legend) graph.setLegend(*point.legend);
    if (point.value) graph.setValue(*point.value);
  }
  if (chart.drawn) graph.drawMode(statind::GraphModel::kRedraw);
}

}  // namespace compare
