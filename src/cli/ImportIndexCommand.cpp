// statind-cli import-index: a price file (CSV) into the configured index database, the file or
// the office's server, after every check; or, with --dry-run, what that would do.
#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/Commands.h"
#include "cli/ImportOutput.h"
#include "cli/Session.h"
#include "indeximport/CsvText.h"
#include "indeximport/FileTarget.h"
#include "indeximport/IndexImport.h"
#include "indeximport/ServerTarget.h"
#include "platform/StoreFile.h"

namespace cli {

namespace {

using indeximport::ImportStatus;

// At most the size an import accepts and one byte more, so that a larger input is refused
// without being held whole.
bool readInput(const std::string& file, std::string& bytes) {
  const auto limit = static_cast<std::streamsize>(indeximport::kMaxFileBytes + 1);
  std::ifstream opened;
  std::istream* in = &std::cin;
  if (file != "-") {
    opened.open(file, std::ios::binary);
    if (!opened) return false;
    in = &opened;
  }
  bytes.resize(static_cast<std::size_t>(limit));
  in->read(bytes.data(), limit);
  bytes.resize(static_cast<std::size_t>(in->gcount()));
  return !in->bad();
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

// Why the session's databases must not be written by this import ("" when they may): the
// suite's own Jet files are read through a copy and never written.
std::string jetRefusal(Session& session, bool creating) {
  const auto& params = session.params();
  if (params.indexDbUri.empty()) {
    const std::string path = startup::indexFilePath(params);
    if (platform::StoreFile::isJetFile(path))
      return "il database degli indici " + path +
             " è un file Access/Jet della suite: l'importazione non lo scrive";
  }
  if (creating && platform::StoreFile::isJetFile(params.dataDbPath))
    return "il database " + params.dataDbPath +
           " è un file Access/Jet della suite: il prodotto va aggiunto con la suite";
  return "";
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
  if (const auto why = jetRefusal(session, params->create.has_value()); !why.empty()) {
    std::cerr << why << "\n";
    return kExitStore;
  }
  params->progress = [](long long done, long long total) {
    std::cerr << "\rscritti " << done << " di " << total << " indici" << std::flush;
  };
  try {
    auto& dbs = session.dbs();
    std::unique_ptr<indeximport::IndexTarget> target;
    if (dbs.indexServer)
      target = std::make_unique<indeximport::ServerTarget>(*dbs.indexServer);
    else
      target = std::make_unique<indeximport::FileTarget>(*dbs.indexDb);
    const auto result = indeximport::importIndex(std::move(bytes), *params, {*dbs.dataDb, *target});
    if (result.written) std::cerr << "\n";
    if (common.format == "json")
      writeImportJson(std::cout, result, options.dryRun);
    else
      writeImportText(std::cout, result, options.dryRun);
    if (!result.message.empty()) std::cerr << "importazione rifiutata: " << result.message << "\n";
    return exitCode(result.status);
  } catch (const platform::StoreError& e) {
    std::cerr << "\nstatind: " << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
