#include "compare/ProductChooser.h"

#include "platform/Strings.h"

namespace compare {

namespace {

const char* kQuery =
    "SELECT TabProdotti.* FROM (TabProdotti INNER JOIN TabGruppi ON TabProdotti.Gruppo = "
    "TabGruppi.GrpCodice) INNER JOIN TabCategorie ON TabProdotti.Categoria = TabCategorie.Codice "
    "WHERE TabCategorie.tipo <> 'S'";
// Qualified: TabCategorie's columns share some of these names.
const char* kOrderBy[] = {" ORDER BY TabProdotti.Codice", " ORDER BY TabProdotti.Descrizione",
                          " ORDER BY TabProdotti.Gruppo", " ORDER BY TabProdotti.Categoria",
                          " ORDER BY TabProdotti.Moneta"};

std::string field(const platform::Row& row, const char* column) {
  return platform::valueText(row[column]);
}

}  // namespace

std::vector<statind::ProductEntry> ProductChooser::products(const std::string& handedOver,
                                                            int sortKey) {
  std::string sql = kQuery;
  std::vector<platform::Value> params;
  const std::string code = platform::trim(handedOver, " \t");
  if (!code.empty()) {
    sql += " AND TabProdotti.Codice IN (?1, cp1252(?1))";
    params.emplace_back(code);
  }
  sql += kOrderBy[sortKey >= 0 && sortKey <= 4 ? sortKey : kSortByDescription];
  std::vector<statind::ProductEntry> entries{{" ", ""}};
  for (const auto& row : dataDb_.snapshot(sql, params)) {
    const std::string rowCode = field(row, "Codice");
    std::vector<std::string> fields{rowCode, field(row, "Descrizione"), field(row, "Gruppo"),
                                    field(row, "Categoria"), field(row, "Moneta")};
    std::string line = productLine(fields[0], fields[1], fields[2], fields[3], fields[4]);
    for (auto& f : fields) f = platform::trim(f, " \t");
    if (fields[1].empty()) fields[1] = kNoDescription;
    entries.push_back({std::move(line), platform::trim(rowCode, " \t"), std::move(fields)});
  }
  return entries;
}

std::string ProductChooser::productLine(const std::string& code, const std::string& description,
                                        const std::string& group, const std::string& category,
                                        const std::string& currency) {
  const std::string shown = platform::trim(description).empty() ? kNoDescription : description;
  return platform::fitChars(code, 9) + " " + platform::fitChars(shown, 29) + " " +
         platform::fitChars(group, 1) + " " + platform::fitChars(category, 25) + " " +
         platform::fitChars(currency, 3);
}

}  // namespace compare
