// What one statistics run is about and what it gave, gathered for the outputs that hand it over:
// the console report, the CSV file and the client sheet. The window and statind-cli fill it the
// same way, so that every output of a run shows the same figures.
#pragma once

#include <string>

#include "statind/PeriodStatistics.h"

namespace report {

struct ReportData {
  std::string product;  // the code as TabProdotti holds it
  std::string description;
  std::string currency;
  statind::ProductRange range;
  int year = 0;
  int month = 0;  // 0 = year view
  statind::StartRule startRule = statind::StartRule::FirstUseful;
  statind::StatResult result;
};

}  // namespace report
