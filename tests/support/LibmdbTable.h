// A table of a Jet file as the Jet reader library (libmdb) reads it, so that the tests can check
// the files the Jet writer makes against the reader the program relies on.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct LibmdbTable {
  std::vector<std::string> columns;
  std::vector<int> types;  // the library's type codes (MDB_TEXT...), one per column
  // Each value as the library's text (UTF-8; dates as "YYYY-MM-DD HH:MM:SS"; Ole and Binary
  // values as their bytes); nullopt for a Null, and for an empty text, which the library's
  // values do not tell apart.
  std::vector<std::vector<std::optional<std::string>>> rows;
  // Rows the library returned although they are marked deleted (libmdb 1.0 does not skip them):
  // counted here, left out of `rows`.
  int deletedRows = 0;
  unsigned declaredRows = 0;  // the row count the table definition holds
  int usageMapType = -1;      // 0 inline, 1 reference

  // Reads every row of `table` in `file`. Throws std::runtime_error when the library cannot
  // open the file or find the table.
  static LibmdbTable read(const std::string& file, const std::string& table);
  // The user tables of the catalogue, in its order (system tables left out).
  static std::vector<std::string> userTables(const std::string& file);
};

}  // namespace testsupport
