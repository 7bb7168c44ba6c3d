#include "support/JetDemo.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Format.h"
#include "support/LibmdbTable.h"
#include "support/SqliteToJet.h"
#include "support/TempFolder.h"

namespace {

using testsupport::LibmdbTable;
using testsupport::TempFolder;
using Row = std::vector<std::optional<std::string>>;

bool isJetFile(const std::string& path) {
  return TempFolder::read(path).substr(4, 15) == "Standard Jet DB";
}

// Every row of `table` of a SQLite file as libmdb would give it back from the Jet copy: dates of
// the date column as "YYYY-MM-DD 00:00:00", numbers as libmdb prints them.
std::vector<Row> sqliteRows(const std::string& file, const std::string& table,
                            const std::string& dateColumn = "") {
  SQLite::Database db(file);
  SQLite::Statement query(db, "SELECT * FROM \"" + table + "\" ORDER BY rowid");
  std::vector<Row> rows;
  while (query.executeStep()) {
    Row& row = rows.emplace_back();
    for (int i = 0; i < query.getColumnCount(); ++i) {
      const SQLite::Column cell = query.getColumn(i);
      char number[32];
      if (cell.isNull() || (cell.isText() && cell.getString().empty())) {
        row.emplace_back();
      } else if (cell.isFloat()) {
        std::snprintf(number, sizeof number, "%.16g", cell.getDouble());
        row.emplace_back(number);
      } else if (dateColumn == cell.getName()) {
        row.emplace_back(cell.getString() + " 00:00:00");
      } else {
        row.emplace_back(cell.getString());
      }
    }
  }
  return rows;
}

TEST(SqliteToJetTest, CopiesEveryTableWithItsTypesAndRowsInOrder) {
  TempFolder folder;
  const std::string from = folder.file("dati.sqlite"), to = folder.file("dati.mdb");
  {
    SQLite::Database db(from, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(
        "CREATE TABLE Prezzi (Codice TEXT, Giorno TEXT, Valore REAL, Quote INTEGER, Nota TEXT, "
        "Allegato BLOB);"
        "CREATE TABLE \"Con spazio\" (x);"
        "INSERT INTO Prezzi VALUES ('AZ001', '2024-03-15', 12.5, 3, 'Città', x'00FF10');"
        "INSERT INTO Prezzi VALUES ('Ωμέγα', '1900-01-01', NULL, -2147483648, NULL, NULL);"
        "INSERT INTO Prezzi VALUES (NULL, '2199-12-31', -0.125, NULL, '" +
        std::string(300, 'n') +
        "', NULL);"
        "DELETE FROM Prezzi WHERE Codice = 'AZ001';"
        "INSERT INTO Prezzi VALUES ('AZ001', '2024-03-18 09:30:00', 1e-3, 0, '', x'');");
  }
  EXPECT_EQ(jetfixture::copySqliteToJet(
                {.from = from, .to = to, .dateColumns = {"Prezzi.Giorno", "Altra.Data"}}),
            3);

  EXPECT_EQ(LibmdbTable::userTables(to), (std::vector<std::string>{"Prezzi", "Con spazio"}));
  const auto read = LibmdbTable::read(to, "Prezzi");
  EXPECT_EQ(read.types,
            (std::vector<int>{MDB_TEXT, MDB_DATETIME, MDB_DOUBLE, MDB_LONGINT, MDB_MEMO, MDB_OLE}));
  EXPECT_EQ(
      read.rows,
      (std::vector<Row>{
          {"Ωμέγα", "1900-01-01 00:00:00", std::nullopt, "-2147483648", std::nullopt, std::nullopt},
          {std::nullopt, "2199-12-31 00:00:00", "-0.125", std::nullopt, std::string(300, 'n'),
           std::nullopt},
          {"AZ001", "2024-03-18 09:30:00", "0.001", "0", std::nullopt, ""},
      }));
  EXPECT_TRUE(LibmdbTable::read(to, "Con spazio").rows.empty());

  // A value that does not fit leaves no Jet file behind.
  const std::string big = folder.file("grande.sqlite");
  {
    SQLite::Database db(big, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE T (N INTEGER); INSERT INTO T VALUES (4294967296);");
  }
  EXPECT_THROW(jetfixture::copySqliteToJet(
                   {.from = big, .to = folder.file("grande.mdb"), .dateColumns = {}}),
               std::invalid_argument);
  EXPECT_FALSE(std::filesystem::exists(folder.file("grande.mdb")));
}

// make-jet-demo against the demo make-demo writes on the same day: the same configuration, the
// same tables and rows, every database a Jet file.
TEST(JetDemoTest, WritesTheDemoInstallationWithJetFiles) {
  TempFolder folder;
  const std::string sqliteDir = folder.file("sqlite"), jetDir = folder.file("jet");
  const auto run = [&](const std::string& arguments) {
    const std::string command =
        std::string(STATIND_MAKE_JET_DEMO_PATH) + " " + arguments + " >/dev/null 2>&1";
    return WEXITSTATUS(std::system(command.c_str()));
  };
  EXPECT_EQ(run(""), 64);
  const platform::DayNumber today = platform::today();
  ASSERT_EQ(run("'" + jetDir + "' --work"), 0);
  EXPECT_EQ(run("'" + jetDir + "'"), 2);  // a folder holding anything is refused
  const auto plain = utilities::DemoInstallation::make({sqliteDir, today});
  if (platform::today() != today) GTEST_SKIP() << "the day changed while the demos were made";

  auto ini = TempFolder::read(plain.iniPath);
  for (std::size_t at; (at = ini.find(sqliteDir)) != std::string::npos;)
    ini.replace(at, sqliteDir.size(), jetDir);
  EXPECT_EQ(TempFolder::read(jetDir + "/statind.ini"), ini);
  const auto jetFile = [&](const std::string& sqliteFile) {
    return jetDir + sqliteFile.substr(sqliteDir.size());
  };
  for (const auto& file : {plain.dataDb, plain.visitsDb, plain.indexDb, plain.workDb})
    EXPECT_TRUE(isJetFile(jetFile(file))) << file;

  EXPECT_EQ(LibmdbTable::read(jetFile(plain.indexDb), "Indici").rows,
            sqliteRows(plain.indexDb, "Indici", "IndData"));
  SQLite::Database data(plain.dataDb);
  SQLite::Statement tables(data, "SELECT name FROM sqlite_master WHERE type = 'table'");
  std::vector<std::string> names;
  while (tables.executeStep()) names.push_back(tables.getColumn(0).getString());
  EXPECT_EQ(LibmdbTable::userTables(jetFile(plain.dataDb)), names);
  for (const char* table : {"TabProdotti", "TabGruppi", "TabCategorie"})
    EXPECT_EQ(LibmdbTable::read(jetFile(plain.dataDb), table).rows,
              sqliteRows(plain.dataDb, table));
  EXPECT_EQ(LibmdbTable::userTables(jetFile(plain.workDb)),
            (std::vector<std::string>{"WkStatInd"}));
}

}  // namespace
