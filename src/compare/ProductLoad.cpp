#include "compare/ProductLoad.h"

#include <algorithm>

#include "statind/PeriodLookups.h"

namespace compare {

std::optional<ProductLoad> loadProduct(indexdata::IndexLookup& lookup, const std::string& product,
                                       int startYear, platform::DayNumber today) {
  auto range = statind::productRange(lookup, product, today);
  if (!range) return std::nullopt;
  ProductLoad load;
  load.range = *range;
  load.years = range->years();
  const auto found = std::find(load.years.begin(), load.years.end(), startYear);
  load.startPosition = found == load.years.end() ? 0 : static_cast<int>(found - load.years.begin());
  load.description = productDescription(lookup.dataDb(), product);
  return load;
}

std::string productDescription(platform::Database& dataDb, const std::string& product) {
  const auto rows =
      dataDb.snapshot("SELECT Descrizione FROM TabProdotti WHERE Codice IN (?1, cp1252(?1))",
                      {statind::trimmed(product)});
  if (rows.empty()) return "";
  return platform::valueText(rows.front()["Descrizione"]);
}

}  // namespace compare
