#include "risk/MapColours.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace risk {

namespace {

constexpr Rgb kLoss{222, 85, 70};
constexpr Rgb kGain{80, 170, 95};

int blend(int from, int to, double weight) {
  return static_cast<int>(std::lround(from + (to - from) * weight));
}

}  // namespace

double mapScale(const ReturnsMap& map) {
  std::vector<double> sizes;
  for (const YearRow& row : map.years)
    for (const MonthCell& cell : row.months)
      if (cell.change) sizes.push_back(std::fabs(*cell.change));
  if (sizes.empty()) return 1;
  const auto at = sizes.begin() + static_cast<long>((sizes.size() - 1) * 95 / 100);
  std::nth_element(sizes.begin(), at, sizes.end());
  return std::max(1.0, *at);
}

Rgb mapColour(double change, double scale) {
  const double weight = std::min(1.0, std::fabs(change) / scale);
  const Rgb& full = change < 0 ? kLoss : kGain;
  return Rgb{blend(255, full.red, weight), blend(255, full.green, weight),
             blend(255, full.blue, weight)};
}

Rgb classColour(int riskClass) {
  static constexpr Rgb kClasses[] = {{26, 152, 80},   {145, 207, 96}, {217, 239, 139},
                                     {254, 224, 139}, {252, 141, 89}, {230, 80, 60},
                                     {190, 30, 45}};
  return kClasses[std::clamp(riskClass, 1, 7) - 1];
}

}  // namespace risk
