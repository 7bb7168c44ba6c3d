// How statind-cli lays out tables: aligned columns for a person at a terminal, ';'-separated
// fields for a spreadsheet.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "report/ReportCsv.h"

namespace cli {

using Line = std::vector<std::string>;

// Prints `lines` as columns two blanks apart, each at least `minWidth` wide; texts that read as
// numbers stand right-aligned (so do all but the first column), and with `colour` the negative
// ones are red. Trailing blanks are cut.
void writeColumns(const std::vector<Line>& lines, std::ostream& out, bool colour,
                  std::size_t minWidth = 0);
// The CSV fields and lines are the windows' too.
using report::csvField;
using report::writeCsvLine;

}  // namespace cli
