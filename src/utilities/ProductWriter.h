// Fills the product tables of an open data database (TabGruppi, TabCategorie, TabProdotti)
// through prepared inserts, for the generators of demo and benchmark data. The caller holds
// the transaction; engine failures surface as SQLite::Exception for the caller to translate.
#pragma once

#include <memory>
#include <string>

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace utilities {

class ProductWriter {
 public:
  explicit ProductWriter(SQLite::Database& db);
  ~ProductWriter();
  ProductWriter(const ProductWriter&) = delete;
  ProductWriter& operator=(const ProductWriter&) = delete;

  void addGroup(const std::string& code, const std::string& description);
  // `type` "S" marks a category whose products carry no index series.
  void addCategory(const std::string& code, const std::string& description,
                   const std::string& type);
  void addProduct(const std::string& code, const std::string& description,
                  const std::string& currency, const std::string& group,
                  const std::string& category, bool noIndexSeries);

 private:
  std::unique_ptr<SQLite::Statement> group_;
  std::unique_ptr<SQLite::Statement> category_;
  std::unique_ptr<SQLite::Statement> product_;
};

}  // namespace utilities
