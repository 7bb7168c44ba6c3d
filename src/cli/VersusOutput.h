// The ways statind-cli versus hands over a comparison of products: JSON for scripts (rates and
// ratios unrounded, rates as fractions, dates dd/mm/yyyy) and aligned tables for a person at a
// terminal. The CSV and the sheet are the window's (report/VersusCsv.h, report/VersusSheet.h).
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "versus/Versus.h"

namespace cli {

// {"from", "to", "riskFree", "benchmark", "products": [...], "correlation", "chart"}.
nlohmann::ordered_json versusJson(const versus::VersusResult& result);
// The period, benchmark and risk-free lines, the products' names, then the figures, the years
// and the correlations as columns.
void writeVersusText(const versus::VersusResult& result, std::ostream& out, bool colour);

}  // namespace cli
