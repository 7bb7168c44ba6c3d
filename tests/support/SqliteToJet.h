// Copies a SQLite database into a new Jet file, so that the fixtures the tests and benchmarks
// already make as SQLite files (the demo installation, the large index database) exist as the
// suite's own Jet files too, with the same content.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "support/JetWriter.h"

namespace jetfixture {

struct SqliteToJetParams {
  std::string from;  // an existing SQLite file
  std::string to;    // the Jet file to write; replaced when present
  // Columns of ISO date text ("YYYY-MM-DD", optionally " HH:MM:SS") to store as DateTime, as
  // "Table.Column".
  std::set<std::string> dateColumns;
  JetVersion version = JetVersion::Jet4;
};

// Copies every table of `from` (SQLite's own tables left out) in creation order: same table and
// column names and column order, rows in rowid order. Columns map by declared type: INTEGER to
// Long, REAL/FLOAT/DOUBLE to Double, BLOB to Ole, any other to Text, or Memo when a value is
// longer than 255 characters; the date columns to DateTime. Returns the number of rows copied.
// Throws SQLite::Exception when `from` cannot be read, std::invalid_argument when a value does
// not fit its Jet column (a number out of the Long range, a date column holding another text),
// std::runtime_error when `to` cannot be written; no file is left at `to` then.
std::int64_t copySqliteToJet(const SqliteToJetParams& params);

}  // namespace jetfixture
