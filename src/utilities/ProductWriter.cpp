#include "utilities/ProductWriter.h"

#include <SQLiteCpp/SQLiteCpp.h>

namespace utilities {

ProductWriter::ProductWriter(SQLite::Database& db)
    : group_(std::make_unique<SQLite::Statement>(
          db, "INSERT INTO TabGruppi (GrpCodice, GrpDescrizione) VALUES (?1, ?2)")),
      category_(std::make_unique<SQLite::Statement>(
          db, "INSERT INTO TabCategorie (Codice, Descrizione, Tipo) VALUES (?1, ?2, ?3)")),
      product_(std::make_unique<SQLite::Statement>(
          db,
          "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici) "
          "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")) {}

ProductWriter::~ProductWriter() = default;

void ProductWriter::addGroup(const std::string& code, const std::string& description) {
  group_->bind(1, code);
  group_->bind(2, description);
  group_->exec();
  group_->reset();
}

void ProductWriter::addCategory(const std::string& code, const std::string& description,
                                const std::string& type) {
  category_->bind(1, code);
  category_->bind(2, description);
  category_->bind(3, type);
  category_->exec();
  category_->reset();
}

void ProductWriter::addProduct(const std::string& code, const std::string& description,
                               const std::string& currency, const std::string& group,
                               const std::string& category, bool noIndexSeries) {
  product_->bind(1, code);
  product_->bind(2, description);
  product_->bind(3, currency);
  product_->bind(4, group);
  product_->bind(5, category);
  product_->bind(6, noIndexSeries ? 1 : 0);
  product_->exec();
  product_->reset();
}

}  // namespace utilities
