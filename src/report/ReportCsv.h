// The grids of the statistics run and of the comparison as ';'-separated lines for a
// spreadsheet: captions, then one line per row. statind-cli prints them and the windows save
// them, byte for byte alike.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "report/CompareData.h"
#include "report/ReportData.h"

namespace report {

// `text` as a CSV field: quoted (inner quotes doubled) when it holds ';', a quote or a line
// break, or starts or ends with a blank.
std::string csvField(const std::string& text);
// The fields of `line` joined by ';', then a line feed.
void writeCsvLine(const std::vector<std::string>& line, std::ostream& out);

// A caption line, then one line per grid row; fields quoted when they need it.
void writeReportCsv(const ReportData& data, std::ostream& out);
// The comparison's table: one month, the grid ("ANNO", "INIZIO", "FINE", "%"); all months, one
// line per chart point ("punto", "etichetta", "valore"). Empty for a run that drew nothing.
std::vector<std::vector<std::string>> compareLines(const CompareData& data);
// compareLines as CSV; nothing for a run that drew nothing.
void writeCompareCsv(const CompareData& data, std::ostream& out);

}  // namespace report
