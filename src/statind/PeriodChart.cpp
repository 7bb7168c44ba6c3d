#include "statind/PeriodChart.h"

#include <algorithm>

#include "statind/StatText.h"

namespace statind {

MonthSpan monthSpan(int year, const ProductRange& range) {
  MonthSpan span;
  if (year == range.firstYear) span.first = range.firstMonth;
  if (year == range.lastYear) span.last = range.lastMonth;
  return span;
}

ChartSeries yearSeries(PeriodLookups& lookups, int year, const ProductRange& range) {
  const MonthSpan span = monthSpan(year, range);
  ChartSeries series;
  series.pointCount = std::max(2, span.last - span.first + 2);
  series.points.resize(series.pointCount);
  std::size_t k = 0;
  for (int month = span.first; month <= span.last && k < series.points.size(); ++month, ++k) {
    auto date = std::max(platform::dayNumber(year, month, 1), range.firstIndexDate);
    series.points[k].value = lookups.valueAt(date);
    series.points[k].label = monthAbbreviation(month);
    series.points[k].when = platform::formatDate(date);
  }
  auto& closing = series.points.back();
  const auto end = platform::lastDayOfMonth(span.last, year);
  closing.value = lookups.valueAt(end);
  closing.label = "";
  closing.when = platform::formatDate(end);
  return series;
}

ChartSeries monthSeries(PeriodLookups& lookups, platform::DayNumber first,
                        platform::DayNumber last) {
  ChartSeries series;
  series.pointCount = std::max(2, last - first + 1);
  series.points.resize(series.pointCount);
  const int firstDay = platform::civilDate(first).day;
  for (platform::DayNumber date = first; date <= last; ++date) {
    auto& point = series.points[date - first];
    point.value = lookups.valueAt(date);
    point.label = std::to_string(firstDay + (date - first));
    point.when = platform::formatDate(date);
  }
  return series;
}

}  // namespace statind
