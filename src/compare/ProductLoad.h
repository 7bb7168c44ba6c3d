// What the comparison window needs of a product once it is chosen: its index history (first and
// last index dates, the years between them), where the comparison's start year stands among
// those years, and its description.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "statind/PeriodStatistics.h"

namespace compare {

struct ProductLoad {
  statind::ProductRange range;
  std::vector<int> years;   // first index year .. last index year, for both year lists
  int startPosition = 0;    // position of the start year in `years`; 0 when it is not there
  std::string description;  // TabProdotti.Descrizione, "" for a product not listed there
};

// Loads `product` (trimmed) for a comparison starting at `startYear`, its history ending on or
// before `today`. nullopt when the product has no index record: then nothing is to change.
// Storage errors throw StoreError.
std::optional<ProductLoad> loadProduct(indexdata::IndexLookup& lookup, const std::string& product,
                                       int startYear, platform::DayNumber today);

// The product's description in TabProdotti; "" when it is not listed.
std::string productDescription(platform::Database& dataDb, const std::string& product);

}  // namespace compare
