// The client sheet of a comparison of products, on one A4 page for up to eight products over up
// to 25 years: the period, benchmark and risk-free rate with the products' names beside the
// correlation matrix, the chart rebased to 100, then the figures (the best of each line in
// bold) and the calendar years in one table under the product codes.
#pragma once

#include "report/ClientSheet.h"
#include "report/StatSheet.h"
#include "versus/Versus.h"

namespace report {

// The sheet of `result`, made on `options.madeOn` by `options.operatorCode` (its other settings
// are the statistics windows' and play no part here).
ClientSheet versusSheet(const versus::VersusResult& result, const SheetOptions& options);

}  // namespace report
