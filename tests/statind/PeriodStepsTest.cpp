#include "statind/PeriodSteps.h"

#include <gtest/gtest.h>

#include "statind/PeriodStatistics.h"

namespace statind {
namespace {

// A history from March of the first listed year (position 0) to June of the third (position 2).
const PeriodSteps kHistory(2, 3, 6);

PeriodPosition at(int yearPos, int month) {
  return {yearPos, month};
}

TEST(PeriodStepsTest, MonthStepperCrossesYearEndsAndStopsAtTheHistory) {
  EXPECT_EQ(kHistory.step(1, false, at(1, 1)), at(0, 12));
  EXPECT_EQ(kHistory.step(1, true, at(0, 12)), at(1, 1));
  EXPECT_EQ(kHistory.monthDown(at(1, -1)), at(0, 12));  // no month chosen reads as whole year
  EXPECT_EQ(kHistory.monthDown(at(0, 3)), at(0, 3));    // before the first index: clamped
  EXPECT_EQ(kHistory.monthUp(at(2, 6)), at(2, 6));      // after the last index: clamped
  EXPECT_FALSE(kHistory.monthDown(at(0, 1)));
  EXPECT_FALSE(kHistory.monthUp(at(2, 12)));
}

TEST(PeriodStepsTest, NothingToStepWithoutAProductHistory) {
  EXPECT_FALSE(PeriodSteps::over(std::nullopt, 2));
  ProductRange range;
  range.firstMonth = 3;
  range.lastMonth = 6;
  EXPECT_EQ(PeriodSteps::over(range, 2)->toLast(), at(2, 6));
}

TEST(PeriodStepsTest, YearStepperStaysAtTheListEndsAndClampsTheMonth) {
  EXPECT_EQ(kHistory.step(0, false, at(1, 0)), at(0, 3));  // the whole first year: no stop
  EXPECT_EQ(kHistory.yearDown(at(0, 5)), at(0, 5));
  EXPECT_EQ(kHistory.step(0, true, at(1, 8)), at(2, 6));
  EXPECT_EQ(kHistory.yearUp(at(2, 0)), at(2, 0));
  EXPECT_EQ(kHistory.yearUp(at(0, 2)), at(1, 2));  // only the first year clamps low months
}

TEST(PeriodStepsTest, JumpsAndListChoices) {
  EXPECT_EQ(kHistory.toFirst(), at(0, 3));
  EXPECT_EQ(kHistory.toLast(), at(2, 6));
  EXPECT_EQ(kHistory.wholeYear(at(0, 5)), at(0, 0));
  EXPECT_EQ(kHistory.jump(0, at(1, 5)), at(0, 3));
  EXPECT_EQ(kHistory.jump(1, at(1, 5)), at(2, 6));
  EXPECT_EQ(kHistory.jump(2, at(1, 5)), at(1, 0));
  EXPECT_EQ(kHistory.clampChoice(at(0, 0)), at(0, 0));
  EXPECT_EQ(kHistory.clampChoice(at(0, 1)), at(0, 3));
  EXPECT_EQ(kHistory.clampChoice(at(2, 11)), at(2, 6));
  // A single-year history clamps at both ends.
  EXPECT_EQ(PeriodSteps(0, 3, 6).monthUp(at(0, 6)), at(0, 6));
  EXPECT_EQ(PeriodSteps(0, 3, 6).toFirst(), at(0, 3));
  // Without a known history nothing is clamped.
  EXPECT_EQ(PeriodSteps(2, 0, 0).yearDown(at(1, 0)), at(0, 0));
}

TEST(PeriodStepsTest, YearList) {
  EXPECT_EQ(PeriodSteps::openingYears(1982), (std::vector<int>{1980, 1981, 1982}));
  const std::vector<int> years{2008, 2009, 2010};
  EXPECT_EQ(PeriodSteps::yearPosition(years, 2009), 1);
  EXPECT_EQ(PeriodSteps::yearPosition(years, 2015), 2);  // a year outside the history: the last
  EXPECT_EQ(PeriodSteps::yearPosition({}, 2015), -1);
}

}  // namespace
}  // namespace statind
