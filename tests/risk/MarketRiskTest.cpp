#include "risk/MarketRisk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using risk::marketRiskOf;

// Normal draws by Box-Muller over mt19937, whose output is the same everywhere.
std::vector<double> normalReturns(std::size_t count, double sigma, unsigned seed) {
  std::mt19937 engine(seed);
  const auto uniform = [&] { return (engine() + 0.5) / 4294967296.0; };
  std::vector<double> returns;
  while (returns.size() < count) {
    const double radius = std::sqrt(-2 * std::log(uniform())), angle = 2 * M_PI * uniform();
    returns.push_back(sigma * radius * std::cos(angle));
  }
  return returns;
}

// Each return beside its opposite: the skewness is exactly 0.
std::vector<double> mirrored(std::vector<double> returns) {
  const std::size_t n = returns.size();
  for (std::size_t i = 0; i < n; ++i) returns.push_back(-returns[i]);
  return returns;
}

TEST(MarketRisk, NormalReturnsGiveAVevCloseToTheirAnnualVolatility) {
  const auto risk = marketRiskOf(normalReturns(60000, 0.01, 7), 5);
  ASSERT_TRUE(risk.vev && risk.sigma);
  EXPECT_NEAR(*risk.sigma, 0.01, 0.0002);
  EXPECT_NEAR(*risk.vev / (*risk.sigma * 16), 1.0, 0.01);
  EXPECT_EQ(risk.riskClass, 4);  // about 16 %
}

TEST(MarketRisk, FatTailsOfTheSameSigmaRaiseTheVev) {
  const auto normal = mirrored(normalReturns(20000, 0.01, 11));
  // Mostly calm days and a few wild ones, scaled to the normal series' sigma.
  auto calm = normalReturns(18000, 0.006, 12), wild = normalReturns(2000, 0.03, 13);
  calm.insert(calm.end(), wild.begin(), wild.end());
  auto fat = mirrored(calm);
  const double scale = *marketRiskOf(normal, 5).sigma / *marketRiskOf(fat, 5).sigma;
  for (double& r : fat) r *= scale;

  const auto a = marketRiskOf(normal, 5), b = marketRiskOf(fat, 5);
  EXPECT_NEAR(*b.sigma, *a.sigma, 1e-12);
  EXPECT_NEAR(*b.skewness, 0, 1e-9);
  EXPECT_GT(*b.excessKurtosis, 3);
  EXPECT_GT(*b.vev, *a.vev);
}

TEST(MarketRisk, SkewedSeriesAgainstItsHandComputedVev) {
  // M1 = 0, M2 = 0,0003, M3 = -6e-6, M4 = 2,1e-7: skewness -2/√3, excess kurtosis -2/3;
  // N = 1280: VaR = -1,41593, VEV = (√(3,842 + 2,83186) - 1,96) / √5.
  const auto risk = marketRiskOf({0.01, 0.01, 0.01, -0.03}, 5);
  EXPECT_NEAR(*risk.sigma, std::sqrt(0.0003), 1e-15);
  EXPECT_NEAR(*risk.skewness, -2 / std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(*risk.excessKurtosis, -2.0 / 3, 1e-12);
  EXPECT_NEAR(*risk.vev, 0.2787848853, 1e-9);
  EXPECT_EQ(risk.riskClass, 5);
  EXPECT_EQ(risk.returns, 4);
  // A shorter holding period spreads the same loss over fewer years.
  EXPECT_GT(*marketRiskOf({0.01, 0.01, 0.01, -0.03}, 1).vev, *risk.vev);
}

TEST(MarketRisk, ClassBoundariesBelongToTheClassAbove) {
  const double bounds[] = {0.005, 0.05, 0.12, 0.20, 0.30, 0.80};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(risk::riskClass(bounds[i] - 1e-9), i + 1) << bounds[i];
    EXPECT_EQ(risk::riskClass(bounds[i]), i + 2) << bounds[i];
  }
  EXPECT_EQ(risk::riskClass(0), 1);
  EXPECT_EQ(risk::riskClass(3.5), 7);
}

}  // namespace
