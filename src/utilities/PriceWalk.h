// The unit value of one product moving day by day: a geometric random walk that follows the
// market in proportion to its sensitivity and adds moves of its own. Asset classes differ by
// drift, volatility and sensitivity; a soft band keeps values in the range users are used to.
#pragma once

#include <cstdint>

#include "utilities/PortableRandom.h"

namespace utilities {

struct WalkParams {
  double startValue = 10.0;
  double annualDrift = 0.04;       // expected yearly log growth of the product's own part
  double annualVolatility = 0.10;  // of the product's own moves
  double marketSensitivity = 1.0;  // share of the market's daily move it follows
  double lowerBound = 5.0;         // outside [lowerBound, upperBound] the walk is pulled back
  double upperBound = 150.0;
};

class PriceWalk {
 public:
  PriceWalk(const WalkParams& params, std::uint32_t seed);

  // The current value: the start value until the first step.
  double value() const { return value_; }
  // Moves one business day on, given the market's log return of that day; returns the new
  // value, which is always positive.
  double step(double marketReturn);

 private:
  WalkParams params_;
  PortableRandom random_;
  double value_;
};

}  // namespace utilities
