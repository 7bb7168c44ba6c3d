// The arithmetic of the risk figures over a run of index points: change, annualised return,
// volatility of the daily log returns, the deepest fall from a running peak and the curve under
// water. Pure functions on values in date order, so each can be checked on a hand-made series.
#pragma once

#include <optional>
#include <vector>

#include "platform/Format.h"
#include "risk/IndexSeries.h"

namespace risk {

// Trading days a year, by which a daily figure is annualised.
inline constexpr double kTradingDays = 256;

// `day` moved back `years` calendar years; 29 February lands on 28 February.
platform::DayNumber yearsBefore(platform::DayNumber day, int years);

// end / start - 1; 0 when start is 0.
double change(double start, double end);
// (end / start)^(365.25 / days) - 1 for a window of a year or more (365 days); nullopt for a
// shorter one or a start of 0.
std::optional<double> annualisedReturn(double start, double end, int days);
// ln(v[i] / v[i-1]) between consecutive points (values must be positive).
std::vector<double> logReturns(const std::vector<SeriesPoint>& points);
// The sample standard deviation (n - 1) of `returns` times the square root of 256; nullopt with
// fewer than two returns.
std::optional<double> annualisedVolatility(const std::vector<double>& returns);

struct Drawdown {
  double value = 0;  // the largest fall, as a negative fraction; 0 when the series never fell
  std::optional<platform::DayNumber> peak, trough;  // none when it never fell
  std::optional<platform::DayNumber> recovery;      // the first point back at the peak, if any
};
// The largest fall from a running peak to a later trough. Between equal falls the first wins.
Drawdown maxDrawdown(const std::vector<SeriesPoint>& points);

// The value a series has on `day`: its last point on or before it; nullptr when every point is
// later.
const SeriesPoint* pointOnOrBefore(const std::vector<SeriesPoint>& points, platform::DayNumber day);

struct PeriodFigures {
  double change = 0;                       // fraction
  std::optional<double> annualisedReturn;  // periods of a year or more
  std::optional<double> volatility;        // at least two returns
  Drawdown maxDrawdown;
};
// The figures of the period [from, to] over `points` (date order). The period opens on the value
// it had on `from` (its last point on or before) and takes every point up to `to`; the return is
// annualised over the calendar days from `from` to `to`. Requires a point on or before `from`
// and from <= to.
PeriodFigures periodFigures(const std::vector<SeriesPoint>& points, platform::DayNumber from,
                            platform::DayNumber to);
// The same figures over `inside`, the points of a period from its opening value to its last,
// the return annualised over `days` calendar days. Requires at least one point.
PeriodFigures figuresOf(const std::vector<SeriesPoint>& inside, int days);
// For each point, its fall from the highest value met so far (0 at a new peak, negative below).
std::vector<double> underwater(const std::vector<SeriesPoint>& points);

}  // namespace risk
