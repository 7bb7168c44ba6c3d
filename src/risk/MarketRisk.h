// The indicative market-risk class (MRM, 1 to 7) of a product from its recorded index: the
// value-at-risk equivalent volatility (VEV) of its last five years of daily log returns, with
// the Cornish-Fisher terms for skewness and fat tails, classed by the regulatory bands of
// category 2 products. Indicative only: it rests on the stored index, not on the KID.
#pragma once

#include <optional>
#include <vector>

#include "risk/IndexSeries.h"

namespace risk {

inline constexpr const char* kMarketRiskCaption =
    "indicativa: calcolata sugli indici registrati, non sostituisce il KID";
inline constexpr double kDefaultHoldingYears = 5;
// The longest recommended holding period taken: beyond it the VEV loses every meaning.
inline constexpr double kMaxHoldingYears = 50;

// Whether `years` is a holding period: a finite number of years above 0 and at most
// kMaxHoldingYears (fractions allowed: a product's period can be a number of months).
bool isHoldingPeriod(double years);

struct MarketRisk {
  std::optional<int> riskClass;  // nullopt: fewer than two years of returns ("dati insufficienti")
  std::optional<double> vev;     // a fraction (0.1853 = 18,53 %)
  std::optional<double> sigma;   // daily, √M2
  std::optional<double> skewness, excessKurtosis;
  int returns = 0;  // M0
  double holdingYears = kDefaultHoldingYears;
};

// The moments of `returns` and the VEV for a recommended holding period of `holdingYears`
// (N = 256 × T trading days). With σ = 0 skewness and kurtosis count as 0. Needs at least one
// return; the class is always set.
MarketRisk marketRiskOf(const std::vector<double>& returns, double holdingYears);
// The daily log returns of `points` (in date order) whose later point is dated after the last
// point's date minus five calendar years, and their marketRiskOf. Without a point on or before
// the last date minus two years the data are insufficient: only the count of returns is set.
MarketRisk marketRisk(const std::vector<SeriesPoint>& points, double holdingYears);
// The class of a VEV: below 0,5 % 1, 5 % 2, 12 % 3, 20 % 4, 30 % 5, 80 % 6, otherwise 7.
int riskClass(double vev);

}  // namespace risk
