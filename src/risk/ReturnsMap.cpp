#include "risk/ReturnsMap.h"

#include "statind/MonthView.h"
#include "statind/YearView.h"

namespace risk {

ReturnsMap returnsMap(statind::PeriodValues& values, const statind::ProductRange& range) {
  ReturnsMap map;
  for (int year : range.years()) {
    YearRow row;
    row.year = year;
    if (const auto change = statind::yearChange(values, year, range)) {
      row.yearText = change->change;
      row.yearChange = platform::parseNumber(change->change);
    }
    for (const statind::PeriodChange& month : statind::monthChanges(values, year, range)) {
      MonthCell& cell = row.months[month.month - 1];
      cell.text = month.change;
      cell.change = platform::parseNumber(month.change);
      cell.partial = statind::partialMonth(month.month, year, range);
    }
    map.years.push_back(std::move(row));
  }
  return map;
}

}  // namespace risk
