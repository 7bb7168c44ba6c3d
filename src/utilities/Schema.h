// The tables of the suite's four databases that this program relies on, as SQLite schema. Used
// to build the demo installation, the benchmark database and the test databases; the program
// itself never creates a database file.
#pragma once

#include <string>

namespace SQLite {
class Database;
}

namespace utilities {

// Create a new database file at `path` with its tables (the file must not exist), or, with the
// SQLite::Database overloads, add the tables to an open database. The data and visits databases
// get every table the program attaches from them (TabProdotti, TabGruppi and TabCategorie with
// their real columns); `except` names a table to leave out (for tests of a damaged installation).
void createDataDb(const std::string& path, const std::string& except = "");
void createVisitsDb(const std::string& path, const std::string& except = "");
void createIndexDb(const std::string& path);
void createWorkDb(const std::string& path);

void createDataTables(SQLite::Database& db, const std::string& except = "");
void createVisitsTables(SQLite::Database& db, const std::string& except = "");
void createIndexTables(SQLite::Database& db);
// createIndexTables in two steps, for bulk loading: the table Indici first, and its index
// "primaria" once the rows are in (building it at the end is faster than keeping it up).
void createIndexTableOnly(SQLite::Database& db);
void createIndexTableIndex(SQLite::Database& db);

}  // namespace utilities
