// Fills the product tables of an open data database (TabGruppi, TabCategorie, TabProdotti)
// through prepared inserts, for the generators of demo and benchmark data. The caller holds
// the transaction; engine failures surface as SQLite::Exception for the caller to translate.
#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <string>

namespace utilities {

class ProductWriter {
 public:
  explicit ProductWriter(SQLite::Database& db);

  void addGroup(const std::string& code, const std::string& description);
  // `type` "S" marks a category whose products carry no index series.
  void addCategory(const std::string& code, const std::string& description,
                   const std::string& type);
  void addProduct(const std::string& code, const std::string& description,
                  const std::string& currency, const std::string& group,
                  const std::string& category, bool noIndexSeries);

 private:
  SQLite::Statement group_;
  SQLite::Statement category_;
  SQLite::Statement product_;
};

}  // namespace utilities
