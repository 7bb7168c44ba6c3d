// How statind-cli lays out tables: aligned columns for a person at a terminal, ';'-separated
// fields for a spreadsheet.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

using Line = std::vector<std::string>;

// Prints `lines` as columns two blanks apart, each at least `minWidth` wide; texts that read as
// numbers stand right-aligned (so do all but the first column), and with `colour` the negative
// ones are red. Trailing blanks are cut.
void writeColumns(const std::vector<Line>& lines, std::ostream& out, bool colour,
                  std::size_t minWidth = 0);
// `text` as a CSV field: quoted (inner quotes doubled) when it holds ';', a quote or a line
// break, or starts or ends with a blank.
std::string csvField(const std::string& text);
// The fields of `line` joined by ';', then a line feed.
void writeCsvLine(const Line& line, std::ostream& out);

}  // namespace cli
