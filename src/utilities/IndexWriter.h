// Appends records to the table Indici of an open index database through one prepared insert,
// for the generators of demo and benchmark data. The caller holds the transaction; engine
// failures surface as SQLite::Exception for the caller to translate.
#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <string>

#include "platform/Format.h"

namespace utilities {

class IndexWriter {
 public:
  explicit IndexWriter(SQLite::Database& db);

  // One record: product code, date, value in the product's currency (IndValoreMon) and value
  // in the base currency (IndValore).
  void add(const std::string& product, platform::DayNumber day, double valueMon, double value);
  std::int64_t rowsWritten() const { return rows_; }

 private:
  SQLite::Statement insert_;
  std::int64_t rows_ = 0;
};

}  // namespace utilities
