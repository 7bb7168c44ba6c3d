// statind-cli compare: one comparison run of a product across years, as the comparison window
// makes it, printed as text, JSON or CSV.
#include <unistd.h>

#include <iostream>

#include "cli/Commands.h"
#include "cli/CompareOutput.h"
#include "cli/Session.h"
#include "compare/Comparison.h"
#include "compare/ProductLoad.h"
#include "indexdata/IndexLookup.h"

namespace cli {

namespace {

void print(const CommonOptions& common, const CompareData& data) {
  if (common.format == "json") {
    std::cout << compareJson(data).dump(2) << "\n";
  } else if (common.format == "csv") {
    writeCompareCsv(data, std::cout);
  } else {
    writeCompareText(data, std::cout, isatty(STDOUT_FILENO) != 0);
  }
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
  CompareData data{code, load->description, load->range, session.params().valueFormat,
                   compare::runComparison(lookup, params)};
  print(common, data);
  return kExitOk;
}

}  // namespace

int runCompare(const CommonOptions& common, const CompareOptions& options) {
  return Session::runForProduct(common, options.product,
                                [&](Session& session, const std::string& code) {
                                  return compareRun(session, common, options, code);
                                });
}

}  // namespace cli
