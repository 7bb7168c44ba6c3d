#include "statind/ProductLists.h"

#include "platform/Strings.h"

namespace statind {

namespace {

const char* kProductQuery =
    "SELECT TabProdotti.Codice, TabProdotti.Descrizione, TabProdotti.Moneta FROM (TabProdotti "
    "INNER JOIN TabGruppi ON TabProdotti.Gruppo = TabGruppi.GrpCodice) INNER JOIN TabCategorie "
    "ON TabProdotti.Categoria = TabCategorie.Codice";
// Qualified: TabCategorie has a Descrizione column too, and an unqualified name is ambiguous.
const char* kByDescription = " ORDER BY TabProdotti.Descrizione";

std::string trim(const std::string& text) {
  return platform::trim(text, " \t");
}

bool isContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// `text` cut or padded with blanks to `width` characters (UTF-8 code points).
std::string fit(const std::string& text, std::size_t width) {
  std::size_t count = 0, pos = 0;
  while (pos < text.size()) {
    if (!isContinuation(static_cast<unsigned char>(text[pos]))) {
      if (count == width) break;
      ++count;
    }
    ++pos;
  }
  return text.substr(0, pos) + std::string(width - count, ' ');
}

std::string text(const platform::Row& row, const char* column) {
  return platform::valueText(row[column]);
}

}  // namespace

std::vector<std::string> ProductLists::groups() {
  std::vector<std::string> entries{" "};
  for (const auto& row :
       dataDb_.snapshot("SELECT GrpCodice, GrpDescrizione FROM TabGruppi ORDER BY GrpCodice")) {
    entries.push_back(text(row, "GrpCodice") + " " + text(row, "GrpDescrizione"));
  }
  return entries;
}

std::vector<CategoryEntry> ProductLists::categories() {
  std::vector<CategoryEntry> entries{{" ", ""}};
  // Every column: the suite's table may lack the description, which is then simply not shown.
  for (const auto& row :
       dataDb_.snapshot("SELECT * FROM TabCategorie Where tipo <> 'S' ORDER BY Codice ")) {
    const std::string code = text(row, "Codice");
    std::string description;
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (platform::equalsNoCase(row.names()[i], "Descrizione"))
        description = trim(platform::valueText(row.at(i)));
    }
    entries.push_back({description.empty() ? code : code + " - " + description, trim(code)});
  }
  return entries;
}

std::vector<ProductEntry> ProductLists::products(const std::string& handedOver,
                                                 const std::string& group,
                                                 const std::string& category) {
  std::string sql = kProductQuery;
  std::vector<platform::Value> params;
  if (!trim(handedOver).empty()) {
    sql += " WHERE TabProdotti.Codice IN (?1, cp1252(?1))";
    params.emplace_back(trim(handedOver));
  } else {
    if (!trim(group).empty()) {
      sql += " WHERE TabCategorie.tipo <> 'S' AND TabGruppi.GrpCodice IN (?1, cp1252(?1))";
      params.emplace_back(trim(group));
    } else if (!trim(category).empty()) {
      sql += " WHERE TabCategorie.Codice IN (?1, cp1252(?1))";
      params.emplace_back(trim(category));
    }
    sql += kByDescription;
  }
  std::vector<ProductEntry> entries{{" ", ""}};
  for (const auto& row : dataDb_.snapshot(sql, params)) {
    std::string code = text(row, "Codice");
    entries.push_back(
        {productLine(code, text(row, "Descrizione"), text(row, "Moneta")), trim(code)});
  }
  return entries;
}

std::string ProductLists::productLine(const std::string& code, const std::string& description,
                                      const std::string& currency) {
  return fit(code, 9) + " - " + fit(description, 51) + "~" + currency;
}

std::string ProductLists::groupCode(const std::string& entry) {
  std::string trimmed = trim(entry);
  return trimmed.substr(0, trimmed.find(' '));
}

bool ProductLists::splitLine(const std::string& line, std::string& code, std::string& description,
                             std::string& currency) {
  auto dash = line.find(" - ");
  if (dash == std::string::npos) return false;
  code = trim(line.substr(0, dash));
  auto tilde = line.rfind('~');
  if (tilde != std::string::npos && tilde < dash) tilde = std::string::npos;
  std::string rest =
      line.substr(dash + 3, tilde == std::string::npos ? std::string::npos : tilde - dash - 3);
  description = trim(fit(rest, 50));
  currency = tilde == std::string::npos ? "" : trim(line.substr(tilde + 1));
  return true;
}

std::optional<ProductChoice> ProductLists::choose(const ProductEntry& entry) {
  ProductChoice choice;
  if (!splitLine(entry.line, choice.code, choice.description, choice.currency)) return std::nullopt;
  if (!entry.code.empty()) choice.code = entry.code;
  return choice;
}

int ProductLists::indexOf(const std::vector<ProductEntry>& entries, const std::string& code) {
  const std::string wanted = trim(code);
  if (wanted.empty()) return -1;  // the blank entry stands for no product
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (platform::equalsNoCase(entries[i].code, wanted)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace statind
