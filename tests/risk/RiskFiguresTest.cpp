#include "risk/RiskFigures.h"

#include <gtest/gtest.h>

#include <cmath>

#include "statind/StatFixture.h"

namespace {

using platform::DayNumber;
using risk::RiskResult;
using statind::testing::day;

class RiskFigures : public statind::testing::StatFixture {
 protected:
  RiskResult figures(const std::string& code, int year = 0,
                     statind::StartRule rule = statind::StartRule::FirstUseful) {
    const auto range = statind::productRange(*lookup_, code, day(1, 1, 2030));
    EXPECT_TRUE(range.has_value()) << code;
    return risk::computeRisk(*lookup_,
                             {code, year, 5, rule, range.value_or(statind::ProductRange{})});
  }

  static const risk::WindowFigures& window(const RiskResult& result, const std::string& name) {
    for (const auto& w : result.windows)
      if (w.name == name) return w;
    throw std::logic_error("no window " + name);
  }

  void addProduct(const std::string& code, int noIndici = 0) {
    dataDb_->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES (?1, ?2)",
                     {code, std::int64_t{noIndici}});
  }
  void addValues(const std::string& code, const std::vector<std::pair<DayNumber, double>>& values) {
    addProduct(code);
    for (const auto& [date, value] : values) addRecord(code, date, value);
  }
  std::int64_t indexRows() {
    return std::get<std::int64_t>(indexDb_->snapshot("SELECT COUNT(*) FROM Indici").at(0).at(0));
  }
};

TEST_F(RiskFigures, ConstantSeriesHasNoVolatilityNoFallAndClassOne) {
  addSeries("K", day(4, 1, 2006), day(30, 12, 2011), [](DayNumber) { return 10.0; });
  const RiskResult r = figures("K");
  ASSERT_EQ(r.windows.size(), 5u);
  for (const auto& w : r.windows) {
    ASSERT_TRUE(w.covered) << w.name;
    EXPECT_EQ(w.change, 0) << w.name;
    EXPECT_EQ(w.volatility, 0.0) << w.name;
    EXPECT_EQ(w.maxDrawdown.value, 0) << w.name;
    EXPECT_FALSE(w.maxDrawdown.peak || w.maxDrawdown.trough || w.maxDrawdown.recovery);
    EXPECT_EQ(w.positiveMonths, 0.0) << w.name;
  }
  EXPECT_EQ(r.year, 2011);
  EXPECT_EQ(window(r, "anno").from, day(1, 1, 2011));
  EXPECT_EQ(window(r, "5a").from, day(30, 12, 2006));
  EXPECT_EQ(window(r, "5a").to, day(30, 12, 2011));
  EXPECT_EQ(window(r, "storico").from, day(4, 1, 2006));
  EXPECT_NEAR(*window(r, "1a").annualisedReturn, 0, 1e-15);
  // σ = 0: VEV = (√3,842 - 1,96) / √5, about 0,005 %.
  EXPECT_EQ(r.mrm.riskClass, 1);
  EXPECT_NEAR(*r.mrm.vev, (std::sqrt(3.842) - 1.96) / std::sqrt(5.0), 1e-15);
  int lastFiveYears = 0;
  for (const auto& p : r.history) lastFiveYears += p.date > day(30, 12, 2006);
  EXPECT_EQ(r.mrm.returns, lastFiveYears);
}

// One fact, one figure: the shown year's change is the year view's under either start rule,
// from the history's first date in its first year.
TEST_F(RiskFigures, ShownYearChangeIsTheYearViewsUnderEitherRule) {
  addSeries("APR", day(15, 4, 2009), day(31, 12, 2011));
  for (const auto rule : {statind::StartRule::FirstUseful, statind::StartRule::Previous}) {
    for (const int year : {2009, 2010, 2011}) {
      const RiskResult result = figures("APR", year, rule);
      const auto& shown = window(result, "anno");
      const auto view = run("APR", year, 0, rule).summary[2];
      ASSERT_TRUE(shown.covered) << year;
      EXPECT_EQ(platform::formatNumber(shown.change * 100, "#0.000"), view.LbDiff) << year;
      EXPECT_EQ(shown.startRule, rule);
      EXPECT_EQ(shown.from, year == 2009 ? day(15, 4, 2009) : day(1, 1, year));
    }
  }
  // Saturday 01/01/2011: the rules start from Monday's record or from Friday's.
  const auto first = window(figures("APR", 2011), "anno");
  const auto previous = window(figures("APR", 2011, statind::StartRule::Previous), "anno");
  EXPECT_NE(first.change, previous.change);
}

