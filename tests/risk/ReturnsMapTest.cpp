#include "risk/ReturnsMap.h"

#include <gtest/gtest.h>

#include "statind/StatFixture.h"
#include "utilities/DemoIndexSeries.h"
#include "utilities/DemoInstallation.h"
#include "utilities/IndexWriter.h"

namespace {

using statind::testing::day;

// The demo's ZERI: daily values since 2002, with zero records in March 2012 and November 2018.
class ReturnsMapOfADemoProduct : public statind::testing::StatFixture {
 protected:
  void SetUp() override {
    StatFixture::SetUp();
    today_ = day(18, 6, 2025);
    for (const auto& product : utilities::DemoCatalogue::products()) {
      if (product.code != "ZERI") continue;
      dataDb_->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES ('ZERI', 0)");
      platform::Database::Transaction tx(*indexDb_);
      utilities::IndexWriter writer(indexDb_->engine());
      utilities::DemoIndexSeries(day(17, 6, 2025), utilities::kDemoSeed).write(product, writer);
      tx.commit();
    }
  }

  risk::ReturnsMap map(statind::StartRule rule) {
    auto series = risk::IndexSeries::read(*lookup_, "ZERI", rule);
    return risk::returnsMap(series, *statind::productRange(*lookup_, "ZERI", today_));
  }

  std::int64_t zeroRecords() {
    return std::get<std::int64_t>(
        indexDb_->snapshot("SELECT COUNT(*) FROM Indici WHERE IndValoreMon = 0").at(0).at(0));
  }
};

TEST_F(ReturnsMapOfADemoProduct, CellsAreTheYearViewsMonthlyChanges) {
  const auto rules = {statind::StartRule::FirstUseful, statind::StartRule::Previous};
  std::vector<risk::ReturnsMap> maps;
  for (auto rule : rules) maps.push_back(map(rule));
  ASSERT_EQ(zeroRecords(), 3);  // the maps only read; the year views below may delete
  for (auto rule : rules) {
    const risk::ReturnsMap& shown = maps[rule == statind::StartRule::Previous];
    ASSERT_EQ(shown.years.size(), 24u);
    for (const auto& row : shown.years) {
      const statind::StatResult view = run("ZERI", row.year, 0, rule);
      EXPECT_EQ(row.yearText, view.summary[2].LbDiff) << row.year;
      std::size_t r = 1;  // value rows follow each month-name row
      for (int m = 1; m <= 12; ++m) {
        const risk::MonthCell& cell = row.months[m - 1];
        if (!cell.change) continue;
        ASSERT_LT(r, view.rows.size()) << row.year;
        EXPECT_EQ(cell.text, view.rows[r].Percento1) << m << "/" << row.year;
        EXPECT_EQ(platform::formatNumber(*cell.change, "#0.000"), cell.text);
        r += 2;
      }
      EXPECT_EQ(r - 1, view.rows.size()) << row.year;
    }
  }
  const risk::ReturnsMap& last = maps.front();
  EXPECT_FALSE(last.years.front().months[0].partial);  // from Wednesday 02/01/2002
  EXPECT_FALSE(last.years.back().months[6].change);    // after it
  EXPECT_TRUE(last.years.back().months[5].partial);    // ends on Tuesday 17/06/2025
  EXPECT_FALSE(last.years.back().months[4].partial);
}

}  // namespace
