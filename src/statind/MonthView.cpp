#include "statind/MonthView.h"

#include <algorithm>

#include "statind/PeriodChart.h"
#include "statind/StatText.h"
#include "statind/YearView.h"

namespace statind {

using platform::kFriday;
using platform::kMonday;
using platform::kSunday;

namespace {

// The mark of a period the history covers only in part.
constexpr char kPartial = 'P';

struct Period {
  platform::DayNumber first = 0;
  platform::DayNumber last = 0;
};

// The first business day a month can start on: the 2nd after a New Year, Labour Day or All
// Saints' Day, the 1st otherwise.
int expectedFirstDay(int month) {
  return month == 1 || month == 5 || month == 11 ? 2 : 1;
}

// One summary slot; returns the period it covers (before the history's start: clamped to it).
Period monthSlot(PeriodLookups& lookups, int month, int year, const ProductRange& range,
                 SummarySlot& slot) {
  Period period{platform::dayNumber(year, month, 1), platform::lastDayOfMonth(month, year)};
  if (partialMonth(month, year, range)) slot.LbParz = kPartial;
  period.first = std::max(period.first, range.firstIndexDate);
  const double v1 = lookups.startValueAt(period.first);
  period.last = std::min(period.last, range.lastIndexDate);
  if (period.last < range.firstIndexDate) {
    slot.LbParz = "";
    return period;
  }
  const double v2 = lookups.valueAt(period.last);
  slot.LbAnno = monthAbbreviation(month) + " '" + std::to_string(year % 100 + 100).substr(1);
  fillSummaryValues(slot, v1, v2, lookups.valueFormat());
  return period;
}

// Rows of the days from period.first to period.last, each change measured on the day's own
// value or, without one, the last value met.
void dayRows(PeriodLookups& lookups, Period period, std::vector<GridRow>& rows) {
  const std::string& format = lookups.valueFormat();
  double current = lookups.valueAt(period.first);
  double previous = current, weekBase = current, halfMonthBase = current;
  for (auto date = period.first; date <= period.last; ++date) {
    const int weekday = platform::weekday(date);
    const int day = platform::civilDate(date).day;
    GridRow row{platform::formatDate(date, "dd") + " " + dayName(weekday), "", "", "", ""};
    if (auto own = lookups.ownValueOn(date)) {
      current = *own;
      row.indice = platform::formatNumber(current, format);
    }
    if (weekday == kMonday) weekBase = current;
    if (day == 15) row.Percento3 = changeText(halfMonthBase, current);
    if (day == 16) halfMonthBase = current;
    if (weekday == kSunday) row.Percento2 = changeText(weekBase, current);
    if (previous == 0) {
      row.Percento1 = changeText(previous, current);
    } else {
      // Rounded first, so that a change too small to show leaves the cell empty.
      double change = platform::roundThrough((current - previous) * 100 / previous, "#0.000");
      if (change != 0) row.Percento1 = platform::formatNumber(change, "#0.000");
    }
    previous = current;
    rows.push_back(std::move(row));
  }
}

}  // namespace

bool partialMonth(int month, int year, const ProductRange& range) {
  bool partial = false;
  if (platform::dayNumber(year, month, 1) < range.firstIndexDate) {
    const int h = expectedFirstDay(month);
    const int day = platform::civilDate(range.firstIndexDate).day;
    partial = day > h + 2 || (day > h && platform::weekday(range.firstIndexDate) != kMonday);
  }
  if (platform::lastDayOfMonth(month, year) > range.lastIndexDate)
    partial = platform::weekday(range.lastIndexDate) <= kFriday || partial;
  return partial;
}

void buildMonthView(PeriodLookups& lookups, const StatParams& params, StatResult& result) {
  Period shown;
  for (int j = 2; j >= 0; --j) {
    const int year = params.year - 2 + j;
    if (year <= 0) continue;
    Period period = monthSlot(lookups, params.month, year, params.range, result.summary[j]);
    if (j == 2) shown = period;
  }
  result.captions = {monthName(params.month), kValueCaption, "% giorn.", "% sett.", "% 15 gg"};
  result.periodFirst = shown.first;
  result.periodLast = shown.last;
  if (shown.last < shown.first) {
    result.chart = ChartSeries{2, std::vector<ChartPoint>(2)};
    return;
  }
  dayRows(lookups, shown, result.rows);
  result.chart = monthSeries(lookups, shown.first, shown.last);
}

}  // namespace statind
