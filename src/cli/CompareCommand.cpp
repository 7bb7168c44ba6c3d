// statind-cli compare: one comparison run of a product across years, as the comparison window
// makes it, printed as text, JSON or CSV, or saved as the client sheet (PDF).
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "cli/Commands.h"
#include "cli/CompareOutput.h"
#include "cli/Session.h"
#include "compare/Comparison.h"
#include "compare/ProductLoad.h"
#include "indexdata/IndexLookup.h"
#include "platform/Profile.h"
#include "report/CompareSheet.h"
#include "report/ReportCsv.h"
#include "report/SheetFile.h"
#ifdef STATIND_CLI_PDF
#include "report/ui/SheetPdf.h"
#endif

namespace cli {

namespace {

// The client sheet as the comparison window would print it: its chart boxes as given, or as
// last saved.
[[maybe_unused]] report::ClientSheet sheet(Session& session, const CompareOptions& given,
                                           const CompareData& data) {
  startup::AppParams& params = session.params();
  report::SheetOptions options;
  options.operatorCode = params.operatorCode;
  options.madeOn = platform::today();
  options.valueFormat = params.valueFormat;
  const std::string boxes = given.chartOptions.empty()
                                ? platform::readIni(params.ownIniPath, "PARAMETRI", "indstat1")
                                : given.chartOptions;
  options.chart = statind::WindowOptions::restore(boxes, statind::kIndstat1Default, false);
  return report::comparisonSheet(data, options);
}

// Prints the run on stdout, or saves it whole into --output. A file that cannot be saved is
// reported on stderr and gives kExitStore.
int print(Session& session, const CommonOptions& common, const CompareOptions& options,
          const CompareData& data) {
  std::ostringstream text;
  try {
    if (common.format == "pdf") {
#ifdef STATIND_CLI_PDF
      report::ui::saveSheetPdf(sheet(session, options, data), common.output);
      return kExitOk;
#else
      std::cerr << "questa build di statind-cli non scrive PDF\n";
      return kExitUsage;
#endif
    }
    if (common.format == "json") {
      text << compareJson(data).dump(2) << "\n";
    } else if (common.format == "csv") {
      report::writeCompareCsv(data, text);
    } else {
      writeCompareText(data, text, common.output.empty() && isatty(STDOUT_FILENO) != 0);
    }
    if (common.output.empty()) {
      std::cout << text.str();
    } else {
      report::saveFile(common.output, text.str());
    }
  } catch (const report::SaveError& e) {
    std::cerr << e.what() << "\n";
    return kExitStore;
  }
  return kExitOk;
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
  if (given.format == "pdf" && given.output.empty()) {
    std::cerr << "--format pdf vuole --output FILE\n";
    return kExitUsage;
  }
  // The start-up moves into the program's folder: a relative --output means the caller's folder.
  CommonOptions common = given;
  if (!common.output.empty()) common.output = std::filesystem::absolute(common.output).string();
  return Session::runForProduct(common, options.product,
                                [&](Session& session, const std::string& code) {
                                  return compareRun(session, common, options, code);
                                });
}

}  // namespace cli
