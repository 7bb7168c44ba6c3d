// The three ways statind-cli report prints one statistics run: JSON with the window's exact
// texts, a table for a person at a terminal, and ';'-separated rows for a spreadsheet.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "statind/PeriodStatistics.h"

namespace cli {

struct ReportData {
  std::string product;  // the code as TabProdotti holds it
  std::string description;
  std::string currency;
  statind::ProductRange range;
  int year = 0;
  int month = 0;
  statind::StatResult result;
};

// The report for scripts: texts as the window shows them, empty cells "", points
// never written null.
nlohmann::ordered_json reportJson(const ReportData& data);
// The summary block over the grid, numbers right-aligned; negative changes in red when `colour`.
void writeReportText(const ReportData& data, std::ostream& out, bool colour);
// A caption line, then one line per grid row; fields quoted when they need it.
void writeReportCsv(const ReportData& data, std::ostream& out);

}  // namespace cli
