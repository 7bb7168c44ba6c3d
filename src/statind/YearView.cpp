#include "statind/YearView.h"

#include <algorithm>

#include "statind/PeriodChart.h"
#include "statind/StatText.h"

namespace statind {

using platform::kFriday;
using platform::kMonday;

namespace {

// The mark of a year the history covers only in part.
constexpr char kPartial = 'P';

// The history covers only part of `year`: it starts after the year's first business days or
// ends before its last ones.
bool partialYear(int year, const ProductRange& range) {
  if (year == range.firstYear) {
    const auto first = platform::civilDate(range.firstIndexDate);
    if (range.firstMonth > 1 ||
        (first.day > 2 && platform::weekday(range.firstIndexDate) != kMonday))
      return true;
  }
  if (year == range.lastYear) {
    const auto last = platform::civilDate(range.lastIndexDate);
    if (range.lastMonth < 12 ||
        (last.day < 31 && platform::weekday(range.lastIndexDate) != kFriday))
      return true;
  }
  return false;
}

SummarySlot yearSlot(PeriodLookups& lookups, int year, const ProductRange& range,
                     const std::string& format) {
  SummarySlot slot;
  if (const auto change = yearChange(lookups, year, range)) {
    slot.LbAnno = std::to_string(year);
    fillSummaryValues(slot, change->start, change->end, format);
    slot.LbPerc = '%';
  }
  if (partialYear(year, range)) slot.LbParz = kPartial;
  return slot;
}

void monthRows(PeriodLookups& lookups, const StatParams& params, const std::string& format,
               std::vector<GridRow>& rows) {
  double quarterBase = 0, halfBase = 0;
  for (const PeriodChange& month : monthChanges(lookups, params.year, params.range)) {
    const int m = month.month;
    if (quarterBase == 0) quarterBase = halfBase = month.start;
    rows.push_back(GridRow{monthName(m), "", "", "", ""});
    GridRow row{platform::formatNumber(month.start, format),
                platform::formatNumber(month.end, format), month.change, "", ""};
    if (m % 3 == 1) quarterBase = month.start;
    if (m % 6 == 1) halfBase = month.start;
    if (m % 3 == 0) row.Percento2 = changeText(quarterBase, month.end);
    if (m % 6 == 0) row.Percento3 = changeText(halfBase, month.end);
    rows.push_back(std::move(row));
  }
}

}  // namespace

std::optional<PeriodChange> yearChange(PeriodValues& values, int year, const ProductRange& range) {
  const auto start = std::max(platform::dayNumber(year, 1, 1), range.firstIndexDate);
  const double v1 = values.startValueAt(start);
  const auto end = platform::dayNumber(year, 12, 31);
  if (end < range.firstIndexDate) return std::nullopt;
  const double v2 = values.valueAt(end);
  return PeriodChange{0, v1, v2, changeText(v1, v2)};
}

std::vector<PeriodChange> monthChanges(PeriodValues& values, int year, const ProductRange& range) {
  const MonthSpan span = monthSpan(year, range);
  std::vector<PeriodChange> months;
  for (int m = span.first; m <= span.last; ++m) {
    const auto start = std::max(platform::dayNumber(year, m, 1), range.firstIndexDate);
    const double v1 = values.startValueAt(start);
    const double v2 = values.valueAt(platform::lastDayOfMonth(m, year));
    months.push_back(PeriodChange{m, v1, v2, changeText(v1, v2)});
  }
  return months;
}

void fillSummaryValues(SummarySlot& slot, double start, double end, const std::string& format) {
  slot.LbVal1 = platform::formatNumber(start, format);
  slot.LbVal2 = platform::formatNumber(end, format);
  slot.LbDiff = changeText(start, end);
  slot.LbDiffRed = slot.LbDiff.find('-') != std::string::npos;
}

void buildYearView(PeriodLookups& lookups, const StatParams& params, StatResult& result) {
  const std::string& format = lookups.valueFormat();
  for (int j = 0; j < 3; ++j) {
    const int year = params.year - 2 + j;
    if (year > 0) result.summary[j] = yearSlot(lookups, year, params.range, format);
  }
  result.captions = {std::to_string(params.year), kValueCaption, "% mese", "% trim.", "% sem."};
  monthRows(lookups, params, format, result.rows);
  result.chart = yearSeries(lookups, params.year, params.range);
  const MonthSpan span = monthSpan(params.year, params.range);
  result.periodFirst =
      std::max(platform::dayNumber(params.year, span.first, 1), params.range.firstIndexDate);
  result.periodLast = platform::lastDayOfMonth(span.last, params.year);
}

}  // namespace statind
