// The products an import may write index values for: those of TabProdotti in the data
// database, found by code as the suite compares codes (trimmed, without regard to case), and
// the one new product an import may add there.
#pragma once

#include <optional>
#include <string>

#include "platform/Store.h"

namespace indeximport {

// A product to add with the import. Only the columns this program knows are written; the
// suite's own product maintenance completes the rest.
struct NewProduct {
  std::string description;
  std::string currency;  // Moneta, e.g. "EUR"
  std::string group;     // "" or a GrpCodice of TabGruppi
  std::string category;  // "" or a Codice of TabCategorie
};

class ProductCatalogue {
 public:
  explicit ProductCatalogue(platform::Database& dataDb);

  // The code as TabProdotti stores it (trimmed), or nullopt when there is no such product.
  // A code written in Windows-1252 in the table is found from its UTF-8 form too.
  std::optional<std::string> find(const std::string& code);
  // Why `product` cannot be added under `code` (Italian; "" when it can): an empty code,
  // description or currency, a code already present, a group or category that does not exist.
  std::string checkNew(const std::string& code, const NewProduct& product);
  // Adds the product (Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici = 0) inside the
  // caller's transaction on the data database. Throws StoreError on failure.
  void add(const std::string& code, const NewProduct& product);

 private:
  platform::Database& db_;
  platform::PreparedQuery product_, group_, category_;
};

}  // namespace indeximport
