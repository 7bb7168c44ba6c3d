// statind-cli compare: one comparison run of a product across years, as the comparison window
// makes it, printed as text, JSON or CSV, or saved as the client sheet (PDF).
#include <iostream>

#include "cli/Commands.h"
#include "cli/CompareOutput.h"
#include "cli/RunOutput.h"
#include "cli/Session.h"
#include "compare/Comparison.h"
#include "compare/ProductLoad.h"
#include "indexdata/IndexLookup.h"
#include "platform/Profile.h"
#include "report/CompareSheet.h"
#include "report/ReportCsv.h"
#include "report/SheetFile.h"

namespace cli {

namespace {

// Prints the run on stdout, or saves it whole into --output (as the client sheet for pdf).
int print(Session& session, const CommonOptions& common, const CompareOptions& options,
          const CompareData& data) {
  RunWriters writers;
  writers.sheet = [&] {
    return report::comparisonSheet(
        data, sheetOptions(session, options.chartOptions, "indstat1", statind::kIndstat1Default));
  };
  writers.json = [&](std::ostream& out) { out << compareJson(data).dump(2) << "\n"; };
  writers.csv = [&](std::ostream& out) { report::writeCompareCsv(data, out); };
  writers.text = [&](std::ostream& out, bool colour) { writeCompareText(data, out, colour); };
  return writeRun(common, writers);
}

int compareRun(Session& session, const CommonOptions& common, const CompareOptions& options,
               const std::string& code) {
  startup::Databases& dbs = session.dbs();
  indexdata::IndexLookup lookup(*dbs.dataDb, *dbs.indexTable, session.params().valueFormat);
  const auto load = compare::loadProduct(lookup, code, options.from, platform::today());
  if (!load) {
    std::cerr << "Nessun indice per il prodotto\n";
    return kExitNoData;
  }
  for (int year : {options.from, options.to}) {
    if (year < load->range.firstYear || year > load->range.lastYear) {
      std::cerr << "anno " << year << " fuori dagli indici del prodotto (" << load->range.firstYear
                << "-" << load->range.lastYear << ")\n";
      return kExitUsage;
    }
  }
  compare::CompareParams params;
  params.product = code;
  params.fromYear = options.from;
  params.toYear = options.to;
  params.month = options.month;
  params.startRule = options.startRule == "previous" ? statind::StartRule::Previous
                                                     : statind::StartRule::FirstUseful;
  params.bars = options.chart == "bars";
  params.range = load->range;
  params.usableWidth = session.params().usableWidth;
  CompareData data{code,
                   load->description,
                   load->range,
                   session.params().valueFormat,
                   compare::runComparison(lookup, params),
                   params.startRule};
  return print(session, common, options, data);
}

}  // namespace

int runCompare(const CommonOptions& given, const CompareOptions& options) {
  const auto checked = outputOptions(given);
  if (!checked) return kExitUsage;
  const CommonOptions& common = *checked;
  return Session::runForProduct(common, options.product,
                                [&](Session& session, const std::string& code) {
                                  return compareRun(session, common, options, code);
                                });
}

}  // namespace cli
