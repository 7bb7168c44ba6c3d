#include "risk/MarketRisk.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "risk/SeriesMath.h"

namespace risk {

bool isHoldingPeriod(double years) {
  return years > 0 && years <= kMaxHoldingYears;  // false for NaN too
}

MarketRisk marketRiskOf(const std::vector<double>& returns, double holdingYears) {
  MarketRisk risk;
  risk.holdingYears = holdingYears;
  risk.returns = static_cast<int>(returns.size());
  if (returns.empty()) return risk;
  const double m0 = static_cast<double>(returns.size());
  double m1 = 0;
  for (double r : returns) m1 += r;
  m1 /= m0;
  double m2 = 0, m3 = 0, m4 = 0;
  for (double r : returns) {
    const double d = r - m1;
    m2 += d * d;
    m3 += d * d * d;
    m4 += d * d * d * d;
  }
  m2 /= m0;
  m3 /= m0;
  m4 /= m0;
  const double sigma = std::sqrt(m2);
  const double skew = sigma > 0 ? m3 / (sigma * sigma * sigma) : 0;
  const double kurt = sigma > 0 ? m4 / (m2 * m2) - 3 : 0;
  const double n = kTradingDays * holdingYears;
  const double var =
      sigma * std::sqrt(n) *
          (-1.96 + 0.474 * skew / std::sqrt(n) - 0.0687 * kurt / n + 0.146 * skew * skew / n) -
      0.5 * sigma * sigma * n;
  const double vev = (std::sqrt(3.842 - 2 * var) - 1.96) / std::sqrt(holdingYears);
  risk.sigma = sigma;
  risk.skewness = skew;
  risk.excessKurtosis = kurt;
  risk.vev = vev;
  risk.riskClass = riskClass(vev);
  return risk;
}

MarketRisk marketRisk(const std::vector<SeriesPoint>& points, double holdingYears) {
  MarketRisk risk;
  risk.holdingYears = holdingYears;
  if (points.empty()) return risk;
  const platform::DayNumber last = points.back().date;
  const platform::DayNumber from = yearsBefore(last, 5);
  std::vector<double> returns;
  for (std::size_t i = 1; i < points.size(); ++i)
    if (points[i].date > from) returns.push_back(std::log(points[i].value / points[i - 1].value));
  if (points.front().date > yearsBefore(last, 2)) {
    risk.returns = static_cast<int>(returns.size());
    return risk;
  }
  return marketRiskOf(returns, holdingYears);
}

int riskClass(double vev) {
  static constexpr std::array<double, 6> kBounds{0.005, 0.05, 0.12, 0.20, 0.30, 0.80};
  const auto above = std::upper_bound(kBounds.begin(), kBounds.end(), vev);
  return static_cast<int>(above - kBounds.begin()) + 1;
}

}  // namespace risk
