#include "utilities/IndexWriter.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <SQLiteCpp/VariadicBind.h>

namespace utilities {

IndexWriter::IndexWriter(SQLite::Database& db)
    : insert_(db,
              "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon, IndValore) "
              "VALUES (?1, ?2, ?3, ?4)") {}

void IndexWriter::add(const std::string& product, platform::DayNumber day, double valueMon,
                      double value) {
  SQLite::bind(insert_, product, platform::isoDate(day), valueMon, value);
  insert_.exec();
  insert_.reset();
  ++rows_;
}

}  // namespace utilities
