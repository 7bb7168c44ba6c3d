#include "compare/Comparison.h"

#include <cmath>

#include "compare/CompareLabels.h"
#include "compare/CompareSteps.h"
#include "compare/ProductChooser.h"
#include "compare/ProductLoad.h"
#include "statind/StatFixture.h"

namespace compare {
namespace {

using statind::testing::day;
using statind::testing::DayNumber;

constexpr int kWide = 19320;   // 1280 pixels
constexpr int kNarrow = 9720;  // 640 pixels

// A history from Thursday 15/03/2001 to the end of 2016 on the test series.
class ComparisonTest : public statind::testing::StatFixture {
 protected:
  void SetUp() override {
    StatFixture::SetUp();
    today_ = day(1, 6, 2020);
  }
  CompareResult compare(const std::string& code, int from, int to, int month, bool bars = false,
                        int width = kWide,
                        statind::StartRule rule = statind::StartRule::FirstUseful) {
    auto range = statind::productRange(*lookup_, code, today_);
    EXPECT_TRUE(range) << code;
    return runComparison(*lookup_, {code, from, to, month, rule, bars,
                                    range.value_or(statind::ProductRange{}), width});
  }
  std::string label(const CompareResult& r, std::size_t point) {
    return r.chart.points.at(point).label.value_or("<none>");
  }
};

TEST_F(ComparisonTest, AllMonthsWalkTheHistoryWithinTheSpan) {
  addSeries("MAR", day(15, 3, 2001), day(31, 12, 2016));
  const auto r = compare("MAR", 2004, 2001, 0);  // reversed: swapped
  EXPECT_EQ(r.fromYear, 2001);
  EXPECT_EQ(r.toYear, 2004);
  EXPECT_TRUE(r.rows.empty());
  EXPECT_EQ(r.chart.title, "");
  EXPECT_EQ(r.chart.type, statind::GraphModel::kLine);
  ASSERT_EQ(r.chart.pointCount, 10 + 36);  // March 2001 .. December 2004
  EXPECT_EQ(label(r, 0), "M");
  EXPECT_EQ(r.chart.points[0].value, 100.30);  // Friday 30/03/2001
  EXPECT_EQ(label(r, 1), "A");
  EXPECT_EQ(label(r, 10), "02");
  EXPECT_EQ(label(r, 11), "F");
  EXPECT_EQ(label(r, 45), "D");
  EXPECT_EQ(r.chart.points[45].value, 100 + 10 * 45 + 0.31);  // Friday 31/12/2004
}

TEST(CompareLabels, MonthLabelsThinOutAsTheSpanGrows) {
  auto labels = [](int span) {
    std::string all;
    for (int m = 1; m <= 12; ++m) all += monthLabel(span, m, 2007).value_or("-") + "|";
    return all;
  };
  EXPECT_EQ(labels(3), "07|F|M|A|M|G|L|A|S|O|N|D|");
  EXPECT_EQ(labels(4), "07|F|-|A|-|G|-|A|-|O|-| |");
  EXPECT_EQ(labels(5), "07|-|M|-|-|G|-|-|S|-|-| |");
  EXPECT_EQ(labels(7), "07|-|-|-|-|G|-|-|-|-|-| |");
  EXPECT_EQ(labels(8), " |07|-|-|-|-|-|-|-|-|-| |");
  EXPECT_EQ(labels(20), labels(8));
}

TEST(CompareLabels, YearLabelsSpreadByScreenAndSpan) {
  EXPECT_EQ(yearLabel(2005, 4, labelIndent(5, kWide)), "        2005");
  EXPECT_EQ(yearLabel(2005, 4, labelIndent(5, kNarrow)), "     2005");
  EXPECT_EQ(labelIndent(10, kNarrow), 0);
  EXPECT_EQ(yearLabel(2005, 9, labelIndent(10, kWide)), "  05");
  EXPECT_EQ(yearLabel(2005, 13, 0), "  05");
  EXPECT_EQ(yearLabel(2005, 14, labelIndent(15, kWide)), "05");
  EXPECT_EQ(barLegend(-3.5), " -3,5%");
  EXPECT_EQ(barLegend(12), "   12%");
  EXPECT_EQ(barLegend(-123.45), "-123,45%");
}

// January is before the history's first month in 2001: that year is left out, the later
// years fill the points from the left and the last point stays unwritten.
TEST_F(ComparisonTest, OneMonthLeavesOutYearsOutsideTheHistory) {
  addSeries("MAR", day(15, 3, 2001), day(31, 12, 2016));
  const auto r = compare("MAR", 2001, 2005, 1, true);
  ASSERT_EQ(r.rows.size(), 4u);
  EXPECT_EQ(r.rows[0].year, 2002);
  EXPECT_EQ(r.rows[0].start, "200,01");  // Tuesday 01/01/2002
  EXPECT_EQ(r.rows[0].end, "200,31");
  EXPECT_EQ(r.rows[0].change, 0.15);  // 0.14999... rounded
  EXPECT_EQ(r.chart.title, "GENNAIO");
  EXPECT_EQ(r.chart.type, statind::GraphModel::kBars);
  ASSERT_EQ(r.chart.pointCount, 5);
  EXPECT_EQ(label(r, 0), "        2002");
  EXPECT_EQ(r.chart.points[0].value, 0.15);
  EXPECT_EQ(r.chart.points[0].legend, " 0,15%");
  EXPECT_EQ(label(r, 3), "        2005");
  EXPECT_FALSE(r.chart.points[4].label || r.chart.points[4].value || r.chart.points[4].legend);

  // In the first index month the start is the first index itself, whatever the rule.
  for (auto rule : {statind::StartRule::FirstUseful, statind::StartRule::Previous}) {
    const auto march = compare("MAR", 2001, 2002, 3, false, kWide, rule);
    ASSERT_EQ(march.rows.size(), 2u);
    EXPECT_EQ(march.rows[0].start, "100,15");
    EXPECT_FALSE(march.chart.points[0].legend);  // lines carry no legends
  }
}

TEST_F(ComparisonTest, OneMonthOfASingleYearDrawsNothing) {
  addSeries("MAR", day(15, 3, 2001), day(31, 12, 2016));
  const auto r = compare("MAR", 2003, 2003, 6);
  EXPECT_FALSE(r.chart.drawn);
  EXPECT_EQ(r.chart.pointCount, 0);
  EXPECT_TRUE(r.rows.empty());
}

// A zero start value has no change: the year is listed, its point keeps only its label.
TEST_F(ComparisonTest, ZeroStartValueGivesAnEmptyChange) {
  addSeries("ZER", day(1, 1, 2004), day(31, 12, 2006), [](DayNumber d) {
    return d == day(1, 6, 2005) ? 0.0 : 100.0 + platform::civilDate(d).day;
  });
  const auto r = compare("ZER", 2004, 2006, 6, true);
  ASSERT_EQ(r.rows.size(), 3u);
  EXPECT_EQ(r.rows[1].start, "0,00");
  EXPECT_FALSE(r.rows[1].change);
  EXPECT_EQ(changeText(r.rows[1].change), "");
  EXPECT_EQ(label(r, 1), "          2005");
  EXPECT_FALSE(r.chart.points[1].value || r.chart.points[1].legend);
  EXPECT_EQ(r.rows[2].change, 28.71);  // 101 -> 130 (Thursday 01/06/2006 to Friday 30/06)
  for (const auto& p : r.chart.points) EXPECT_TRUE(!p.value || std::isfinite(*p.value));
}

// A product without a series starts at its rule's value, not at a stale stored record.
TEST_F(ComparisonTest, StartValueOfAProductFixedByRule) {
  addSeries("FIX", day(1, 1, 2004), day(31, 12, 2006));
  dataDb_->execute("UPDATE TabProdotti SET NoIndici = 1 WHERE Codice = 'FIX'");
  const auto r = compare("FIX", 2004, 2006, 5);
  ASSERT_EQ(r.rows.size(), 3u);
  EXPECT_EQ(r.rows[0].start, "1,00");
  EXPECT_EQ(r.rows[0].change, 0.0);
}

TEST_F(ComparisonTest, ProductLoadAndChooser) {
  addSeries("MAR", day(15, 3, 2001), day(31, 12, 2016));
  dataDb_->execute("UPDATE TabProdotti SET Descrizione = 'Fondo marzo' WHERE Codice = 'MAR'");
  auto load = loadProduct(*lookup_, "mar ", 2010, today_);
  ASSERT_TRUE(load);
  EXPECT_EQ(load->years.front(), 2001);
  EXPECT_EQ(load->years.back(), 2016);
  EXPECT_EQ(load->startPosition, 9);
  EXPECT_EQ(load->description, "Fondo marzo");
  EXPECT_EQ(loadProduct(*lookup_, "MAR", 1999, today_)->startPosition, 0);
  dataDb_->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES ('NONE', 0)");
  EXPECT_FALSE(loadProduct(*lookup_, "NONE", 2010, today_));

  dataDb_->execute("INSERT INTO TabGruppi (GrpCodice) VALUES ('A'), ('B')");
  dataDb_->execute(
      "INSERT INTO TabCategorie (Codice, Tipo) VALUES ('OBBLIG', 'O'), ('AZIONARI', 'A'), "
      "('POLIZZE', 'S')");
  dataDb_->execute(
      "UPDATE TabProdotti SET Gruppo = 'A', Categoria = 'OBBLIG', Moneta = 'EUR' "
      "WHERE Codice = 'MAR'");
  dataDb_->execute(
      "INSERT INTO TabProdotti (Codice, Descrizione, Gruppo, Categoria, Moneta) VALUES "
      "('AZ1', 'Azionario', 'B', 'AZIONARI', 'USD'), ('PO1', 'Polizza', 'A', 'POLIZZE', 'EUR')");
  ProductChooser chooser(*dataDb_);
  const auto byCategory = chooser.products("", 3);
  ASSERT_EQ(byCategory.size(), 3u);  // the blank line, then no product of Tipo "S"
  EXPECT_EQ(byCategory[0].line, " ");
  EXPECT_EQ(byCategory[1].code, "AZ1");
  EXPECT_EQ(byCategory[2].line,
            "MAR       Fondo marzo                   A OBBLIG                    EUR");
  EXPECT_EQ(chooser.products(" mar", 3).size(), 2u);
  EXPECT_EQ(ProductChooser::productLine("X", "", "", "", ""),
            "X         ************                                                 ");
}

TEST(CompareSteps, SpinnersAndViewSwitch) {
  EXPECT_EQ(monthStep(0, true), 1);
  EXPECT_EQ(monthStep(12, true), 1);
  EXPECT_EQ(monthStep(0, false), 12);
  EXPECT_EQ(monthStep(1, false), 12);
  EXPECT_EQ(monthStep(5, false), 4);
  EXPECT_EQ(yearStep(0, 3, false), std::nullopt);
  EXPECT_EQ(yearStep(2, 3, true), std::nullopt);
  EXPECT_EQ(yearStep(1, 3, true), 2);
  EXPECT_TRUE(viewSwitched(0, 3));
  EXPECT_TRUE(viewSwitched(3, 0));
  EXPECT_FALSE(viewSwitched(3, 4));
  EXPECT_FALSE(viewSwitched(0, 0));
}

}  // namespace
}  // namespace compare
