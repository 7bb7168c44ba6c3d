// The year view of a statistics run: the summary of the year shown and the two years before
// it, two grid rows per month (its name, then start value, end value and changes) and the
// chart of the month starts.
#pragma once

#include "statind/PeriodLookups.h"
#include "statind/PeriodStatistics.h"

namespace statind {

// Fills result.summary, result.captions, result.rows (the rows to store, in display order),
// result.chart and the period bounds for `params.year`. Storage errors throw StoreError.
void buildYearView(PeriodLookups& lookups, const StatParams& params, StatResult& result);

// Writes start value, end value and their change into `slot`; the change is red when its text
// is negative.
void fillSummaryValues(SummarySlot& slot, double start, double end, const std::string& format);

}  // namespace statind
