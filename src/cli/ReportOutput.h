// The ways statind-cli report prints one statistics run for a script or a person: JSON with the
// window's exact texts and a table for a terminal. The CSV lines and the client sheet are
// shared with the window (src/report).
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "report/ReportData.h"

namespace cli {

using report::ReportData;

// The report for scripts: texts as the window shows them, empty cells "", points
// never written null.
nlohmann::ordered_json reportJson(const ReportData& data);
// The summary block over the grid, numbers right-aligned; negative changes in red when `colour`.
void writeReportText(const ReportData& data, std::ostream& out, bool colour);

}  // namespace cli
