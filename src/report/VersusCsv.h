// A comparison of products as ';'-separated lines for a spreadsheet: the period, benchmark and
// risk-free lines, then the figures, the calendar years, the correlations and the rebased chart,
// each a block under its own caption line. statind-cli prints it and the window saves it.
#pragma once

#include <ostream>

#include "versus/Versus.h"

namespace report {

void writeVersusCsv(const versus::VersusResult& result, std::ostream& out);

}  // namespace report
