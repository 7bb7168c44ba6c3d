#include "utilities/Schema.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <filesystem>
#include <stdexcept>

#include "startup/Databases.h"

namespace utilities {

namespace {

// Tables whose columns the program reads; every other table of the list gets a generic shape.
const char* kTabProdotti =
    "CREATE TABLE TabProdotti (Codice TEXT COLLATE NOCASE NOT NULL, Descrizione TEXT, "
    "Moneta TEXT, Gruppo TEXT COLLATE NOCASE, Categoria TEXT COLLATE NOCASE, NoIndici INTEGER)";
const char* kTabProdottiIndex = "CREATE UNIQUE INDEX primaria_TabProdotti ON TabProdotti(Codice)";
const char* kTabGruppi =
    "CREATE TABLE TabGruppi (GrpCodice TEXT COLLATE NOCASE PRIMARY KEY, GrpDescrizione TEXT)";
const char* kTabCategorie =
    "CREATE TABLE TabCategorie (Codice TEXT COLLATE NOCASE PRIMARY KEY, Descrizione TEXT, "
    "Tipo TEXT)";

SQLite::Database createFile(const std::string& path) {
  if (std::filesystem::exists(path)) throw std::runtime_error("file already exists: " + path);
  return SQLite::Database(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
}

void createGenericTable(SQLite::Database& db, const std::string& name) {
  db.exec("CREATE TABLE \"" + name +
          "\" (Id INTEGER PRIMARY KEY, Codice TEXT COLLATE NOCASE, Descrizione TEXT)");
}

}  // namespace

void createDataTables(SQLite::Database& db, const std::string& except) {
  SQLite::Transaction tx(db);
  for (const auto& name : startup::dataAttachments()) {
    if (name == except) continue;
    if (name == "TabProdotti") {
      db.exec(kTabProdotti);
      db.exec(kTabProdottiIndex);
    } else if (name == "TabGruppi") {
      db.exec(kTabGruppi);
    } else if (name == "TabCategorie") {
      db.exec(kTabCategorie);
    } else {
      createGenericTable(db, name);
    }
  }
  tx.commit();
}

void createIndexTables(SQLite::Database& db) {
  createIndexTableOnly(db);
  createIndexTableIndex(db);
}

void createIndexTableOnly(SQLite::Database& db) {
  db.exec(
      "CREATE TABLE Indici (IndProdotto TEXT COLLATE NOCASE NOT NULL, IndData TEXT NOT NULL, "
      "IndValoreMon REAL, IndValore REAL)");
}

void createIndexTableIndex(SQLite::Database& db) {
  db.exec("CREATE INDEX primaria ON Indici(IndProdotto, IndData)");
}

void createDataDb(const std::string& path, const std::string& except) {
  auto db = createFile(path);
  createDataTables(db, except);
}

void createVisitsTables(SQLite::Database& db, const std::string& except) {
  SQLite::Transaction tx(db);
  for (const auto& name : startup::visitsAttachments())
    if (name != except) createGenericTable(db, name);
  tx.commit();
}

void createVisitsDb(const std::string& path, const std::string& except) {
  auto db = createFile(path);
  createVisitsTables(db, except);
}

void createIndexDb(const std::string& path) {
  auto db = createFile(path);
  createIndexTables(db);
}

void createWorkDb(const std::string& path) {
  auto db = createFile(path);
  db.exec(
      "CREATE TABLE WkStatInd (Data TEXT, indice TEXT, Percento1 TEXT, Percento2 TEXT, "
      "Percento3 TEXT)");
}

}  // namespace utilities
