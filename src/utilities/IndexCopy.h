// Moves an office's index database to a database server and back: every record of the file's
// Indici copied into the server's indici, so that each desk can then name the server instead of
// the file and see the same figures, or the server's records copied into the file again.
#pragma once

#include <functional>
#include <string>

#include "platform/PgConnection.h"
#include "platform/Store.h"

namespace utilities {

struct IndexCopyParams {
  bool replace = false;  // empty a target that already holds records first
  int batch = 1000;      // records per statement
  // Called after each batch with the records read so far and the total.
  std::function<void(long long done, long long total)> progress;
};

struct IndexCopyResult {
  long long copied = 0;
  // Records left out: a code or date that is missing, or no valid date (no lookup can ever use
  // them, and a server column of dates cannot hold them).
  long long skipped = 0;
  // Values that were no number (text carried over from old files) copied as Null. Always 0
  // from the server, whose columns hold numbers only.
  long long blanked = 0;
};

// Creates the server's table and index when missing and copies `source`'s Indici into them in
// one transaction: all or nothing. Codes that are not valid UTF-8 are read as Windows-1252.
// Throws std::runtime_error, before writing anything, when the target holds records and
// `replace` is false; StoreError, before copying, when the target's table has columns that
// cannot hold the values exactly (PgIndexCursor::checkColumns), and on a storage failure (the
// target is then unchanged).
IndexCopyResult copyIndexToServer(platform::Database& source, platform::PgConnection& target,
                                  const IndexCopyParams& params);

// Copies the server's indici into `target`'s Indici (the installation's index file) in one
// write transaction on the file, taken at once (waiting a few seconds for a writer that holds
// it): all or nothing. Dates as the file stores them (ISO text), values as numbers or Null,
// codes as the server holds them (UTF-8), records in the server's physical order, so that
// records of one code and date keep the order lookups meet them in. The server is read `batch`
// records at a time, in one read-only snapshot (or in the transaction `source` has open).
// Throws std::runtime_error, before writing anything, when the file holds records and
// `replace` is false; StoreError when the server's columns cannot be read exactly, and on a
// storage failure (the file is then unchanged).
IndexCopyResult copyIndexFromServer(platform::PgConnection& source, platform::Database& target,
                                    const IndexCopyParams& params);

}  // namespace utilities
