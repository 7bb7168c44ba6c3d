#include "risk/RiskFigures.h"

#include <algorithm>
#include <stdexcept>

#include "indexdata/Helpers.h"
#include "statind/YearView.h"

namespace risk {

namespace {

using platform::DayNumber;

struct Window {
  const char* name;
  DayNumber from, to;
  bool fromHistoryStart;  // its first month counts even when it starts after the 1st
};

// The trailing windows up to the last usable date and the whole history.
std::vector<Window> trailingWindows(const std::vector<SeriesPoint>& points) {
  const DayNumber first = points.front().date, last = points.back().date;
  std::vector<Window> windows;
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

// The figures of `window` over the points `inside` it, from its first value to its last.
WindowFigures measureInside(const Window& window, const std::vector<SeriesPoint>& inside,
                            const ReturnsMap& map) {
  WindowFigures figures;
  figures.name = window.name;
  const PeriodFigures period = figuresOf(inside, window.to - window.from);
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

WindowFigures measure(const std::vector<SeriesPoint>& points, const Window& window,
                      const ReturnsMap& map) {
  if (window.from < points.front().date || window.to < window.from) {
    WindowFigures figures;
    figures.name = window.name;
    return figures;
  }
  // The window opens on the value it had on its first day: the last point on or before it.
  auto begin = std::upper_bound(points.begin(), points.end(), window.from,
                                [](DayNumber d, const SeriesPoint& p) { return d < p.date; });
  auto end = std::upper_bound(begin, points.end(), window.to,
                              [](DayNumber d, const SeriesPoint& p) { return d < p.date; });
  return measureInside(window, std::vector<SeriesPoint>(std::prev(begin), end), map);
}

// The shown year exactly as the year view shows it: from the year's first day (or the history's
// first date) at the start value of the chosen rule to the lookup's value on 31/12, so that its
// change is the year view's; the other figures run over the same span.
WindowFigures measureYear(IndexSeries& series, const RiskParams& params, int year,
                          const std::vector<SeriesPoint>& points, const ReturnsMap& map) {
  const DayNumber yearStart = platform::dayNumber(year, 1, 1);
  const Window window{"anno", std::max(yearStart, params.range.firstIndexDate),
                      std::min(platform::dayNumber(year, 12, 31), points.back().date),
                      params.range.firstIndexDate > yearStart};
  const auto shown = statind::yearChange(series, year, params.range);
  WindowFigures figures;
  if (shown && shown->start > 0 && window.from <= window.to) {
    const auto byDate = [](const SeriesPoint& p, DayNumber d) { return p.date < d; };
    auto begin = std::lower_bound(points.begin(), points.end(), window.from, byDate);
    auto end = std::lower_bound(begin, points.end(), window.to + 1, byDate);
    std::vector<SeriesPoint> inside(begin, end);
    // "indice precedente" opens on the value carried into the year; "1° indice utile" on the
    // year's first record, which is the first point inside.
    if (inside.empty() ||
        (params.startRule == statind::StartRule::Previous && inside.front().date != window.from))
      inside.insert(inside.begin(), SeriesPoint{window.from, shown->start});
    figures = measureInside(window, inside, map);
    figures.change = change(shown->start, shown->end);
    // A whole calendar year runs from the start of its first day to the end of its last.
    const int days = window.to - window.from + (window.from == yearStart ? 1 : 0);
    figures.annualisedReturn = annualisedReturn(shown->start, shown->end, days);
  } else {
    figures.name = window.name;
  }
  figures.startRule = params.startRule;
  return figures;
}

}  // namespace

RiskResult computeRisk(indexdata::IndexLookup& lookup, const RiskParams& params) {
  if (indexdata::trimBlanks(params.product).empty())
    throw std::invalid_argument("computeRisk: no product chosen");
  if (!isHoldingPeriod(params.holdingYears))
    throw std::invalid_argument("computeRisk: the holding period must be above 0 and at most 50");
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
  result.windows.push_back(measureYear(series, params, result.year, result.history, result.map));
  for (const Window& window : trailingWindows(result.history))
    result.windows.push_back(measure(result.history, window, result.map));
  return result;
}

}  // namespace risk
