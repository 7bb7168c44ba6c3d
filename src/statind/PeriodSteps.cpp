#include "statind/PeriodSteps.h"

#include <algorithm>

#include "statind/PeriodStatistics.h"

namespace statind {

PeriodSteps::PeriodSteps(int lastYearPos, int firstMonth, int lastMonth)
    : lastYearPos_(lastYearPos), firstMonth_(firstMonth), lastMonth_(lastMonth) {}

std::optional<PeriodSteps> PeriodSteps::over(const std::optional<ProductRange>& range,
                                             int lastYearPos) {
  if (!range) return std::nullopt;
  return PeriodSteps(lastYearPos, range->firstMonth, range->lastMonth);
}

PeriodPosition PeriodSteps::yearDown(PeriodPosition from) const {
  if (from.yearPos > 0) --from.yearPos;
  return clamp(from);
}

PeriodPosition PeriodSteps::yearUp(PeriodPosition from) const {
  if (from.yearPos < lastYearPos_) ++from.yearPos;
  return clamp(from);
}

std::optional<PeriodPosition> PeriodSteps::monthDown(PeriodPosition from) const {
  if (from.month < 0) from.month = 0;
  if (from.month > 1) {
    --from.month;
  } else if (from.yearPos > 0) {
    --from.yearPos;
    from.month = 12;
  } else {
    return std::nullopt;
  }
  return clamp(from);
}

std::optional<PeriodPosition> PeriodSteps::monthUp(PeriodPosition from) const {
  if (from.month < 0) from.month = 0;
  if (from.month != 12) {
    ++from.month;
  } else if (from.yearPos < lastYearPos_) {
    ++from.yearPos;
    from.month = 1;
  } else {
    return std::nullopt;
  }
  return clamp(from);
}

PeriodPosition PeriodSteps::toFirst() const {
  return clamp({0, firstMonth_});
}

PeriodPosition PeriodSteps::toLast() const {
  return clamp({lastYearPos_, lastMonth_});
}

PeriodPosition PeriodSteps::wholeYear(PeriodPosition from) const {
  return clamp({from.yearPos, 0}, true);
}

std::optional<PeriodPosition> PeriodSteps::step(int stepper, bool up, PeriodPosition from) const {
  if (stepper == 0) return up ? yearUp(from) : yearDown(from);
  return up ? monthUp(from) : monthDown(from);
}

PeriodPosition PeriodSteps::jump(int button, PeriodPosition from) const {
  return button == 0 ? toFirst() : button == 1 ? toLast() : wholeYear(from);
}

PeriodPosition PeriodSteps::clamp(PeriodPosition at, bool wholeYearAllowed) const {
  if (firstMonth_ <= 0 || lastMonth_ <= 0) return at;  // no history known
  bool wholeYear = at.month <= 0;
  if (at.yearPos == 0 && at.month < firstMonth_ && !(wholeYear && wholeYearAllowed)) {
    at.month = firstMonth_;
  }
  if (at.yearPos == lastYearPos_ && at.month > lastMonth_) at.month = lastMonth_;
  return at;
}

std::vector<int> PeriodSteps::openingYears(int thisYear) {
  std::vector<int> years;
  for (int year = 1980; year <= thisYear; ++year) years.push_back(year);
  return years;
}

int PeriodSteps::yearPosition(const std::vector<int>& years, int year) {
  const auto found = std::find(years.begin(), years.end(), year);
  return static_cast<int>(found == years.end() ? years.size() - 1 : found - years.begin());
}

}  // namespace statind
