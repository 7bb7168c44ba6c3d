// The grid of a statistics run as ';'-separated lines for a spreadsheet: the window's captions,
// then one line per row. statind-cli prints it and the window saves it, byte for byte alike.
#pragma once

#include <ostream>

#include "report/ReportData.h"

namespace report {

// A caption line, then one line per grid row; fields quoted when they need it.
void writeReportCsv(const ReportData& data, std::ostream& out);

}  // namespace report
