// The statistics run: compute the period's figures, store the grid rows, read them back.
#include "statind/PeriodStatistics.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "indexdata/Helpers.h"
#include "statind/MonthView.h"
#include "statind/PeriodLookups.h"
#include "statind/WorkTable.h"
#include "statind/YearView.h"

namespace statind {

std::string startRuleCaption(StartRule rule) {
  return rule == StartRule::Previous ? "indice precedente" : "1° indice utile";
}

namespace {

// The days a run looks up: the three years of a year view, the month of three years of a month
// view (a lookup may still go outside them, to the value before or after).
std::pair<platform::DayNumber, platform::DayNumber> runSpan(const StatParams& params) {
  const int firstYear = std::max(params.year - 2, 1);
  if (params.month <= 0)
    return {platform::dayNumber(firstYear, 1, 1), platform::dayNumber(params.year, 12, 31)};
  return {platform::dayNumber(firstYear, params.month, 1),
          platform::lastDayOfMonth(params.month, params.year)};
}

}  // namespace

StatResult runStatistics(StatContext& context, const StatParams& params) {
  if (trimmed(params.product).empty())
    throw std::invalid_argument("runStatistics: no product chosen");
  if (params.month > 12) throw std::invalid_argument("runStatistics: no such month");
  indexdata::WaitScope wait(context.desktop);
  // Each file is locked once for the run rather than once per statement.
  platform::Database::ReadScope dataScope(context.lookup.dataDb());
  const auto indexHold = context.lookup.indexTable().hold();
  const auto [first, last] = runSpan(params);
  PeriodLookups lookups(context.lookup, params.product, params.startRule, first, last);

  StatResult result;
  result.yearView = params.month <= 0;
  if (result.yearView)
    buildYearView(lookups, params, result);
  else
    buildMonthView(lookups, params, result);

  // The rows are stored only once every figure is known, so that a failed run leaves the
  // previous run's rows in place rather than half a table.
  result.rows = WorkTable(context.workDb).replace(result.rows);
  return result;
}

}  // namespace statind
