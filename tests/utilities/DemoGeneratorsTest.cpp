// The pieces the demo and benchmark data are drawn with: their statistics and the stability
// promises the generated files rely on.
#include <gtest/gtest.h>

#include <cmath>

#include "utilities/BusinessDays.h"
#include "utilities/MarketPath.h"
#include "utilities/PortableRandom.h"
#include "utilities/PriceWalk.h"

namespace {

using platform::dayNumber;
using utilities::MarketPath;
using utilities::PortableRandom;
using utilities::PriceWalk;
using utilities::WalkParams;

TEST(DemoRandom, DrawsHaveTheRightRangeAndMoments) {
  PortableRandom random(7);
  constexpr int kDraws = 200000;
  double sum = 0, squares = 0, uniformSum = 0;
  int low = 0, high = 0;
  for (int i = 0; i < kDraws; ++i) {
    const double u = random.uniform();
    ASSERT_GT(u, 0.0);
    ASSERT_LT(u, 1.0);
    uniformSum += u;
    const double n = random.normal();
    sum += n;
    squares += n * n;
    const int k = random.between(3, 5);
    ASSERT_GE(k, 3);
    ASSERT_LE(k, 5);
    low += k == 3;
    high += k == 5;
  }
  EXPECT_NEAR(uniformSum / kDraws, 0.5, 0.005);
  EXPECT_NEAR(sum / kDraws, 0.0, 0.01);
  EXPECT_NEAR(std::sqrt(squares / kDraws), 1.0, 0.01);
  EXPECT_NEAR(static_cast<double>(low) / kDraws, 1.0 / 3, 0.01);
  EXPECT_NEAR(static_cast<double>(high) / kDraws, 1.0 / 3, 0.01);
}

TEST(DemoRandom, SequencesDependOnlyOnTheSeed) {
  // Fixed numbers: a change here changes every generated installation.
  EXPECT_EQ(PortableRandom::seedFor(0, ""), 2166136261u);
  EXPECT_EQ(PortableRandom::seedFor(1, "AZ001"), PortableRandom::seedFor(1, "AZ001"));
  EXPECT_NE(PortableRandom::seedFor(1, "AZ001"), PortableRandom::seedFor(2, "AZ001"));
  EXPECT_NE(PortableRandom::seedFor(1, "AZ001"), PortableRandom::seedFor(1, "AZ002"));
  PortableRandom a(42), b(42);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(a.normal(), b.normal());
}

TEST(DemoBusinessDays, WeekendsAreSkippedBothWays) {
  const auto friday = dayNumber(2025, 6, 13), saturday = friday + 1, monday = friday + 3;
  EXPECT_TRUE(utilities::isBusinessDay(friday));
  EXPECT_FALSE(utilities::isBusinessDay(saturday));
  EXPECT_EQ(utilities::firstBusinessDayFrom(saturday), monday);
  EXPECT_EQ(utilities::firstBusinessDayFrom(monday), monday);
  EXPECT_EQ(utilities::lastBusinessDayBefore(monday), friday);
  EXPECT_EQ(utilities::lastBusinessDayBefore(friday), friday - 1);
}

TEST(DemoMarket, PathIsStableWhenItGetsLongerAndMovesOnlyOnBusinessDays) {
  const auto start = dayNumber(2000, 1, 3);
  const MarketPath shorter(start, dayNumber(2010, 12, 31), 5);
  const MarketPath longer(start, dayNumber(2025, 12, 31), 5);
  for (auto day = start; day <= dayNumber(2010, 12, 31); ++day)
    ASSERT_EQ(shorter.returnOn(day), longer.returnOn(day)) << day;
  EXPECT_EQ(longer.returnOn(dayNumber(2020, 3, 14)), 0.0);  // a Saturday
  EXPECT_EQ(longer.returnOn(start - 1), 0.0);
  EXPECT_EQ(longer.returnOn(dayNumber(2026, 1, 5)), 0.0);
  EXPECT_NE(longer.returnOn(dayNumber(2020, 3, 16)), 0.0);
}

TEST(DemoMarket, CrisesFallAndCalmYearsRise) {
  const MarketPath market(dayNumber(1999, 1, 4), dayNumber(2025, 12, 31), 11);
  const auto move = [&](platform::DayNumber from, platform::DayNumber to) {
    double total = 0;
    for (auto day = from; day <= to; ++day) total += market.returnOn(day);
    return total;
  };
  EXPECT_LT(move(dayNumber(2007, 10, 15), dayNumber(2009, 3, 9)), -0.3);
  EXPECT_LT(move(dayNumber(2020, 2, 20), dayNumber(2020, 3, 23)), -0.1);
  EXPECT_GT(move(dayNumber(2012, 1, 2), dayNumber(2014, 12, 31)), 0.0);
}

TEST(DemoWalk, FollowsTheMarketByItsSensitivityAndStaysInItsBand) {
  WalkParams still{.startValue = 10.0,
                   .annualDrift = 0.0,
                   .annualVolatility = 0.0,
                   .marketSensitivity = 0.5,
                   .lowerBound = 5.0,
                   .upperBound = 150.0};
  PriceWalk calm(still, 1);
  EXPECT_EQ(calm.value(), 10.0);
  EXPECT_NEAR(calm.step(0.02), 10.0 * std::exp(0.01), 1e-12);

  // A walk drifting hard upwards is held near its upper bound instead of running away.
  WalkParams wild = still;
  wild.startValue = 100.0;
  wild.annualDrift = 0.25;
  wild.annualVolatility = 0.2;
  wild.marketSensitivity = 0.0;
  PriceWalk walk(wild, 3);
  double highest = 0;
  for (int day = 0; day < 260 * 25; ++day) highest = std::max(highest, walk.step(0.0));
  EXPECT_GT(highest, 150.0);
  EXPECT_LT(highest, 400.0);
  EXPECT_GT(walk.value(), 0.0);
}

}  // namespace
