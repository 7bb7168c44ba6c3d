#include "versus/Versus.h"

#include <gtest/gtest.h>

#include <cmath>

#include "risk/RiskFigures.h"
#include "statind/StatFixture.h"
#include "versus/VersusText.h"

namespace {

using platform::DayNumber;
using statind::testing::day;
using versus::Preset;
using versus::Refusal;
using versus::VersusParams;
using versus::VersusResult;

// A benchmark that rises and falls unevenly: 100 on its first day, then each business day's
// move taken in turn from a cycle of seven within ±2 % (about 9 % up a year), so that
// every return is known.
constexpr double kMoves[] = {0.01, -0.02, 0.015, 0.005, -0.01, 0.02, -0.017};

class Versus : public statind::testing::StatFixture {
 protected:
  // The benchmark's path as above from `first` to `last`, and its value on each business day.
  std::vector<std::pair<DayNumber, double>> path(DayNumber first, DayNumber last) {
    std::vector<std::pair<DayNumber, double>> values;
    double value = 100;
    for (DayNumber d = first; d <= last; ++d) {
      if (platform::weekday(d) > 5) continue;
      if (!values.empty()) value *= 1 + kMoves[values.size() % 7];
      values.emplace_back(d, value);
    }
    return values;
  }

  // `code` valued by `transform` of the benchmark's path, on the days `keep` says.
  void addPath(const std::string& code, const std::vector<std::pair<DayNumber, double>>& values,
               const std::function<double(DayNumber, double)>& transform = {},
               const std::function<bool(DayNumber)>& keep = {}) {
    dataDb_->execute("INSERT INTO TabProdotti (Codice, Descrizione, NoIndici) VALUES (?1, ?2, 0)",
                     {code, "Prodotto " + code});
    platform::Database::Transaction tx(*indexDb_);
    for (const auto& [d, v] : values)
      if (!keep || keep(d)) addRecord(code, d, transform ? transform(d, v) : v);
    tx.commit();
  }

  VersusResult compare(std::vector<std::string> products, const std::string& benchmark = "",
                       versus::PeriodChoice period = {}, const std::string& riskFree = "") {
    return versus::computeVersus(*lookup_,
                                 VersusParams{std::move(products), benchmark, period, riskFree});
  }

