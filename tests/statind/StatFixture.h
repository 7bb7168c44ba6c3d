// A small installation for statistics tests: data, index and work databases in a temporary
// folder, the index lookup over them, and series writers for Indici.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "platform/ScriptedDesktop.h"
#include "platform/Store.h"
#include "statind/PeriodStatistics.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

namespace statind::testing {

using platform::DayNumber;

inline DayNumber day(int d, int m, int y) {
  return platform::dayNumber(y, m, d);
}

// The test series: 100 + 10 per month since the history's first month + day of month / 100,
// so that every figure can be read off the date.
inline double seriesValue(DayNumber first, DayNumber date) {
  const auto a = platform::civilDate(first), b = platform::civilDate(date);
  return 100 + 10 * ((b.year - a.year) * 12 + b.month - a.month) + b.day / 100.0;
}

class StatFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    utilities::createDataDb(folder_.file("DatiDV.mdb"));
    utilities::createIndexDb(folder_.file("IndiciDV.mdb"));
    utilities::createWorkDb(folder_.file("WorkDV.mdb"));
    dataDb_ = platform::Database::open(folder_.file("DatiDV.mdb"));
    indexDb_ = platform::Database::open(folder_.file("IndiciDV.mdb"));
    workDb_ = platform::Database::open(folder_.file("WorkDV.mdb"));
    indexTable_ = indexDb_->openTable("Indici");
    indexTable_->setIndex("primaria");
    lookup_ = std::make_unique<indexdata::IndexLookup>(*dataDb_, *indexTable_, "#,###,###,##0.00");
  }

  // Business days (Monday to Friday) from `first` to `last`, valued by `value` (default: the
  // test series), skipping the days `skip` says.
  void addSeries(const std::string& code, DayNumber first, DayNumber last,
                 std::function<double(DayNumber)> value = {},
                 std::function<bool(DayNumber)> skip = {}) {
    dataDb_->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES (?1, 0)", {code});
    platform::Database::Transaction tx(*indexDb_);
    for (auto d = first; d <= last; ++d) {
      if (platform::weekday(d) > 5 || (skip && skip(d))) continue;
      double v = value ? value(d) : seriesValue(first, d);
      addRecord(code, d, v);
    }
    tx.commit();
  }

  void addRecord(const std::string& code, DayNumber date, double value) {
    indexDb_->execute("INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES (?1,?2,?3)",
                      {code, platform::isoDate(date), value});
  }

  StatResult run(const std::string& code, int year, int month,
                 StartRule rule = StartRule::FirstUseful) {
    auto range = productRange(*lookup_, code, today_);
    EXPECT_TRUE(range.has_value()) << code;
    StatContext context{*lookup_, *workDb_, desktop_};
    return runStatistics(context,
                         StatParams{code, year, month, rule, range.value_or(ProductRange{})});
  }

  testsupport::TempFolder folder_;
  std::unique_ptr<platform::Database> dataDb_, indexDb_, workDb_;
  std::unique_ptr<platform::TableCursor> indexTable_;
  std::unique_ptr<indexdata::IndexLookup> lookup_;
  platform::ScriptedDesktop desktop_;
  DayNumber today_ = day(1, 3, 2012);
};

}  // namespace statind::testing