TEST_F(RiskFigures, FallAndRecoveryWithTheirDates) {
  addValues("DD", {{day(4, 1, 2010), 100},
                   {day(5, 1, 2010), 110},
                   {day(6, 1, 2010), 99},
                   {day(7, 1, 2010), 88},
                   {day(8, 1, 2010), 105},
                   {day(11, 1, 2010), 110},
                   {day(12, 1, 2010), 120}});
  addValues("DOWN", {{day(4, 1, 2010), 100}, {day(5, 1, 2010), 90}, {day(6, 1, 2010), 95}});
  const auto whole = window(figures("DD"), "storico");
  EXPECT_NEAR(whole.maxDrawdown.value, -0.2, 1e-15);  // 110 down to 88
  EXPECT_EQ(whole.maxDrawdown.peak, day(5, 1, 2010));
  EXPECT_EQ(whole.maxDrawdown.trough, day(7, 1, 2010));
  EXPECT_EQ(whole.maxDrawdown.recovery, day(11, 1, 2010));  // back at 110, not above it
  EXPECT_NEAR(whole.change, 0.2, 1e-15);
  EXPECT_FALSE(whole.annualisedReturn);  // eight days
  // Sample deviation of ln(110/100), ln(99/110) ... ln(120/110), times 16.
  EXPECT_NEAR(*whole.volatility, 1.8856729439, 1e-9);
  const RiskResult dd = figures("DD");
  EXPECT_FALSE(window(dd, "1a").covered);
  EXPECT_EQ(window(dd, "anno").from, day(4, 1, 2010));  // the history starts inside the year
  EXPECT_EQ(dd.mrm.riskClass, std::nullopt);            // eight days are not two years
  EXPECT_EQ(dd.mrm.returns, 6);

  const auto down = window(figures("DOWN"), "storico").maxDrawdown;
  EXPECT_NEAR(down.value, -0.1, 1e-15);
  EXPECT_EQ(down.trough, day(5, 1, 2010));
  EXPECT_EQ(down.recovery, std::nullopt);
}

TEST_F(RiskFigures, ClassNeedsTwoYearsCountedWithTheTwentyEighthOfFebruary) {
  // The last value on 29/02/2012: two years back is 28/02/2010, a Sunday.
  addSeries("TWO", day(1, 3, 2010), day(29, 2, 2012));
  addRecord("TWO", day(28, 2, 2010), 99);
  addSeries("SHORT", day(1, 3, 2010), day(29, 2, 2012));
  EXPECT_TRUE(figures("TWO").mrm.riskClass.has_value());
  const RiskResult shortOne = figures("SHORT");
  EXPECT_FALSE(shortOne.mrm.riskClass || shortOne.mrm.vev);
  EXPECT_GT(shortOne.mrm.returns, 500);
  EXPECT_EQ(window(shortOne, "1a").from, day(28, 2, 2011));
}

TEST_F(RiskFigures, UnusableRecordsArePassedOverAndKept) {
  addValues("MIX", {{day(1, 1, 1900), 50},
                    {day(4, 1, 2010), 100},
                    {day(5, 1, 2010), 0},
                    {day(7, 1, 2010), 110},
                    {day(8, 1, 2010), 999999},
                    {day(8, 1, 2010) + 1, -5},
                    {day(11, 1, 2010), 121},
                    {day(31, 12, 2199), 0}});
  indexDb_->execute("INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES (?1, ?2, ?3)",
                    {std::string("MIX"), platform::isoDate(day(6, 1, 2010)), platform::Value{}});
  const auto rows = indexRows();
  const RiskResult r = figures("MIX", 2010);
  ASSERT_EQ(r.history.size(), 3u);
  EXPECT_EQ(r.history[1].date, day(7, 1, 2010));
  const auto whole = window(r, "storico");
  EXPECT_NEAR(whole.change, 0.21, 1e-15);
  EXPECT_NEAR(*whole.volatility, 0, 1e-15);  // two equal steps of 10 %
  // The January cell is the year view's: 121 from the first useful 100.
  EXPECT_EQ(r.map.years.at(0).months[0].text, "21,000");
  EXPECT_EQ(indexRows(), rows);
}

TEST_F(RiskFigures, ProductFixedByRuleIsConstant) {
  addProduct("NOIX", 1);
  addProduct("FIX");
  platform::Database::Transaction tx(*indexDb_);
  for (const char* code : {"NOIX", "FIX"}) {
    for (auto d = day(4, 1, 2010); d <= day(24, 12, 2012); d += 7)  // Mondays
      addRecord(code, d, 100 + d % 13);
  }
  addRecord("FIX", day(31, 12, 2199), 7.5);
  tx.commit();
  for (const auto& [code, value] : {std::pair{"NOIX", 1.0}, std::pair{"FIX", 7.5}}) {
    const RiskResult r = figures(code);
    EXPECT_EQ(r.history.front().value, value);
    EXPECT_EQ(r.history.back().value, value);
    EXPECT_EQ(r.history.back().date, day(24, 12, 2012));  // not the fixed-value record
    EXPECT_EQ(window(r, "storico").volatility, 0.0);
    EXPECT_EQ(window(r, "storico").maxDrawdown.value, 0);
    EXPECT_EQ(r.mrm.riskClass, 1);
    EXPECT_EQ(r.map.years.at(1).months[5].text, "0,000");
  }
}

}  // namespace
