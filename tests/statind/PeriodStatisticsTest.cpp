#include <stdexcept>

#include "statind/StatFixture.h"

namespace statind::testing {
namespace {

// A grid row as "Data|indice|Percento1|Percento2|Percento3".
std::string cells(const GridRow& row) {
  return row.Data + "|" + row.indice + "|" + row.Percento1 + "|" + row.Percento2 + "|" +
         row.Percento3;
}

class PeriodStatisticsTest : public StatFixture {};

// A history from Wednesday 15/04/2009: the year starts in April, quarter and half-year changes
// are measured from the first month listed and the 2009 slot is partial.
TEST_F(PeriodStatisticsTest, YearViewOfAHistoryStartingMidApril) {
  addSeries("APR", day(15, 4, 2009), day(31, 12, 2010));
  auto r = run("APR", 2009, 0);
  EXPECT_TRUE(r.yearView);
  ASSERT_EQ(r.rows.size(), 18u);
  EXPECT_EQ(cells(r.rows[0]), "APRILE||||");
  EXPECT_EQ(cells(r.rows[1]), "100,15|100,30|0,150||");
  EXPECT_EQ(cells(r.rows[5]), "120,01|120,30|0,242|20,120|20,120");
  EXPECT_EQ(r.rows[11].Percento2, "15,606");  // September, from July's start
  EXPECT_EQ(r.rows[17].Percento3, "38,689");  // December, from July's start
  for (std::size_t i = 0; i < r.rows.size(); i += 2) {
    const int month = 4 + static_cast<int>(i) / 2;
    EXPECT_EQ(r.rows[i].Percento1, "") << month;
    EXPECT_EQ(r.rows[i + 1].Percento2.empty(), month % 3 != 0) << month;
    EXPECT_EQ(r.rows[i + 1].Percento3.empty(), month % 6 != 0) << month;
  }

  const auto& s = r.summary[2];
  EXPECT_EQ(s.LbAnno, "2009");
  EXPECT_EQ(s.LbVal1, "100,15");
  EXPECT_EQ(s.LbVal2, "180,31");
  EXPECT_EQ(s.LbDiff, "80,040");
  EXPECT_FALSE(s.LbDiffRed);
  EXPECT_EQ(s.LbPerc, "%");
  EXPECT_EQ(s.LbParz, "P");
  for (int j : {0, 1})
    EXPECT_EQ(r.summary[j].LbAnno + r.summary[j].LbVal1 + r.summary[j].LbDiff +
                  r.summary[j].LbPerc + r.summary[j].LbParz,
              "");
  EXPECT_EQ(r.captions,
            (std::array<std::string, 5>{"2009", "indice", "% mese", "% trim.", "% sem."}));

  ASSERT_EQ(r.chart.pointCount, 10);
  EXPECT_EQ(r.chart.points[0].label, "APR");
  EXPECT_EQ(r.chart.points[0].value, 100.15);
  EXPECT_EQ(r.chart.points[1].value, 110.01);
  EXPECT_EQ(r.chart.points[8].label, "DIC");
  EXPECT_EQ(r.chart.points[9].label, "");
  EXPECT_EQ(r.chart.points[9].value, 180.31);
}

TEST_F(PeriodStatisticsTest, QuarterOfAYearStartingInMayIsMeasuredFromMay) {
  addSeries("MAG", day(13, 5, 2009), day(31, 12, 2010));
  auto r = run("MAG", 2009, 0);
  ASSERT_EQ(r.rows.size(), 16u);
  EXPECT_EQ(r.rows[3].Percento2, "10,157");
  EXPECT_EQ(r.rows[3].Percento3, "10,157");
}

// Partial marks of the year slots: the history's first and last year, by month and weekday.
TEST_F(PeriodStatisticsTest, YearSlotsArePartialWhenTheHistoryMissesBusinessDays) {
  struct Case {
    DayNumber first, last;
    int year, slot;
    const char* parz;
  } cases[] = {
      {day(2, 1, 2009), day(31, 12, 2010), 2010, 1, ""},   // Friday the 2nd
      {day(5, 1, 2009), day(31, 12, 2010), 2010, 1, ""},   // a Monday
      {day(7, 1, 2009), day(31, 12, 2010), 2010, 1, "P"},  // a Wednesday
      {day(2, 1, 2009), day(31, 12, 2010), 2010, 2, ""},
      {day(2, 1, 2009), day(30, 12, 2011), 2011, 2, ""},   // ends on the last Friday
      {day(2, 1, 2009), day(30, 12, 2010), 2010, 2, "P"},  // ends on a Thursday
      {day(2, 1, 2009), day(16, 6, 2010), 2010, 2, "P"},   // ends in June
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string code = std::string("P") + std::to_string(++n);
    addSeries(code, c.first, c.last);
    EXPECT_EQ(run(code, c.year, 0).summary[c.slot].LbParz, c.parz) << code;
  }
}

TEST_F(PeriodStatisticsTest, MonthSlotsArePartialByTheExpectedFirstDay) {
  struct Case {
    DayNumber first;
    int month, year;
    const char* parz;
  } cases[] = {
      {day(3, 5, 2010), 5, 2010, ""},   // Monday 3rd: May may start on the 2nd
      {day(5, 5, 2010), 5, 2010, "P"},  // a Wednesday
      {day(4, 1, 2010), 1, 2010, ""},   // Monday the 4th
      {day(7, 1, 2010), 1, 2010, "P"},  // beyond h + 2
      {day(2, 6, 2010), 6, 2010, "P"},  // June must start on the 1st
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string code = std::string("M") + std::to_string(++n);
    addSeries(code, c.first, day(31, 12, 2011));
    auto r = run(code, c.year, c.month);
    EXPECT_EQ(r.summary[2].LbParz, c.parz) << code;
    EXPECT_EQ(r.summary[1].LbParz + r.summary[1].LbAnno + r.summary[0].LbVal1, "") << code;
  }
}

TEST_F(PeriodStatisticsTest, MonthViewDailyWeeklyAndFifteenDayChanges) {
  addSeries("APR", day(15, 4, 2009), day(31, 12, 2010));
  auto r = run("APR", 2009, 6);
  EXPECT_FALSE(r.yearView);
  ASSERT_EQ(r.rows.size(), 30u);
  EXPECT_EQ(cells(r.rows[0]), "01 Lun|120,01|||");
  EXPECT_EQ(cells(r.rows[1]), "02 Mar|120,02|0,008||");
  EXPECT_EQ(cells(r.rows[5]), "06 S  ||||");
  EXPECT_EQ(cells(r.rows[6]), "07 D  |||0,033|");
  EXPECT_EQ(cells(r.rows[14]), "15 Lun|120,15|0,025||0,117");
  EXPECT_EQ(cells(r.rows[20]), "21 D  |||0,033|");
  EXPECT_EQ(r.summary[2].LbAnno, "GIU '09");
  EXPECT_EQ(r.summary[2].LbVal2, "120,30");
  EXPECT_EQ(r.summary[2].LbPerc, "");
  EXPECT_EQ(r.captions,
            (std::array<std::string, 5>{"GIUGNO", "indice", "% giorn.", "% sett.", "% 15 gg"}));
  EXPECT_EQ(r.periodFirst, day(1, 6, 2009));
  EXPECT_EQ(r.periodLast, day(30, 6, 2009));
  ASSERT_EQ(r.chart.pointCount, 30);
  EXPECT_EQ(r.chart.points[0].label, "1");
  EXPECT_EQ(r.chart.points[5].value, 120.05);  // Saturday: the Friday before
}

TEST_F(PeriodStatisticsTest, MonthWithoutRecordsShowsNoValuesAndZeroChanges) {
  addSeries("GAP", day(15, 4, 2009), day(31, 12, 2010), {},
            [](DayNumber d) { return platform::civilDate(d).month == 8; });
  auto r = run("GAP", 2009, 8);
  ASSERT_EQ(r.rows.size(), 31u);
  EXPECT_EQ(r.rows[0].Data, "01 S  ");
  for (const auto& row : r.rows) {
    const int d = std::stoi(row.Data.substr(0, 2));
    EXPECT_EQ(row.indice + row.Percento1, "") << d;
    EXPECT_EQ(row.Percento2, d % 7 == 2 ? "0,000" : "") << d;  // Sundays 2, 9, 16...
    EXPECT_EQ(row.Percento3, d == 15 ? "0,000" : "") << d;
  }
}

// "1° indice utile" takes the first record on or after the period's start, "indice
// precedente" the lookup on the start day: they differ only when the start has no record.
TEST_F(PeriodStatisticsTest, StartRulesDifferOnlyWithoutARecordOnTheFirstDay) {
  addSeries("APR", day(15, 4, 2009), day(31, 12, 2010));
  struct Case {
    int month;
    StartRule rule;
    const char* start;
  } cases[] = {
      {6, StartRule::FirstUseful, "120,01"},
      {6, StartRule::Previous, "120,01"},
      {8, StartRule::FirstUseful, "140,03"},  // Saturday 1st: Monday's value
      {8, StartRule::Previous, "130,31"},     // ... or Friday's
  };
  for (const auto& c : cases)
    EXPECT_EQ(run("APR", 2009, c.month, c.rule).summary[2].LbVal1, c.start) << c.month;
}

TEST_F(PeriodStatisticsTest, ProductsFixedByRuleShowNoChangeUnderEitherStartRule) {
  addSeries("NOIND", day(2, 1, 2009), day(31, 12, 2010));
  dataDb_->execute("UPDATE TabProdotti SET NoIndici = 1 WHERE Codice = 'NOIND'");
  addSeries("FISSO", day(2, 1, 2009), day(31, 12, 2010));
  addRecord("FISSO", platform::kFixedValueDate, 7.5);
  for (auto rule : {StartRule::FirstUseful, StartRule::Previous}) {
    const auto noSeries = run("NOIND", 2010, 0, rule).summary[2];
    EXPECT_EQ(noSeries.LbVal1 + " " + noSeries.LbVal2 + " " + noSeries.LbDiff, "1,00 1,00 0,000");
    const auto fixed = run("FISSO", 2010, 3, rule).summary[2];
    EXPECT_EQ(fixed.LbVal1 + " " + fixed.LbVal2 + " " + fixed.LbDiff, "7,50 7,50 0,000");
  }
}

// The day rows agree with the summary and the chart: a record is read as the lookup reads it.
TEST_F(PeriodStatisticsTest, MonthViewRowsReadTheirRecordsByTheLookupsRules) {
  addSeries("FISSO", day(2, 1, 2009), day(31, 12, 2010));
  addRecord("FISSO", platform::kFixedValueDate, 7.5);
  addSeries("NOIND", day(2, 1, 2009), day(31, 12, 2010));
  dataDb_->execute("UPDATE TabProdotti SET NoIndici = 1 WHERE Codice = 'NOIND'");
  addSeries("ERR", day(2, 1, 2009), day(31, 12, 2010),
            [](DayNumber d) { return d == day(3, 3, 2010) ? 999999 : 13.5; });
  const auto fixed = run("FISSO", 2010, 3);
  EXPECT_EQ(cells(fixed.rows[0]), "01 Lun|7,50|||");
  EXPECT_EQ(cells(fixed.rows[5]), "06 S  ||||");
  EXPECT_EQ(cells(fixed.rows[6]), "07 D  |||0,000|");
  for (const auto& row : run("NOIND", 2010, 3).rows) EXPECT_EQ(row.indice + row.Percento1, "");
  const auto error = run("ERR", 2010, 3);
  EXPECT_EQ(cells(error.rows[1]), "02 Mar|13,50|||");
  EXPECT_EQ(cells(error.rows[2]), "03 Mer||||");  // 999999 reads as 1: no value that day
  EXPECT_EQ(cells(error.rows[3]), "04 Gio|13,50|||");
}

TEST_F(PeriodStatisticsTest, NegativeChangeIsRedAndNoChangeIsBlack) {
  const DayNumber first = day(2, 1, 2009);
  addSeries("DOWN", first, day(31, 12, 2010), [&](DayNumber d) { return 200 - (d - first) * 0.1; });
  // A first value a hair above the rest: a change that rounds to zero is never "-0,000".
  addSeries("FLAT", first, day(31, 12, 2010),
            [&](DayNumber d) { return d == first || d == day(4, 5, 2009) ? 100.000001 : 100.0; });
  auto down = run("DOWN", 2010, 0).summary[2];
  EXPECT_EQ(down.LbDiff.front(), '-');
  EXPECT_TRUE(down.LbDiffRed);
  auto flat = run("FLAT", 2009, 0).summary[2];
  EXPECT_EQ(flat.LbDiff, "0,000");
  EXPECT_FALSE(flat.LbDiffRed);
  auto may = run("FLAT", 2009, 5);
  EXPECT_EQ(may.rows[4].Percento1, "");  // Tuesday 5th: -0.000001 % is no change
}

TEST_F(PeriodStatisticsTest, HistoryEndingEarlyStopsAtItsLastMonthAndDay) {
  addSeries("END", day(2, 1, 2009), day(16, 6, 2010));
  auto range = productRange(*lookup_, "END", today_);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->lastIndexDate, day(16, 6, 2010));
  EXPECT_EQ(range->years(), (std::vector<int>{2009, 2010}));

