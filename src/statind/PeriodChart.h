// The chart series of a statistics run: the index at each month start of the year shown plus a
// closing point, or at each day of the month shown.
#pragma once

#include "statind/PeriodLookups.h"
#include "statind/PeriodStatistics.h"

namespace statind {

// Year view: one point per month of `year` covered by `range` (its start, not before the first
// index date), labelled "GEN".."DIC", then a closing point at the last month's end labelled "".
ChartSeries yearSeries(PeriodLookups& lookups, int year, const ProductRange& range);
// Month view: one point per day from `first` to `last` (same month), labelled with the day of
// the month. A single day still declares two points (the chart's minimum); the second stays
// unwritten. An empty period (last before first) declares two unwritten points.
ChartSeries monthSeries(PeriodLookups& lookups, platform::DayNumber first,
                        platform::DayNumber last);

// The months of `year` that the run covers: from the first index month in the first year, to
// the last index month in the last year, January to December otherwise.
struct MonthSpan {
  int first = 1;
  int last = 12;
};
MonthSpan monthSpan(int year, const ProductRange& range);

}  // namespace statind
