// The month view of a statistics run: the summary of the month shown in the year shown and in
// the two years before it, one grid row per day with the daily, weekly and 15-day changes, and
// the chart of the days.
#pragma once

#include "statind/PeriodLookups.h"
#include "statind/PeriodStatistics.h"

namespace statind {

// Fills result.summary, result.captions, result.rows (the rows to store, in display order),
// result.chart and the period bounds for `params.month` of `params.year`. Storage errors throw
// StoreError.
void buildMonthView(PeriodLookups& lookups, const StatParams& params, StatResult& result);

// Whether the summary marks `month` of `year` "P": the history starts after the month's first
// business days, or ends inside the month on a working day.
bool partialMonth(int month, int year, const ProductRange& range);

}  // namespace statind
