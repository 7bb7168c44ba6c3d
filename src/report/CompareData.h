// What one comparison run is about and what it gave, gathered for the outputs that hand it over:
// the console report, the CSV file and the client sheet, filled alike by the window and
// statind-cli.
#pragma once

#include <string>

#include "compare/Comparison.h"

namespace report {

struct CompareData {
  std::string product;
  std::string description;
  statind::ProductRange range;
  std::string valueFormat;  // how index values are written in text and csv
  compare::CompareResult result;
  statind::StartRule startRule = statind::StartRule::FirstUseful;
};

}  // namespace report
