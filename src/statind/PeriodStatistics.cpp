// The statistics run: compute the period's figures, store the grid rows, read them back.
#include "statind/PeriodStatistics.h"

#include <stdexcept>

#include "indexdata/Helpers.h"
#include "statind/MonthView.h"
#include "statind/PeriodLookups.h"
#include "statind/WorkTable.h"
#include "statind/YearView.h"

namespace statind {

StatResult runStatistics(StatContext& context, const StatParams& params) {
  if (trimmed(params.product).empty())
    throw std::invalid_argument("runStatistics: no product chosen");
  if (params.month > 12) throw std::invalid_argument("runStatistics: no such month");
  indexdata::WaitScope wait(context.desktop);
  // Each file is locked once for the run rather than once per statement.
  platform::Database::ReadScope dataScope(context.lookup.dataDb());
  platform::Database::ReadScope indexScope(context.lookup.indexTable().database());
  PeriodLookups lookups(context.lookup, params.product, params.startRule);

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
