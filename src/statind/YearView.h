// The year view of a statistics run: the summary of the year shown and the two years before
// it, two grid rows per month (its name, then start value, end value and changes) and the
// chart of the month starts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "statind/PeriodLookups.h"
#include "statind/PeriodStatistics.h"
#include "statind/PeriodValues.h"

namespace statind {

// A period's start value (by the start rule), its end value and the change between them as the
// window shows it ("#0.000", "0,000" when the start is 0).
struct PeriodChange {
  int month = 0;  // 1..12 for a month, 0 for a whole year
  double start = 0;
  double end = 0;
  std::string change;
};

// The "% mese" of every month of `year` that the history covers, in order: each month measured
// from its first day (not before the first index date) to its last. Storage errors throw
// StoreError.
std::vector<PeriodChange> monthChanges(PeriodValues& values, int year, const ProductRange& range);
// The year's change as its summary slot shows it, from 01/01 (not before the first index date)
// to 31/12; nullopt when the year ends before the history starts.
std::optional<PeriodChange> yearChange(PeriodValues& values, int year, const ProductRange& range);

// Fills result.summary, result.captions, result.rows (the rows to store, in display order),
// result.chart and the period bounds for `params.year`. Storage errors throw StoreError.
void buildYearView(PeriodLookups& lookups, const StatParams& params, StatResult& result);

// Writes start value, end value and their change into `slot`; the change is red when its text
// is negative.
void fillSummaryValues(SummarySlot& slot, double start, double end, const std::string& format);

}  // namespace statind
