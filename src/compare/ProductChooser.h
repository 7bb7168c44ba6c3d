// The product list of the comparison window: one fixed-width line per product (code,
// description, group, category, currency in columns), sortable by any of the five columns.
// Products of a category of Tipo "S" (no index series) are left out.
#pragma once

#include <string>
#include <vector>

#include "platform/Store.h"
#include "statind/ProductLists.h"

namespace compare {

// The column headers, in sort-key order; key 1 (description) at opening.
inline constexpr const char* kSortHeaders[] = {" COD.", "DESCRIZIONE", "GRP", "CATEGORIA", "MON"};
inline constexpr int kSortByDescription = 1;
// What a product without a description shows in its place.
inline constexpr const char* kNoDescription = "************";

class ProductChooser {
 public:
  explicit ProductChooser(platform::Database& dataDb) : dataDb_(dataDb) {}

  // A blank entry " ", then the products ordered by column `sortKey` (0..4; any other value
  // orders by description); only `handedOver` when it is not blank. Each product's fields are
  // its code, description (kNoDescription when empty), group, category and currency, trimmed.
  // Throws StoreError on a storage failure.
  std::vector<statind::ProductEntry> products(const std::string& handedOver, int sortKey);

  // Code in 9 characters, description in 29 ("************" when empty), group in 1, category
  // in 25, currency in 3, one blank apart; each cut or padded on the right.
  static std::string productLine(const std::string& code, const std::string& description,
                                 const std::string& group, const std::string& category,
                                 const std::string& currency);

 private:
  platform::Database& dataDb_;
};

}  // namespace compare
