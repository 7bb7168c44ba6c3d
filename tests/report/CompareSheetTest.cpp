#include <gtest/gtest.h>

#include "platform/Format.h"
#include "report/CompareSheet.h"

namespace {

// A history from 15/03/2008 to 10/02/2010 compared over 2008-2010: every month plotted in
// order, the first and last year only inside the history.
report::CompareData allMonths() {
  report::CompareData data;
  data.product = "CM1";
  data.description = "Comparato";
  data.valueFormat = "#,###,###,##0.00";
  data.range.firstIndexDate = platform::dayNumber(2008, 3, 15);
  data.range.lastIndexDate = platform::dayNumber(2010, 2, 10);
  data.range.firstYear = 2008, data.range.firstMonth = 3;
  data.range.lastYear = 2010, data.range.lastMonth = 2;
  auto& r = data.result;
  r.fromYear = 2008, r.toYear = 2010;
  for (int i = 0; i < 24; ++i) r.chart.points.push_back({100.0 + i, std::nullopt, std::nullopt});
  r.chart.pointCount = 24;
  r.chart.drawn = true;
  return data;
}

report::SheetOptions options() {
  return {"OPER", platform::dayNumber(2026, 12, 6), "#,###,###,##0.00",
          statind::WindowOptions::restore("11000100", statind::kIndstat1Default, false)};
}

TEST(CompareSheetTest, AllMonthsTableLaysThePlottedPointsByYearAndMonth) {
  const auto sheet = report::comparisonSheet(allMonths(), options());
  EXPECT_EQ(sheet.title, "Statistiche sugli Indici: comparazioni");
  EXPECT_EQ(sheet.facts[2].value, "dal 2008 al 2010, tutti i mesi");
  EXPECT_EQ(sheet.fileStem, "CM1_2008-2010");
  ASSERT_EQ(sheet.tables.size(), 1u);
  const auto& grid = sheet.tables[0];
  EXPECT_EQ(grid.header.size(), 13u);
  EXPECT_EQ(grid.header[1], "GEN");
  ASSERT_EQ(grid.rows.size(), 3u);
  EXPECT_EQ(grid.rows[0][0].text, "2008");
  EXPECT_EQ(grid.rows[0][2].text, "");        // February, before the history
  EXPECT_EQ(grid.rows[0][3].text, "100,00");  // March, the first point
  EXPECT_EQ(grid.rows[1][1].text, "110,00");
  EXPECT_EQ(grid.rows[2][2].text, "123,00");  // February 2010, the last point
  EXPECT_EQ(grid.rows[2][3].text, "");
  ASSERT_TRUE(sheet.chart);
  EXPECT_EQ(sheet.chart->legend, (std::vector<std::string>{"Indice", "Media 111,50"}));
}

TEST(CompareSheetTest, OneMonthListsTheYearsAndOneYearSaysThereIsNothingToCompare) {
  auto data = allMonths();
  auto& r = data.result;
  r.month = 3;
  r.rows = {{2008, "100,00", "90,00", -10.0}, {2009, "0,00", "5,00", std::nullopt}};
  const auto sheet = report::comparisonSheet(data, options());
  EXPECT_EQ(sheet.chart->title, "Variazione % di MARZO");
  EXPECT_EQ(sheet.fileStem, "CM1_2008-2010-03");
  const auto& rows = sheet.tables[0].rows;
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][3].text, "-10,00");
  EXPECT_TRUE(rows[0][3].negative);
  EXPECT_EQ(rows[1][3].text, "");

  r.chart.drawn = false;
  const auto nothing = report::comparisonSheet(data, options());
  EXPECT_FALSE(nothing.chart);
  EXPECT_TRUE(nothing.tables.empty());
  EXPECT_EQ(nothing.facts.back().value, "nessun confronto: un solo anno");
}

}  // namespace
