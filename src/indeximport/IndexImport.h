// Loading a published index series into the index database: a price file read whole and
// checked before anything is written, then compared with what is stored and written in one
// transaction. It never writes a value it could not read for sure and never loses one already
// stored: a date stored with another value is a conflict, left as it is unless overwriting was
// asked for. The console command and the window both run importIndex.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "indeximport/FileRead.h"
#include "indeximport/IndexTarget.h"
#include "indeximport/ProductCatalogue.h"
#include "indeximport/SeriesPlan.h"
#include "platform/Store.h"

namespace indeximport {

struct ImportParams {
  // One product per value column (one per read.columns entry); none in long form, where each
  // line names its product.
  std::vector<std::string> products;
  ReadOptions read;
  bool skipBad = false;    // import the lines that can be read, list the others
  bool overwrite = false;  // replace stored values that differ from the file's
  bool dryRun = false;     // everything but the write
  // Adds products[0] (the only one) to TabProdotti in the same run.
  std::optional<NewProduct> create;
  // Called while writing with the records written so far and the total to write.
  std::function<void(long long done, long long total)> progress;
};

enum class ImportStatus {
  Imported,        // written (or, with dryRun, would be): conflicts included
  Refused,         // the file cannot be imported as it is; nothing written
  UnknownProduct,  // a product that TabProdotti lacks, without create
  BadRequest,      // parameters that do not fit together or a product that cannot be created
};

// A value of 1 or less: stored, but the month view shows it as empty.
struct LowValue {
  platform::DayNumber day = 0;
  double value = 0;
  int line = 0;
};

struct ProductImport {
  std::string code;  // as TabProdotti stores it
  bool created = false;
  long long records = 0;  // distinct dates of the file for the product
  long long repeats = 0;  // dates repeated with the same value, counted once
  long long added = 0, unchanged = 0, replaced = 0, conflicts = 0;
  platform::DayNumber first = 0, last = 0;  // of the file's dates; 0 when none
  std::vector<Conflict> conflictList;       // the first kListedLines
  long long lowCount = 0;
  std::vector<LowValue> lowValues;  // the first kListedLines
};

struct ImportResult {
  ImportStatus status = ImportStatus::Refused;
  std::string message;  // why it was refused ("" otherwise), in Italian
  FileRead file;        // dialect, formats, bad lines; its series are emptied after use
  std::vector<ProductImport> products;
  std::vector<std::string> unknownProducts;  // the first kListedLines
  std::vector<RepeatedDate> repeated;        // the first kListedLines
  long long repeatedCount = 0;
  long long skipped = 0;  // bad lines left out with skipBad
  bool written = false;   // the records are committed
  std::string target;     // the index database as messages name it

  long long total(long long ProductImport::*count) const;
};

struct ImportStores {
  platform::Database& dataDb;
  IndexTarget& index;
};

// Reads `bytes` and, when the file passes every check, writes its records (unless dryRun).
// Refusals (status other than Imported) write nothing. Storage failures throw StoreError with
// the engine's message; nothing is then written either: the run's transaction is rolled back.
ImportResult importIndex(std::string bytes, const ImportParams& params, ImportStores stores);

}  // namespace indeximport
