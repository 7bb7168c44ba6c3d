// The common movement of the markets, one log return per business day, with the broad crises
// and recoveries of the last decades written in. Every generated product follows it in
// proportion to its sensitivity, so that funds fall together in 2008 and 2020 as users expect.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Format.h"

namespace utilities {

class MarketPath {
 public:
  // The path from `first` to `last` (both included), drawn from `seed`. The draws start at
  // `first`, so two paths with the same seed and start agree on every day they share.
  MarketPath(platform::DayNumber first, platform::DayNumber last, std::uint32_t seed);

  // The market's log return on `day`: 0 on weekends and outside [first, last].
  double returnOn(platform::DayNumber day) const;

 private:
  platform::DayNumber first_;
  std::vector<double> returns_;
};

}  // namespace utilities