  const std::vector<std::pair<DayNumber, double>> bench_ = path(day(4, 1, 2010), day(31, 12, 2012));
};

TEST_F(Versus, IdenticalProductsFollowEachOtherExactly) {
  addPath("A", bench_);
  addPath("B", bench_);
  const VersusResult r = compare({"A", "b"}, "B");
  ASSERT_EQ(r.benchmark, 1u);
  EXPECT_FALSE(r.products[1].vsBenchmark);  // the benchmark against itself
  const auto& vs = r.products[0].vsBenchmark.value();
  EXPECT_NEAR(*vs.pair.correlation, 1, 1e-12);
  EXPECT_NEAR(*vs.pair.beta, 1, 1e-12);
  EXPECT_EQ(vs.pair.trackingError, 0.0);
  EXPECT_FALSE(vs.informationRatio);  // a tracking error of 0 divides nothing
  EXPECT_EQ(vs.pair.returns, static_cast<int>(bench_.size()) - 1);
  EXPECT_EQ(r.products[0].figures.change, r.products[1].figures.change);
  EXPECT_NEAR(*r.correlation[0][1], 1, 1e-12);
  EXPECT_NEAR(*r.correlation[1][1], 1, 1e-12);
}

TEST_F(Versus, DoubledAndMirroredReturns) {
  addPath("BM", bench_);
  // Twice every log return of the benchmark, and its mirror: the same returns with the sign
  // turned.
  addPath("TWICE", bench_, [](DayNumber, double v) { return 100 * std::pow(v / 100, 2); });
  addPath("MIRROR", bench_, [](DayNumber, double v) { return 100 * 100 / v; });
  const VersusResult r = compare({"TWICE", "MIRROR", "BM"}, "BM");
  const auto& twice = r.products[0].vsBenchmark.value().pair;
  EXPECT_NEAR(*twice.beta, 2, 1e-9);
  EXPECT_NEAR(*twice.correlation, 1, 1e-12);
  // The differences are the benchmark's own returns: the tracking error is its volatility.
  EXPECT_NEAR(*twice.trackingError, *r.products[2].figures.volatility, 1e-12);
  const auto& mirror = r.products[1].vsBenchmark.value().pair;
  EXPECT_NEAR(*mirror.correlation, -1, 1e-12);
  EXPECT_NEAR(*mirror.beta, -1, 1e-9);
  EXPECT_NEAR(*r.correlation[0][1], -1, 1e-12);
  // Information ratio: the difference of the annualised returns over the tracking error.
  const auto& p = r.products;
  EXPECT_NEAR(
      *r.products[0].vsBenchmark->informationRatio,
      (*p[0].figures.annualisedReturn - *p[2].figures.annualisedReturn) / *twice.trackingError,
      1e-12);
}

TEST_F(Versus, OnlyDatesBothProductsHoldArePaired) {
  // Holidays on different days: the benchmark closes on Mondays, the product on Fridays, and
  // each holds a wild value on the day the other lacks. Paired only from Tuesday to Thursday,
  // the product's returns are exactly twice the benchmark's.
  const auto weekday = [](DayNumber d) { return platform::weekday(d); };
  addPath(
      "BM", bench_, [&](DayNumber d, double v) { return weekday(d) == 5 ? v / 3 : v; },
      [&](DayNumber d) { return weekday(d) != 1; });
  addPath(
      "P", bench_,
      [&](DayNumber d, double v) { return (weekday(d) == 1 ? 3 : 1) * 100 * std::pow(v / 100, 2); },
      [&](DayNumber d) { return weekday(d) != 5; });
  const VersusResult r = compare({"P", "BM"}, "BM");
  const auto& vs = r.products[0].vsBenchmark.value().pair;
  int shared = 0;
  for (const auto& [d, v] : bench_) shared += weekday(d) >= 2 && weekday(d) <= 4;
  EXPECT_EQ(vs.returns, shared - 1);
  EXPECT_NEAR(*vs.beta, 2, 1e-9);
  EXPECT_NEAR(*vs.correlation, 1, 1e-12);
}

TEST_F(Versus, ProductsThatDoNotMeetAreRefusedByName) {
  addPath("OLD", path(day(4, 1, 2010), day(30, 6, 2010)));
  addPath("MID", path(day(1, 3, 2010), day(31, 12, 2011)));
  addPath("NEW", path(day(1, 1, 2011), day(31, 12, 2012)));
  addSeries("EMPTY", day(4, 1, 2010), day(8, 1, 2010), [](DayNumber) { return 0.0; });
  try {
    compare({"MID", "OLD", "NEW"});
    FAIL() << "no refusal";
  } catch (const Refusal& refusal) {
    EXPECT_EQ(refusal.kind(), Refusal::Kind::NoOverlap);
    const std::string message = refusal.what();
    EXPECT_NE(message.find("NEW ha indici dal 03/01/2011"), std::string::npos) << message;
    EXPECT_NE(message.find("OLD dal 04/01/2010 al 30/06/2010"), std::string::npos) << message;
  }
  EXPECT_NO_THROW(compare({"MID", "OLD"}));
  for (const char* missing : {"NONE", "EMPTY"}) {
    try {
      compare({"MID", missing});
      FAIL() << missing;
    } catch (const Refusal& refusal) {
      EXPECT_EQ(refusal.kind(), Refusal::Kind::NoData);
      EXPECT_NE(std::string(refusal.what()).find(missing), std::string::npos);
    }
  }
  EXPECT_THROW(compare({"MID"}), std::invalid_argument);
  EXPECT_THROW(compare({"MID", "mid"}), std::invalid_argument);
  EXPECT_THROW(compare({"MID", "OLD"}, "NEW"), std::invalid_argument);
  EXPECT_THROW(compare({"A", "B", "C", "D", "E", "F", "G", "H", "I"}), std::invalid_argument);
}

TEST_F(Versus, SharpeOverTheRiskFreeRateOrZero) {
  addPath("A", bench_);
  addPath("B", bench_, [](DayNumber, double v) { return v * 2; });
  // The money-market index: +2 % a year, valued on each business day.
  addSeries("MON", day(1, 1, 2009), day(31, 12, 2013),
            [](DayNumber d) { return 100 * std::pow(1.02, (d - day(1, 1, 2009)) / 365.25); });
  addSeries("SHORTMON", day(1, 1, 2011), day(31, 12, 2013), [](DayNumber) { return 1.0; });

  const VersusResult none = compare({"A", "B"});
  EXPECT_TRUE(none.riskFree.product.empty());
  EXPECT_EQ(none.riskFree.annualisedReturn, 0.0);
  const auto& a = none.products[0];
  EXPECT_NEAR(*a.sharpe, *a.figures.annualisedReturn / *a.figures.volatility, 1e-15);
  EXPECT_EQ(versus::riskFreeText(none.riskFree), "0 % (INDICE_MONETARIO non impostato)");

  const VersusResult set = compare({"A", "B"}, "", {}, " mon ");
  EXPECT_EQ(set.riskFree.product, "MON");
  const double rf = set.riskFree.annualisedReturn.value();
  EXPECT_NEAR(rf, 0.02, 1e-12);
  EXPECT_NEAR(*set.products[0].sharpe, (*a.figures.annualisedReturn - rf) / *a.figures.volatility,
              1e-15);

  const VersusResult uncovered = compare({"A", "B"}, "", {}, "SHORTMON");
  EXPECT_FALSE(uncovered.riskFree.annualisedReturn);
  EXPECT_FALSE(uncovered.products[0].sharpe);
  EXPECT_NE(versus::riskFreeText(uncovered.riskFree).find("non coprono il periodo"),
            std::string::npos);
  EXPECT_FALSE(compare({"A", "B"}, "", {}, "NOSUCH").riskFree.annualisedReturn);

  // Under a year there is no annualised return, so neither ratio.
  const VersusResult shortPeriod =
      compare({"A", "B"}, "B", {Preset::Chosen, day(1, 6, 2012), {}}, "MON");
  EXPECT_FALSE(shortPeriod.riskFree.annualisedReturn);
  EXPECT_FALSE(shortPeriod.products[0].sharpe);
  EXPECT_FALSE(shortPeriod.products[0].vsBenchmark->informationRatio);
}

TEST_F(Versus, RebasedChartStartsAtOneHundredForEveryProduct) {
  addPath("A", bench_);
  addPath("B", path(day(15, 3, 2010), day(30, 11, 2012)),
          [](DayNumber, double v) { return v / 7; });
  const VersusResult r = compare({"A", "B"});
  EXPECT_EQ(r.period.from, day(15, 3, 2010));  // the later start
  EXPECT_EQ(r.period.to, day(30, 11, 2012));   // the earlier end
  const auto& dates = r.chart.dates;
  ASSERT_GE(dates.size(), 3u);
  EXPECT_EQ(dates.front(), day(15, 3, 2010));
  EXPECT_EQ(dates[1], day(31, 3, 2010));
  EXPECT_EQ(dates[dates.size() - 2], day(31, 10, 2012));
  EXPECT_EQ(dates.back(), day(30, 11, 2012));
  for (std::size_t p = 0; p < 2; ++p) {
    EXPECT_EQ(r.chart.values[p].front(), 100);
    EXPECT_NEAR(r.chart.values[p].back(), 100 * (1 + r.products[p].figures.change), 1e-9);
  }
  // A year or less is drawn day by day: every date either product holds.
  const VersusResult daily = compare({"A", "B"}, "", {Preset::OneYear});
  EXPECT_EQ(daily.period.from, day(30, 11, 2011));
  EXPECT_EQ(daily.chart.dates[1], day(1, 12, 2011));
  EXPECT_EQ(daily.chart.dates.size(), 1 + 262u);  // business days of the year after
  EXPECT_EQ(daily.chart.values[1].front(), 100);
}

TEST_F(Versus, AProductAloneHasTheRiskFiguresOfTheSamePeriod) {
  addPath("A", path(day(3, 5, 2010), day(30, 11, 2012)));
  addPath("LONG", bench_, [](DayNumber, double v) { return v + 50; });
  const auto range = statind::productRange(*lookup_, "A", day(1, 1, 2030)).value();
  const risk::RiskResult alone = risk::computeRisk(*lookup_, {"A", 0, 5, {}, range});
  for (const auto& [window, preset] :
       {std::pair{"storico", Preset::Longest}, std::pair{"1a", Preset::OneYear}}) {
    const auto& w = *std::find_if(alone.windows.begin(), alone.windows.end(),
                                  [&](const auto& x) { return x.name == window; });
    const VersusResult r = compare({"LONG", "A"}, "", {preset});
    const risk::PeriodFigures& f = r.products[1].figures;
    EXPECT_EQ(r.period.from, w.from) << window;
    EXPECT_EQ(f.change, w.change) << window;
    EXPECT_EQ(f.annualisedReturn, w.annualisedReturn) << window;
    EXPECT_EQ(f.volatility, w.volatility) << window;
    EXPECT_EQ(f.maxDrawdown.value, w.maxDrawdown.value) << window;
    EXPECT_EQ(f.maxDrawdown.trough, w.maxDrawdown.trough) << window;
  }
}

TEST_F(Versus, PeriodsAndCalendarYears) {
  addPath("A", bench_);
  addPath("B", bench_, [](DayNumber, double v) { return 300 - v; });
  const VersusResult ytd = compare({"A", "B"}, "", {Preset::YearToDate});
  EXPECT_EQ(ytd.period.from, day(31, 12, 2011));
  ASSERT_EQ(ytd.products[0].years.size(), 1u);  // opening on 31/12 starts with the next year
  EXPECT_EQ(ytd.products[0].years[0].year, 2012);
  EXPECT_FALSE(ytd.products[0].years[0].partial);
  EXPECT_NEAR(ytd.products[0].years[0].change, ytd.products[0].figures.change, 1e-15);

  const VersusResult chosen =
      compare({"A", "B"}, "", {Preset::Chosen, day(15, 6, 2010), day(31, 12, 2011)});
  const auto& years = chosen.products[1].years;
  ASSERT_EQ(years.size(), 2u);
  EXPECT_TRUE(years[0].partial);
  EXPECT_FALSE(years[1].partial);
  double product = 1;
  for (const auto& y : years) product *= 1 + y.change;
  EXPECT_NEAR(product - 1, chosen.products[1].figures.change, 1e-12);
  EXPECT_EQ(versus::yearsTable(chosen).lines[0].caption, "2010 P");

  const VersusResult ten = compare({"A", "B"}, "", {Preset::TenYears});
  EXPECT_EQ(ten.period.from, day(4, 1, 2010));
  EXPECT_TRUE(ten.period.shortened);
  EXPECT_EQ(versus::periodText(ten),
            "dal 04/01/2010 al 31/12/2012 (storia comune dal 04/01/2010 al 31/12/2012)");
  for (const auto& outside :
       {versus::PeriodChoice{Preset::Chosen, day(1, 1, 2013), {}},
        versus::PeriodChoice{Preset::Chosen, day(1, 6, 2011), day(1, 1, 2011)}}) {
    try {
      compare({"A", "B"}, "", outside);
      FAIL();
    } catch (const Refusal& refusal) {
      EXPECT_EQ(refusal.kind(), Refusal::Kind::Period);
    }
  }
}

TEST_F(Versus, FiguresTableMarksTheBestOfEachLine) {
  addPath("UP", bench_, [](DayNumber, double v) { return v * v / 100; });
  addPath("BM", bench_);
  addPath("SAME", bench_);
  const VersusResult r = compare({"UP", "BM", "SAME"}, "BM");
  const versus::TextTable table = versus::figuresTable(r);
  EXPECT_EQ(table.header, (std::vector<std::string>{"", "UP", "BM", "SAME"}));
  const auto line = [&](const std::string& caption) {
    return *std::find_if(table.lines.begin(), table.lines.end(),
                         [&](const auto& l) { return l.caption == caption; });
  };
  // UP moves twice as far each day: the larger change, the larger swings.
  EXPECT_TRUE(line("variazione %").cells[0].best);
  EXPECT_FALSE(line("variazione %").cells[1].best);
  EXPECT_FALSE(line("volatilita' annua %").cells[0].best);
  EXPECT_TRUE(line("volatilita' annua %").cells[1].best);  // a tie: both marked
  EXPECT_TRUE(line("volatilita' annua %").cells[2].best);
  EXPECT_EQ(line("beta verso BM").cells[0].text, "2,00");
  EXPECT_EQ(line("beta verso BM").cells[1].text, "");
  EXPECT_EQ(line("correlazione con BM").cells[2].text, "1,00");
}

}  // namespace
