#include "utilities/DemoInstallation.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/Store.h"
#include "platform/WholeFile.h"
#include "utilities/BusinessDays.h"
#include "utilities/DemoCatalogue.h"
#include "utilities/DemoIndexSeries.h"
#include "utilities/IndexWriter.h"
#include "utilities/ProductWriter.h"
#include "utilities/Schema.h"

namespace utilities {

namespace {

namespace fs = std::filesystem;

// The configuration reader keeps at most 99 characters of a value.
constexpr std::size_t kIniValueLimit = 99;
constexpr const char* kOperator = "DEMO";

struct Layout {
  fs::path root, ini, base, work, save, temp;
  fs::path dataDb, visitsDb, indexDb, workDb;
};

Layout layoutOf(const std::string& folder) {
  if (folder.empty()) throw std::invalid_argument("demo folder not given");
  Layout l;
  l.root = fs::absolute(folder).lexically_normal();
  if (!l.root.has_filename()) l.root = l.root.parent_path();  // drop a trailing separator
  l.ini = l.root / "statind.ini";
  l.base = l.root / "base";
  l.work = l.root / "work";
  l.save = l.root / "save";
  l.temp = l.root / "temp";
  l.dataDb = l.base / kOperator / "DatiDV.mdb";
  l.visitsDb = l.base / kOperator / "VisiteDV.mdb";
  l.indexDb = l.base / "IndiciDV.mdb";
  l.workDb = l.work / kOperator / "WorkDV.mdb";
  return l;
}

// A folder the start-up could not read back from the INI would make an installation that
// fails on its first start; refuse it before anything is written.
void checkReadableFromIni(const Layout& l) {
  for (const fs::path& folder : {l.base, l.work, l.save, l.temp}) {
    const std::string value = folder.string();
    if (value.size() > kIniValueLimit)
      throw std::invalid_argument("demo folder path too long for the configuration file (" + value +
                                  " exceeds " + std::to_string(kIniValueLimit) + " characters)");
    if (value.find('\t') != std::string::npos || value.find(" ;") != std::string::npos)
      throw std::invalid_argument(
          "demo folder path holds a tab or \" ;\", which the "
          "configuration file reads as a comment: " +
          value);
  }
}

// A stale journal beside a new database would be rolled back into it at the next open.
void removeDatabase(const fs::path& file) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    fs::remove(fs::path(file.string() + suffix));
}

void writeDataDb(const fs::path& file) {
  createDataDb(file.string());
  SQLite::Database db(file.string(), SQLite::OPEN_READWRITE);
  SQLite::Transaction tx(db);
  ProductWriter writer(db);
  for (const auto& g : DemoCatalogue::groups())
    writer.addGroup(std::string(g.code), std::string(g.description));
  for (const auto& c : DemoCatalogue::categories())
    writer.addCategory(std::string(c.code), std::string(c.description), std::string(c.type));
  for (const auto& p : DemoCatalogue::products())
    writer.addProduct(std::string(p.code), std::string(p.description), std::string(p.currency),
                      std::string(p.group), std::string(p.category),
                      p.special == DemoSpecial::NoIndexSeries);
  tx.commit();
}

void writeIndexDb(const fs::path& file, const DemoParams& params, DemoResult& result) {
  createIndexDb(file.string());
  SQLite::Database db(file.string(), SQLite::OPEN_READWRITE);
  // Only this run writes the new file; durability matters once it is complete, not before.
  db.exec("PRAGMA synchronous = OFF");
  SQLite::Transaction tx(db);
  IndexWriter writer(db);
  const DemoIndexSeries series(lastBusinessDayBefore(params.today), params.seed);
  for (const auto& p : DemoCatalogue::products()) {
    const SeriesSummary s = series.write(p, writer);
    result.products.push_back({std::string(p.code), std::string(p.description),
                               std::string(DemoCatalogue::note(p.special)), s.firstDay, s.lastDay,
                               s.records});
  }
  tx.commit();
  result.indexRecords = writer.rowsWritten();
}

void writeIni(const Layout& l) {
  std::ostringstream text;
  text << "[PARAMETRI]\nFinanziaria=3\nDECIMALI=2\nINDICE_MONETARIO=MO001\n"
       << "[BASE]\nOPERATORE=" << kOperator << "\nPOSIZ=\n"
       << "[PATH]\nFILE=" << l.base.string() << "\nWORK=" << l.work.string()
       << "\nSAVE=" << l.save.string() << "\nTEMP=" << l.temp.string() << "\n"
       << "[EURO]\nCODEUR=EUR\nCODBASE=EUR\n";
  if (const int error = platform::writeWholeFile(l.ini.string(), text.str()))
    throw fs::filesystem_error("cannot write the configuration file", l.ini,
                               std::error_code(error, std::generic_category()));
}

}  // namespace

DemoResult DemoInstallation::make(const DemoParams& params) {
  const Layout l = layoutOf(params.folder);
  checkReadableFromIni(l);
  if (params.today <= DemoIndexSeries::historyStart())
    throw std::invalid_argument("demo: today's date is before the start of the histories");
  fs::create_directories(l.base / kOperator);
  fs::create_directories(l.work / kOperator);
  for (const fs::path& db : {l.dataDb, l.visitsDb, l.indexDb, l.workDb}) removeDatabase(db);

  DemoResult result;
  try {
    writeDataDb(l.dataDb);
    createVisitsDb(l.visitsDb.string());
    writeIndexDb(l.indexDb, params, result);
    createWorkDb(l.workDb.string());
  } catch (const SQLite::Exception& e) {
    throw platform::StoreError(e.what());
  }
  writeIni(l);
  result.iniPath = l.ini.string();
  result.baseFolder = l.base.string();
  result.workFolder = l.work.string();
  result.dataDb = l.dataDb.string();
  result.visitsDb = l.visitsDb.string();
  result.indexDb = l.indexDb.string();
  result.workDb = l.workDb.string();
  return result;
}

}  // namespace utilities
