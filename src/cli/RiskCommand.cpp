// statind-cli risk and returns: the risk and return figures and the monthly returns map of a
// product, from one read of its records. Nothing is written.
#include <unistd.h>

#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/RiskOutput.h"
#include "cli/Session.h"
#include "indexdata/Helpers.h"
#include "risk/RiskFigures.h"

namespace cli {

namespace {

std::optional<ProductHeading> readHeading(platform::Database& dataDb, const std::string& code) {
  auto rows = dataDb.snapshot(
      "SELECT Codice, Descrizione FROM TabProdotti WHERE Codice IN (?1, cp1252(?1))", {code});
  if (rows.empty()) return std::nullopt;
  return ProductHeading{indexdata::trimBlanks(platform::valueText(rows.front().at(0))),
                        indexdata::trimBlanks(platform::valueText(rows.front().at(1)))};
}

statind::StartRule startRule(const RiskOptions& options) {
  return options.startRule == "previous" ? statind::StartRule::Previous
                                         : statind::StartRule::FirstUseful;
}

// The product's heading and index range, or the exit code that says why there is none.
struct Subject {
  ProductHeading heading;
  statind::ProductRange range;
  int exitCode = kExitOk;
};

Subject subject(Session& session, indexdata::IndexLookup& lookup, const std::string& code) {
  Subject s;
  const auto heading = readHeading(*session.dbs().dataDb, code);
  if (!heading) {
    std::cerr << "prodotto sconosciuto: " << code << "\n";
    s.exitCode = kExitNoData;
    return s;
  }
  s.heading = *heading;
  const auto range = statind::productRange(lookup, code, platform::today());
  if (!range || range->years().empty()) {
    std::cerr << "Nessun indice per il prodotto\n";
    s.exitCode = kExitNoData;
    return s;
  }
  s.range = *range;
  return s;
}

int showRisk(Session& session, const CommonOptions& common, const RiskOptions& options,
             const std::string& code) {
  indexdata::IndexLookup lookup(*session.dbs().dataDb, *session.dbs().indexTable,
                                session.params().valueFormat);
  const Subject s = subject(session, lookup, code);
  if (s.exitCode != kExitOk) return s.exitCode;
  if (options.year != 0 && (options.year < s.range.firstYear || options.year > s.range.lastYear)) {
    std::cerr << "anno " << options.year << " fuori dagli indici del prodotto ("
              << s.range.firstYear << "-" << s.range.lastYear << ")\n";
    return kExitUsage;
  }
  const auto result = risk::computeRisk(
      lookup, {s.heading.product, options.year, options.holdingYears, startRule(options), s.range});
  if (common.format == "json")
    std::cout << riskJson(s.heading, result).dump(2) << "\n";
  else if (common.format == "csv")
    writeRiskCsv(result, std::cout);
  else
    writeRiskText(s.heading, result, std::cout, isatty(STDOUT_FILENO) != 0);
  return kExitOk;
}

int showReturns(Session& session, const CommonOptions& common, const RiskOptions& options,
                const std::string& code) {
  indexdata::IndexLookup lookup(*session.dbs().dataDb, *session.dbs().indexTable,
                                session.params().valueFormat);
  const Subject s = subject(session, lookup, code);
  if (s.exitCode != kExitOk) return s.exitCode;
  auto series = risk::IndexSeries::read(lookup, s.heading.product, startRule(options));
  const risk::ReturnsMap map = risk::returnsMap(series, s.range);
  if (common.format == "json")
    std::cout << returnsJson(s.heading, map).dump(2) << "\n";
  else if (common.format == "csv")
    writeReturnsCsv(map, std::cout);
  else
    writeReturnsText(s.heading, map, std::cout, isatty(STDOUT_FILENO) != 0);
  return kExitOk;
}

}  // namespace

int runRisk(const CommonOptions& common, const RiskOptions& options) {
  return Session::runForProduct(common, options.product,
                                [&](Session& session, const std::string& code) {
                                  return showRisk(session, common, options, code);
                                });
}

int runReturns(const CommonOptions& common, const RiskOptions& options) {
  return Session::runForProduct(common, options.product,
                                [&](Session& session, const std::string& code) {
                                  return showReturns(session, common, options, code);
                                });
}

}  // namespace cli
