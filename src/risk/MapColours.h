// The colours of the monthly returns map: a diverging scale, white at 0, red for losses and
// green for gains, deeper with the size of the change. The deepest tones stay light enough for
// black figures to be read on them, on screen and in print.
#pragma once

#include "risk/ReturnsMap.h"

namespace risk {

struct Rgb {
  int red = 255, green = 255, blue = 255;
  bool operator==(const Rgb&) const = default;
};

// The change (in percent) that takes the full tone: the 95th percentile of the cells' sizes,
// so that one crash does not wash out every other month; at least 1.
double mapScale(const ReturnsMap& map);
// The tone of a change in percent: white at 0, the full red or green at `scale` and beyond.
Rgb mapColour(double change, double scale);
// The tone of a market-risk class: green for 1 through yellow to red for 7.
Rgb classColour(int riskClass);

}  // namespace risk
