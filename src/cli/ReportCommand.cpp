// statind-cli report: one statistics run of a product, as the index statistics window makes it
// (it refills WkStatInd too), printed as text, JSON or CSV, or saved as the client sheet (PDF).
#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/ReportOutput.h"
#include "cli/RunOutput.h"
#include "cli/Session.h"
#include "indexdata/Helpers.h"
#include "indexdata/IndexLookup.h"
#include "platform/Profile.h"
#include "report/ReportCsv.h"
#include "report/SheetFile.h"
#include "report/StatSheet.h"
#include "statind/PeriodStatistics.h"

namespace cli {

namespace {

struct ProductRow {
  std::string code, description, currency;
};

std::optional<ProductRow> readProduct(platform::Database& dataDb, const std::string& code) {
  auto rows = dataDb.snapshot(
      "SELECT Codice, Descrizione, Moneta FROM TabProdotti WHERE Codice IN (?1, cp1252(?1))",
      {code});
  if (rows.empty()) return std::nullopt;
  const auto text = [&](const char* name) {
    return indexdata::trimBlanks(platform::valueText(rows.front()[name]));
  };
  return ProductRow{text("Codice"), text("Descrizione"), text("Moneta")};
}

// The month the window would show: not before the history's first month in its first year,
// not after its last month in its last year.
int clampedMonth(int month, int year, const statind::ProductRange& range) {
  if (year == range.firstYear && month > 0 && month < range.firstMonth) return range.firstMonth;
  if (year == range.lastYear && month > range.lastMonth) return range.lastMonth;
  return month;
}

// Prints the run on stdout, or saves it whole into --output (as the client sheet for pdf).
int print(Session& session, const CommonOptions& common, const ReportOptions& options,
          const ReportData& data) {
  RunWriters writers;
  writers.sheet = [&] {
    return report::statisticsSheet(
        data, sheetOptions(session, options.chartOptions, "indstat", statind::kIndstatDefault));
  };
  writers.json = [&](std::ostream& out) { out << reportJson(data).dump(2) << "\n"; };
  writers.csv = [&](std::ostream& out) { report::writeReportCsv(data, out); };
  writers.text = [&](std::ostream& out, bool colour) { writeReportText(data, out, colour); };
  return writeRun(common, writers);
}

int report(Session& session, const CommonOptions& common, const ReportOptions& options,
           const std::string& code) {
  startup::Databases& dbs = session.dbs();
  auto product = readProduct(*dbs.dataDb, code);
  if (!product) {
    std::cerr << "prodotto sconosciuto: " << code << "\n";
    return kExitNoData;
  }
  indexdata::IndexLookup lookup(*dbs.dataDb, *dbs.indexTable, session.params().valueFormat);
  auto range = statind::productRange(lookup, code, platform::today());
  if (!range || range->years().empty()) {
    std::cerr << "Nessun indice per il prodotto\n";
    return kExitNoData;
  }
  const int year = options.year == 0 ? range->lastYear : options.year;
  if (year < range->firstYear || year > range->lastYear) {
    std::cerr << "anno " << year << " fuori dagli indici del prodotto (" << range->firstYear << "-"
              << range->lastYear << ")\n";
    return kExitUsage;
  }
  const auto rule = options.startRule == "previous" ? statind::StartRule::Previous
                                                    : statind::StartRule::FirstUseful;
  ReportData data{product->code,
                  product->description,
                  product->currency,
                  *range,
                  year,
                  clampedMonth(options.month, year, *range),
                  rule,
                  {}};
  statind::StatContext context{lookup, *dbs.workDb, session.desktop()};
  data.result = statind::runStatistics(context, {product->code, year, data.month, rule, *range});
  return print(session, common, options, data);
}

}  // namespace

int runReport(const CommonOptions& given, const ReportOptions& options) {
  const auto checked = outputOptions(given);
  if (!checked) return kExitUsage;
  const CommonOptions& common = *checked;
  return Session::runForProduct(common, options.product,
                                [&](Session& session, const std::string& code) {
                                  return report(session, common, options, code);
                                });
}

}  // namespace cli
