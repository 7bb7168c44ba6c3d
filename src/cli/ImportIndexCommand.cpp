// statind-cli import-index: a price file (CSV) into the configured index database, the file or
// the office's server, after every check; or, with --dry-run, what that would do.
#include <fstream>
#include <iostream>

#include "cli/Commands.h"
#include "cli/ImportOutput.h"
#include "cli/Session.h"
#include "indeximport/CsvText.h"
#include "indeximport/ImportTargets.h"
#include "indeximport/IndexImport.h"

namespace cli {

namespace {

using indeximport::ImportStatus;

bool readInput(const std::string& file, std::string& bytes) {
  if (file == "-") return indeximport::readBounded(std::cin, bytes);
  std::ifstream in(file, std::ios::binary);
  return in && indeximport::readBounded(in, bytes);
}

// The options as the import takes them; nullopt after saying on stderr what is wrong.
std::optional<indeximport::ImportParams> importParams(const ImportIndexOptions& options) {
  indeximport::ImportParams params;
  params.products = options.products;
  params.read.longForm = options.longForm;
  params.read.columns = options.columns;
  if (!options.separator.empty())
    params.read.separator = options.separator == "tab" ? '\t' : options.separator.front();
  if (!options.dateFormat.empty()) {
    params.read.dateFormat = indeximport::DateFormat::parse(options.dateFormat);
    if (!params.read.dateFormat) {
      std::cerr << "--date-format " << options.dateFormat
                << ": usare dd/mm/yyyy, mm/dd/yyyy o yyyy-mm-dd (separatore / - o .)\n";
      return std::nullopt;
    }
  }
  if (!options.decimal.empty())
    params.read.decimal = options.decimal == "," ? indeximport::DecimalStyle::Italian
                                                 : indeximport::DecimalStyle::English;
  params.skipBad = options.skipBad;
  params.overwrite = options.overwrite;
  params.dryRun = options.dryRun;
  if (!options.create.empty()) {
    if (options.currency.empty()) {
      std::cerr << "--create richiede --currency\n";
      return std::nullopt;
    }
    params.create =
        indeximport::NewProduct{options.create, options.currency, options.group, options.category};
  }
  return params;
}

int exitCode(ImportStatus status) {
  switch (status) {
    case ImportStatus::Imported:
      return kExitOk;
    case ImportStatus::Refused:
      return kExitDataRefused;
    case ImportStatus::UnknownProduct:
      return kExitNoData;
    case ImportStatus::BadRequest:
      return kExitUsage;
  }
  return kExitStore;
}

}  // namespace

int runImportIndex(const CommonOptions& common, const ImportIndexOptions& options) {
  auto params = importParams(options);
  if (!params) return kExitUsage;
  // Read before the start-up, which moves into the program's folder: a relative name means the
  // caller's folder.
  std::string bytes;
  if (!readInput(options.file, bytes)) {
    std::cerr << "file " << options.file << " non leggibile\n";
    return kExitUsage;
  }
  Session session(common);
  if (!session.ok()) return session.exitCode();
  if (const auto why = indeximport::suiteFileRefusal(session.params(), params->create.has_value());
      !why.empty()) {
    std::cerr << why << "\n";
    return kExitStore;
  }
  params->progress = [](long long done, long long total) {
    std::cerr << "\rscritti " << done << " di " << total << " indici" << std::flush;
  };
  try {
    const auto target = indeximport::openIndexTarget(session.dbs());
    const auto result =
        indeximport::importIndex(std::move(bytes), *params, {*session.dbs().dataDb, *target});
    if (result.written) std::cerr << "\n";
    if (common.format == "json")
      writeImportJson(std::cout, result, options.dryRun);
    else
      writeImportText(std::cout, result, options.dryRun);
    if (!result.message.empty()) std::cerr << "importazione rifiutata: " << result.message << "\n";
    if (result.status == ImportStatus::Refused && result.file.badCount > 0 && !params->skipBad)
      std::cerr << "--skip-bad per importare le altre righe\n";
    return exitCode(result.status);
  } catch (const platform::StoreError& e) {
    std::cerr << "\nstatind: " << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
