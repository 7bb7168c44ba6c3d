// The demo installation's index database with the hard cases added, and the comparison of the
// lookups made record by record on one store with the same lookups answered from series read
// once on another store: every value equal, in the same order, so that both delete the same.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "indexdata/SeriesCursor.h"
#include "platform/Format.h"
#include "platform/Store.h"
#include "support/TempFolder.h"
#include "utilities/DemoInstallation.h"

namespace testsupport {

class DemoIndex {
 public:
  struct Stats {
    long long lookups = 0, deleted = 0, answered = 0, passedOn = 0;
  };

  using Extra = std::vector<std::tuple<std::string, std::string, platform::Value>>;
  // `more` records are added to the hard cases.
  explicit DemoIndex(const Extra& more = {}) {
    utilities::DemoParams params{folder.file("demo"), platform::dayNumber(2026, 12, 6)};
    result = utilities::DemoInstallation::make(params);
    indexPath = result.baseFolder + "/IndiciDV.mdb";
    dataDb = platform::Database::open(result.baseFolder + "/DEMO/DatiDV.mdb");
    auto index = platform::Database::open(indexPath);
    // Null values, zeros before 1900 and among Nulls, a 999999 beside a zero, and a code that
    // only differs by a leading blank (it sorts just before its look-alike).
    Extra extra = {
        {"ZERI", "1899-06-30", 0.0},
        {"ZERI", "1899-07-03", platform::Value{}},
        {"ZERI", "2016-05-09", platform::Value{}},
        {"ZERI", "2016-05-10", 0.0},
        {"ZERI", "2016-05-11", platform::Value{}},
        {"ERR999", "2014-06-12", 0.0},
        {" MID2009", "2008-12-30", 4.5},
        {" MID2009", "2009-01-02", 0.0},
        {"FISSO", "1890-01-01", 3.0}};
    extra.insert(extra.end(), more.begin(), more.end());
    platform::Database::Transaction transaction(*index);
    for (const auto& [code, date, value] : extra)
      index->execute("INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES (?1,?2,?3)",
                     {code, date, value});
    transaction.commit();
    initialCount_ = contents(*index).size();
  }

  // Every record, in a stable order, as text.
  static std::vector<std::string> contents(platform::Database& db) {
    std::vector<std::string> lines;
    for (const auto& row :
         db.snapshot("SELECT IndProdotto, IndData, IndValoreMon FROM Indici ORDER BY 1, 2, 3"))
      lines.push_back(platform::valueText(row.at(0)) + "|" + platform::valueText(row.at(1)) + "|" +
                      platform::valueText(row.at(2)));
    return lines;
  }

  // For every product and several runs (three years each), the lookups of dates inside, around
  // and far outside the run's span, record by record on `pointTable` (on this demo's own file)
  // and from the run's series on `seriesTable`. Expects every answer equal; `deleted` counts the
  // records the lookups deleted from the demo's file.
  Stats compare(platform::SeekCursor& pointTable, platform::SeekCursor& seriesTable) {
    Stats stats;
    const std::string format = "#,###,###,##0.00";
    indexdata::IndexLookup point(*dataDb, pointTable, format);
    std::vector<std::string> codes;
    for (const auto& product : result.products) codes.push_back(product.code);
    codes.push_back("zeri");  // another case
    codes.push_back("NESSUNO");
    for (const auto& code : codes) {
      for (const int year : {1999, 2003, 2009, 2012, 2014, 2016, 2018, 2026}) {
        const auto from = platform::dayNumber(year - 2, 1, 1);
        const auto to = platform::dayNumber(year, 12, 31);
        const auto hold = seriesTable.hold();
        indexdata::SeriesCursor series(seriesTable, code, platform::isoDate(from - 1),
                                       platform::isoDate(to), "2199-12-31");
        indexdata::IndexLookup run(*dataDb, series, format, true);
        std::vector<platform::DayNumber> dates;
        for (auto d = from - 400; d <= to + 400; d += 31) dates.push_back(d);
        for (const auto d : {0, 1, 2, 3, 100, 109573, 109574, 109575, -700})
          dates.push_back(static_cast<platform::DayNumber>(d));
        for (const auto& [y, m, d] : {std::tuple{2012, 3, 14},
                                      {2012, 3, 16},
                                      {2018, 11, 7},
                                      {2014, 6, 11},
                                      {2014, 6, 12},
                                      {2016, 5, 12},
                                      {1899, 7, 1},
                                      {2009, 1, 5},
                                      {2009, 4, 15},
                                      {2016, 9, 30}})
          dates.push_back(platform::dayNumber(y, m, d));
        for (const auto date : dates) {
          SCOPED_TRACE(code + " " + platform::isoDate(date) + " run " + std::to_string(year));
          ++stats.lookups;
          EXPECT_EQ(point.indexValueAt(code, date), run.indexValueAt(code, date));
        }
        stats.answered += series.answered();
        stats.passedOn += series.passedOn();
      }
    }
    auto index = platform::Database::open(indexPath);
    stats.deleted = static_cast<long long>(initialCount_ - contents(*index).size());
    return stats;
  }

  TempFolder folder;
  utilities::DemoResult result;
  std::string indexPath;
  std::unique_ptr<platform::Database> dataDb;

 private:
  std::size_t initialCount_ = 0;
};

}  // namespace testsupport
