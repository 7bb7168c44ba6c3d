// How two products moved together: their daily log returns taken only between dates on which
// both have a usable index (so different holidays never pair one product's two days with the
// other's one), and the correlation, beta and tracking error of those returns.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "risk/SeriesMath.h"

namespace versus {

struct PairFigures {
  int returns = 0;  // paired daily returns measured
  // Sample (n - 1) figures; nullopt with fewer than two returns or a zero variance below them.
  std::optional<double> correlation;
  std::optional<double> beta;           // covariance / variance of `b`
  std::optional<double> trackingError;  // deviation of the differences a - b, times √256
};

// The series with the natural logarithm of each value, so that a log return is a difference:
// taken once per product, not once per pair it is in.
std::vector<risk::SeriesPoint> logarithms(const std::vector<risk::SeriesPoint>& points);

// The returns of `a` against `b` over [from, to], and of `b` against `a` (the same but for
// beta): between consecutive dates both series hold, from the last such date on or before
// `from` (the period opens on its first day's value, as the risk figures do) to the last one on
// or before `to`. Both series as `logarithms` gives them, in date order.
std::pair<PairFigures, PairFigures> pairFigures(const std::vector<risk::SeriesPoint>& a,
                                                const std::vector<risk::SeriesPoint>& b,
                                                platform::DayNumber from, platform::DayNumber to);

}  // namespace versus
