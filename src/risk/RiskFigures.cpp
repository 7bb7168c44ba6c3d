#include "risk/RiskFigures.h"

#include <algorithm>
#include <stdexcept>

#include "indexdata/Helpers.h"

namespace risk {

namespace {

using platform::DayNumber;

struct Window {
  const char* name;
  DayNumber from, to;
  bool fromHistoryStart;  // its first month counts even when it starts after the 1st
};

// The shown year from the previous year's close (or the history's start) to its own, and the
// trailing windows up to the last usable date.
std::vector<Window> windowsOf(const std::vector<SeriesPoint>& points, int year) {
  const DayNumber first = points.front().date, last = points.back().date;
  const DayNumber yearEnd = platform::dayNumber(year - 1, 12, 31);
  std::vector<Window> windows;
  windows.push_back({"anno", std::max(yearEnd, first),
                     std::min(platform::dayNumber(year, 12, 31), last), yearEnd < first});
  for (int years : {1, 3, 5})
    windows.push_back({years == 1   ? "1a"
                       : years == 3 ? "3a"
                                    : "5a",
                       yearsBefore(last, years), last, false});
  windows.push_back({"storico", first, last, true});
  return windows;
}

void addMonths(const ReturnsMap& map, const Window& window, WindowFigures& figures) {
  int count = 0, positive = 0;
  for (const YearRow& row : map.years) {
    for (int m = 1; m <= 12; ++m) {
      const MonthCell& cell = row.months[m - 1];
      const DayNumber start = platform::dayNumber(row.year, m, 1);
      if (!cell.change || start > window.to || (start < window.from && !window.fromHistoryStart))
        continue;
      const MonthFigure month{row.year, m, *cell.change};
      if (!figures.bestMonth || month.change > figures.bestMonth->change) figures.bestMonth = month;
      if (!figures.worstMonth || month.change < figures.worstMonth->change)
        figures.worstMonth = month;
      ++count;
      if (month.change > 0) ++positive;
    }
  }
  if (count > 0) figures.positiveMonths = static_cast<double>(positive) / count;
}

WindowFigures measure(const std::vector<SeriesPoint>& points, const Window& window,
                      const ReturnsMap& map) {
  WindowFigures figures;
  figures.name = window.name;
  if (window.from < points.front().date || window.to < window.from) return figures;
  const PeriodFigures period = periodFigures(points, window.from, window.to);
  figures.covered = true;
  figures.from = window.from;
  figures.to = window.to;
  figures.change = period.change;
  figures.annualisedReturn = period.annualisedReturn;
  figures.volatility = period.volatility;
  figures.maxDrawdown = period.maxDrawdown;
  addMonths(map, window, figures);
  return figures;
}

}  // namespace

RiskResult computeRisk(indexdata::IndexLookup& lookup, const RiskParams& params) {
  if (indexdata::trimBlanks(params.product).empty())
    throw std::invalid_argument("computeRisk: no product chosen");
  if (!(params.holdingYears > 0))
    throw std::invalid_argument("computeRisk: the holding period must be above 0");
  IndexSeries series = IndexSeries::read(lookup, params.product, params.startRule);
  RiskResult result;
  result.product = indexdata::trimBlanks(params.product);
  result.history = series.usable();
  result.map = returnsMap(series, params.range);
  result.mrm = marketRisk(result.history, params.holdingYears);
  result.underwater = underwater(result.history);
  if (result.history.empty()) {
    result.year = params.year;
    for (const char* name : {"anno", "1a", "3a", "5a", "storico"}) {
      result.windows.emplace_back();
      result.windows.back().name = name;
    }
    return result;
  }
  result.year =
      params.year > 0 ? params.year : platform::civilDate(result.history.back().date).year;
  for (const Window& window : windowsOf(result.history, result.year))
    result.windows.push_back(measure(result.history, window, result.map));
  return result;
}

}  // namespace risk
