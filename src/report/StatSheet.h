// The client sheet of one period statistics run: heading, three-year summary, chart, the grid's
// rows and the closing line, with the texts the statistics window shows.
#pragma once

#include <string>

#include "platform/Format.h"
#include "report/ClientSheet.h"
#include "report/ReportData.h"
#include "statind/WindowOptions.h"

namespace report {

// Who makes a sheet and how its chart is set: the same for every kind of sheet.
struct SheetOptions {
  std::string operatorCode;
  platform::DayNumber madeOn = 0;
  std::string valueFormat = "#,###,###,##0.00";
  statind::WindowOptions chart;  // the overlay and axis boxes as the window shows them
};

// The period of a run in words: "anno 2009" or "MAGGIO 2010".
std::string periodText(const ReportData& data);
// The start-value rule in words, beginning with the option's caption.
std::string startRuleText(statind::StartRule rule);

// The sheet of `data`. Summary slots the run left empty (years before the history) are left out;
// the note on "P" is there only when a slot carries it.
ClientSheet statisticsSheet(const ReportData& data, const SheetOptions& options);

}  // namespace report