  auto year = run("END", 2010, 0);
  EXPECT_EQ(year.rows.size(), 12u);
  ASSERT_EQ(year.chart.pointCount, 7);
  EXPECT_EQ(year.chart.points[6].label, "");
  EXPECT_EQ(year.chart.points[6].value, 270.16);

  auto month = run("END", 2010, 6);
  EXPECT_EQ(month.rows.size(), 16u);
  EXPECT_EQ(month.periodLast, day(16, 6, 2010));
  EXPECT_EQ(month.summary[2].LbParz, "P");
}

TEST_F(PeriodStatisticsTest, SingleDayPeriodDeclaresTwoPointsAndWritesOne) {
  addSeries("LAST", day(31, 5, 2010), day(31, 12, 2010));
  auto r = run("LAST", 2010, 5);
  ASSERT_EQ(r.rows.size(), 1u);
  ASSERT_EQ(r.chart.pointCount, 2);
  EXPECT_EQ(r.chart.points[0].label, "31");
  EXPECT_TRUE(r.chart.points[0].value.has_value());
  EXPECT_FALSE(r.chart.points[1].label || r.chart.points[1].value);
}

TEST_F(PeriodStatisticsTest, ProductRangeNeedsARecordOfTheProductAfterEarly1900) {
  addSeries("OTHER", day(2, 1, 2009), day(31, 12, 2009));
  addRecord("OLD", day(1, 1, 1900), 5);
  EXPECT_FALSE(productRange(*lookup_, "NONE", today_));
  EXPECT_FALSE(productRange(*lookup_, "OLD", today_));
  auto range = productRange(*lookup_, " other ", today_);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->firstIndexDate, day(2, 1, 2009));
  EXPECT_EQ(range->lastMonth, 12);
}

