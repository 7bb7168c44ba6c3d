// statind-cli versus: products side by side over the period they share, printed as text, JSON
// or CSV, or saved as the client sheet (PDF). The risk-free rate is the index named by
// INDICE_MONETARIO in the configuration, as in the window.
#include <iostream>
#include <stdexcept>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "cli/Session.h"
#include "cli/VersusOutput.h"
#include "indexdata/Helpers.h"
#include "platform/Profile.h"
#include "report/VersusCsv.h"
#include "report/VersusSheet.h"

namespace cli {

namespace {

std::vector<std::string> codesOf(const std::string& list) {
  std::vector<std::string> codes;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    codes.push_back(indexdata::trimBlanks(list.substr(start, comma - start)));
    if (comma == std::string::npos) return codes;
    start = comma + 1;
  }
}

// The parameters the options give; nullopt, after saying why on stderr, for options that
// cannot be run.
std::optional<versus::VersusParams> paramsOf(const VersusOptions& options) {
  versus::VersusParams params;
  params.products = codesOf(options.products);
  params.benchmark = indexdata::trimBlanks(options.benchmark);
  if (!options.period.empty()) {
    if (!options.from.empty()) {
      std::cerr << "--from e --period insieme: il periodo fissa già l'inizio\n";
      return std::nullopt;
    }
    params.period.preset = versus::presetNamed(options.period).value_or(versus::Preset::Longest);
  } else if (!options.from.empty() || !options.to.empty()) {
    params.period.preset = versus::Preset::Chosen;
    for (const auto& [text, day] :
         {std::pair{options.from, &params.period.from}, std::pair{options.to, &params.period.to}}) {
      if (text.empty()) continue;
      *day = platform::parseDate(text);
      if (!*day) {
        std::cerr << "data non valida: '" << text << "' (atteso gg/mm/aaaa)\n";
        return std::nullopt;
      }
    }
  }
  try {
    versus::checkParams(params);
  } catch (const std::invalid_argument& e) {
    std::cerr << e.what() << "\n";
    return std::nullopt;
  }
  return params;
}

int compareProducts(Session& session, const CommonOptions& common, versus::VersusParams params) {
  startup::Databases& dbs = session.dbs();
  params.riskFree = indexdata::trimBlanks(
      platform::readIni(session.params().ownIniPath, "PARAMETRI", "INDICE_MONETARIO"));
  indexdata::IndexLookup lookup(*dbs.dataDb, *dbs.indexTable, session.params().valueFormat);
  const versus::VersusResult result = versus::computeVersus(lookup, params);
  RunWriters writers;
  writers.sheet = [&] {
    report::SheetOptions options;
    options.operatorCode = session.params().operatorCode;
    options.madeOn = platform::today();
    return report::versusSheet(result, options);
  };
  writers.json = [&](std::ostream& out) { out << versusJson(result).dump(2) << "\n"; };
  writers.csv = [&](std::ostream& out) { report::writeVersusCsv(result, out); };
  writers.text = [&](std::ostream& out, bool colour) { writeVersusText(result, out, colour); };
  return writeRun(common, writers);
}

}  // namespace

int runVersus(const CommonOptions& given, const VersusOptions& options) {
  const auto checked = outputOptions(given);
  const auto params = paramsOf(options);
  if (!checked || !params) return kExitUsage;
  Session session(*checked);
  if (!session.ok()) return session.exitCode();
  try {
    return compareProducts(session, *checked, *params);
  } catch (const versus::Refusal& refusal) {
    std::cerr << refusal.what() << "\n";
    return refusal.kind() == versus::Refusal::Kind::Period ? kExitUsage : kExitNoData;
  } catch (const platform::StoreError& e) {
    std::cerr << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
