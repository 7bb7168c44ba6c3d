#include "risk/SeriesMath.h"

#include <algorithm>
#include <cmath>

namespace risk {

platform::DayNumber yearsBefore(platform::DayNumber day, int years) {
  const auto date = platform::civilDate(day);
  const int year = date.year - years;
  const int dayOfMonth = date.month == 2 && date.day == 29 ? 28 : date.day;
  return platform::dayNumber(year, date.month, dayOfMonth);
}

double change(double start, double end) {
  return start == 0 ? 0 : end / start - 1;
}

std::optional<double> annualisedReturn(double start, double end, int days) {
  if (days < 365 || start == 0) return std::nullopt;
  return std::pow(end / start, 365.25 / days) - 1;
}

std::vector<double> logReturns(const std::vector<SeriesPoint>& points) {
  std::vector<double> returns;
  for (std::size_t i = 1; i < points.size(); ++i)
    returns.push_back(std::log(points[i].value / points[i - 1].value));
  return returns;
}

std::optional<double> annualisedVolatility(const std::vector<double>& returns) {
  if (returns.size() < 2) return std::nullopt;
  double mean = 0;
  for (double r : returns) mean += r;
  mean /= static_cast<double>(returns.size());
  double squares = 0;
  for (double r : returns) squares += (r - mean) * (r - mean);
  return std::sqrt(squares / static_cast<double>(returns.size() - 1)) * std::sqrt(kTradingDays);
}

Drawdown maxDrawdown(const std::vector<SeriesPoint>& points) {
  Drawdown worst;
  std::size_t peak = 0, worstPeak = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].value > points[peak].value) peak = i;
    const double fall = points[i].value / points[peak].value - 1;
    if (fall < worst.value) {
      worst.value = fall;
      worst.peak = points[peak].date;
      worst.trough = points[i].date;
      worstPeak = peak;
    }
  }
  if (!worst.trough) return worst;
  for (const SeriesPoint& p : points) {
    if (p.date > *worst.trough && p.value >= points[worstPeak].value) {
      worst.recovery = p.date;
      break;
    }
  }
  return worst;
}

const SeriesPoint* pointOnOrBefore(const std::vector<SeriesPoint>& points,
                                   platform::DayNumber day) {
  auto after =
      std::upper_bound(points.begin(), points.end(), day,
                       [](platform::DayNumber d, const SeriesPoint& p) { return d < p.date; });
  return after == points.begin() ? nullptr : &*std::prev(after);
}

PeriodFigures periodFigures(const std::vector<SeriesPoint>& points, platform::DayNumber from,
                            platform::DayNumber to) {
  const auto begin = points.begin() + (pointOnOrBefore(points, from) - points.data());
  auto end =
      std::upper_bound(begin, points.end(), to,
                       [](platform::DayNumber d, const SeriesPoint& p) { return d < p.date; });
  return figuresOf(std::vector<SeriesPoint>(begin, end), to - from);
}

PeriodFigures figuresOf(const std::vector<SeriesPoint>& inside, int days) {
  PeriodFigures figures;
  figures.change = change(inside.front().value, inside.back().value);
  figures.annualisedReturn = annualisedReturn(inside.front().value, inside.back().value, days);
  figures.volatility = annualisedVolatility(logReturns(inside));
  figures.maxDrawdown = maxDrawdown(inside);
  return figures;
}

std::vector<double> underwater(const std::vector<SeriesPoint>& points) {
  std::vector<double> curve;
  double peak = 0;
  for (const SeriesPoint& p : points) {
    peak = std::max(peak, p.value);
    curve.push_back(p.value / peak - 1);
  }
  return curve;
}

}  // namespace risk
