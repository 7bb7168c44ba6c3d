// The client sheet of one monthly comparison: heading, the chart as the comparison window draws
// it, and its table: for one month the years with their start, end and change; for all months
// the month-end index the chart plots, a row per year and a column per month.
#pragma once

#include <string>

#include "report/ClientSheet.h"
#include "report/CompareData.h"
#include "report/StatSheet.h"

namespace report {

// The span and month in words: "dal 2015 al 2025, MARZO" or "dal 2015 al 2025, tutti i mesi".
std::string comparePeriodText(const CompareData& data);

// The sheet of `data`, its chart set by `options.chart` (the comparison window's boxes). A run
// that drew nothing (one month of one year) gives a sheet that says so, with no chart or table.
ClientSheet comparisonSheet(const CompareData& data, const SheetOptions& options);

}  // namespace report
