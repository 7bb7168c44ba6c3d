#include "utilities/ProductWriter.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <SQLiteCpp/VariadicBind.h>

namespace utilities {

ProductWriter::ProductWriter(SQLite::Database& db)
    : group_(db, "INSERT INTO TabGruppi (GrpCodice, GrpDescrizione) VALUES (?1, ?2)"),
      category_(db, "INSERT INTO TabCategorie (Codice, Descrizione, Tipo) VALUES (?1, ?2, ?3)"),
      product_(db,
               "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici) "
               "VALUES (?1, ?2, ?3, ?4, ?5, ?6)") {}

namespace {

template <typename... Values>
void insert(SQLite::Statement& statement, const Values&... values) {
  SQLite::bind(statement, values...);
  statement.exec();
  statement.reset();
}

}  // namespace

void ProductWriter::addGroup(const std::string& code, const std::string& description) {
  insert(group_, code, description);
}

void ProductWriter::addCategory(const std::string& code, const std::string& description,
                                const std::string& type) {
  insert(category_, code, description, type);
}

void ProductWriter::addProduct(const std::string& code, const std::string& description,
                               const std::string& currency, const std::string& group,
                               const std::string& category, bool noIndexSeries) {
  insert(product_, code, description, currency, group, category, noIndexSeries ? 1 : 0);
}

}  // namespace utilities
