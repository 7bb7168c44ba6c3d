#include "utilities/PriceWalk.h"

#include <cmath>

namespace utilities {

namespace {
constexpr double kDt = 1.0 / 260.0;
// Yearly log drift that brings a value back inside its band within a few years.
constexpr double kPullBack = 0.35;
}  // namespace

PriceWalk::PriceWalk(const WalkParams& params, std::uint32_t seed)
    : params_(params), random_(seed), value_(params.startValue) {}

double PriceWalk::step(double marketReturn) {
  double drift = params_.annualDrift;
  if (value_ > params_.upperBound) drift -= kPullBack;
  if (value_ < params_.lowerBound) drift += kPullBack;
  const double vol = params_.annualVolatility;
  const double logReturn = (drift - 0.5 * vol * vol) * kDt +
                           params_.marketSensitivity * marketReturn +
                           vol * std::sqrt(kDt) * random_.normal();
  value_ *= std::exp(logReturn);
  return value_;
}

}  // namespace utilities
