// The client sheet of a comparison of products, on one A4 page for up to eight products: the
// period, benchmark and risk-free rate with the products' names beside the correlation matrix,
// the chart rebased to 100, the figures with the best of each line in bold, and the calendar
// years (in two halves side by side when there are many).
#pragma once

#include "report/ClientSheet.h"
#include "report/StatSheet.h"
#include "versus/Versus.h"

namespace report {

// The sheet of `result`; only the operator and the date of `options` are used.
ClientSheet versusSheet(const versus::VersusResult& result, const SheetOptions& options);

}  // namespace report
