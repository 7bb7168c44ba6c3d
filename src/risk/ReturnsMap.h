// Every month of a product's history at a glance: a years × months table of the year view's
// "% mese" (the same start-value rule, the same figures to the third decimal), the year's change
// beside each year, and a "P" where the history covers only part of a month.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "risk/IndexSeries.h"
#include "statind/PeriodStatistics.h"

namespace risk {

struct MonthCell {
  std::optional<double> change;  // percent as the grid shows it; nullopt outside the history
  std::string text;              // the grid's text ("" outside the history)
  bool partial = false;
};

struct YearRow {
  int year = 0;
  std::array<MonthCell, 12> months;  // January first
  std::optional<double> yearChange;  // percent, as the year's summary shows it
  std::string yearText;
};

struct ReturnsMap {
  std::vector<YearRow> years;  // first year of the history first
};

// The map of the history `range` (as productRange gives it) from `values`. Every cell and year
// change is the one the year view of that year shows with the same start rule.
ReturnsMap returnsMap(statind::PeriodValues& values, const statind::ProductRange& range);

}  // namespace risk