// A failed run leaves the previous run's rows and switches the wait pointer off.
TEST_F(PeriodStatisticsTest, FailedRunKeepsThePreviousRowsAndResetsTheWaitPointer) {
  addSeries("APR", day(15, 4, 2009), day(31, 12, 2010));
  const auto before = run("APR", 2009, 0).rows;
  workDb_->execute(
      "CREATE TRIGGER refuse BEFORE INSERT ON WkStatInd WHEN NEW.Data = '05 Ven' "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  EXPECT_THROW(run("APR", 2009, 6), platform::StoreError);
  EXPECT_FALSE(desktop_.waitCursor);
  EXPECT_EQ(desktop_.waitCursorOnCount, 2);

  auto stored = workDb_->snapshot("SELECT Data, indice FROM WkStatInd ORDER BY rowid");
  ASSERT_EQ(stored.size(), before.size());
  for (std::size_t i = 0; i < stored.size(); ++i)
    EXPECT_EQ(platform::valueText(stored[i]["Data"]), before[i].Data);

  StatContext context{*lookup_, *workDb_, desktop_};
  EXPECT_THROW(
      runStatistics(context, StatParams{" ", 2009, 0, StartRule::FirstUseful, ProductRange{}}),
      std::invalid_argument);
  EXPECT_EQ(workDb_->snapshot("SELECT * FROM WkStatInd").size(), before.size());
}

}  // namespace
}  // namespace statind::testing
