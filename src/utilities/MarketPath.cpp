#include "utilities/MarketPath.h"

#include <cmath>

#include "utilities/BusinessDays.h"
#include "utilities/PortableRandom.h"

namespace utilities {

namespace {

constexpr double kBusinessDaysPerYear = 260.0;
constexpr double kCalmDrift = 0.06;
constexpr double kCalmVolatility = 0.12;

struct Regime {
  int fromYear, fromMonth, fromDay;
  int toYear, toMonth, toDay;
  double annualDrift;
  double volatilityFactor;
};

// Periods when the markets moved differently from their calm trend (dates inclusive).
constexpr Regime kRegimes[] = {
    {2000, 9, 1, 2003, 3, 10, -0.22, 1.6},   {2003, 3, 11, 2004, 3, 31, 0.25, 1.2},
    {2007, 10, 15, 2009, 3, 9, -0.40, 2.2},  {2009, 3, 10, 2009, 12, 31, 0.45, 1.6},
    {2011, 7, 1, 2011, 9, 30, -0.80, 2.0},   {2015, 8, 10, 2016, 2, 11, -0.30, 1.5},
    {2018, 10, 1, 2018, 12, 24, -0.60, 1.5}, {2020, 2, 20, 2020, 3, 23, -3.00, 3.5},
    {2020, 3, 24, 2020, 8, 31, 0.80, 1.8},   {2022, 1, 3, 2022, 9, 30, -0.25, 1.4},
};

struct DayTrend {
  double drift = kCalmDrift;
  double volatility = kCalmVolatility;
};

DayTrend trendOn(platform::DayNumber day) {
  for (const auto& r : kRegimes) {
    if (day >= platform::dayNumber(r.fromYear, r.fromMonth, r.fromDay) &&
        day <= platform::dayNumber(r.toYear, r.toMonth, r.toDay))
      return {r.annualDrift, kCalmVolatility * r.volatilityFactor};
  }
  return {};
}

}  // namespace

MarketPath::MarketPath(platform::DayNumber first, platform::DayNumber last, std::uint32_t seed)
    : first_(first) {
  PortableRandom random(seed);
  const double dt = 1.0 / kBusinessDaysPerYear;
  returns_.assign(last >= first ? last - first + 1 : 0, 0.0);
  for (platform::DayNumber day = first; day <= last; ++day) {
    if (!isBusinessDay(day)) continue;
    const DayTrend trend = trendOn(day);
    returns_[day - first] = (trend.drift - 0.5 * trend.volatility * trend.volatility) * dt +
                            trend.volatility * std::sqrt(dt) * random.normal();
  }
}

double MarketPath::returnOn(platform::DayNumber day) const {
  if (day < first_ || day - first_ >= static_cast<platform::DayNumber>(returns_.size())) return 0.0;
  return returns_[day - first_];
}

}  // namespace utilities
