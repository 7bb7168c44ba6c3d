#include "compare/CompareSteps.h"

#include <algorithm>

namespace compare {

int monthStep(int month, bool up) {
  if (up) return month <= 0 || month >= 12 ? 1 : month + 1;
  return month <= 1 ? 12 : month - 1;
}

std::optional<int> yearStep(int position, int count, bool up) {
  const int to = position + (up ? 1 : -1);
  if (to < 0 || to >= count) return std::nullopt;
  return to;
}

bool viewSwitched(int month, int previousMonth) {
  return (month == 0 && previousMonth >= 1) || (month >= 1 && previousMonth == 0);
}

ChartPlace allMonthsPlace(int innerWidth, int innerHeight, int chartTop) {
  return {0, chartTop, std::max(0, innerWidth), std::max(0, innerHeight - chartTop)};
}

ChartPlace oneMonthPlace(int innerWidth, int innerHeight, int gridWidth, int gap, int chartTop) {
  const int left = gridWidth + gap;
  return {left, chartTop, std::max(0, innerWidth - left), std::max(0, innerHeight - chartTop)};
}

}  // namespace compare
