#include "indeximport/ProductCatalogue.h"

#include "platform/Strings.h"
#include "platform/TextEncoding.h"

namespace indeximport {

ProductCatalogue::ProductCatalogue(platform::Database& dataDb)
    : db_(dataDb),
      product_(dataDb, "SELECT Codice FROM TabProdotti WHERE Codice = ?1"),
      group_(dataDb, "SELECT GrpCodice FROM TabGruppi WHERE GrpCodice = ?1"),
      category_(dataDb, "SELECT Codice FROM TabCategorie WHERE Codice = ?1") {}

std::optional<std::string> ProductCatalogue::find(const std::string& code) {
  const std::string wanted = platform::trim(code);
  if (wanted.empty()) return std::nullopt;
  auto row = product_.first({wanted});
  if (!row) {
    const std::string ansi = platform::utf8ToCp1252(wanted);
    if (ansi != wanted) row = product_.first({ansi});
  }
  if (!row) return std::nullopt;
  return platform::trim(platform::valueText(row->at(0)));
}

std::string ProductCatalogue::checkNew(const std::string& code, const NewProduct& product) {
  const std::string trimmed = platform::trim(code);
  if (trimmed.empty()) return "codice del nuovo prodotto vuoto";
  if (find(trimmed)) return "il prodotto " + trimmed + " esiste già";
  if (platform::trim(product.description).empty()) return "descrizione del nuovo prodotto vuota";
  if (platform::trim(product.currency).empty()) return "moneta del nuovo prodotto mancante";
  const std::string group = platform::trim(product.group);
  if (!group.empty() && !group_.first({group})) return "gruppo " + group + " inesistente";
  const std::string category = platform::trim(product.category);
  if (!category.empty() && !category_.first({category}))
    return "categoria " + category + " inesistente";
  return "";
}

void ProductCatalogue::add(const std::string& code, const NewProduct& product) {
  const auto orNull = [](const std::string& text) -> platform::Value {
    const std::string trimmed = platform::trim(text);
    if (trimmed.empty()) return {};
    return trimmed;
  };
  db_.execute(
      "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici) "
      "VALUES (?1, ?2, ?3, ?4, ?5, 0)",
      {platform::trim(code), platform::trim(product.description),
       platform::upperCase(platform::trim(product.currency)), orNull(product.group),
       orNull(product.category)});
}

}  // namespace indeximport
