#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/Store.h"
#include "support/TempFolder.h"

using platform::Database;
using platform::StoreError;
using platform::Value;

namespace {

std::string errorOpening(const std::string& path) {
  try {
    Database::open(path);
  } catch (const StoreError& e) {
    return e.what();
  }
  return "";
}

std::unique_ptr<Database> productsDb(const testsupport::TempFolder& folder) {
  const std::string path = folder.file("p.db");
  SQLite::Database(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
      .exec("CREATE TABLE TabProdotti (Codice TEXT COLLATE NOCASE, Valore REAL, Note TEXT)");
  return Database::open(path);
}

}  // namespace

TEST(Store, OpenRefusesWhatIsNoDatabaseAndNeverCreatesOne) {
  testsupport::TempFolder folder;
  const std::string missing = folder.file("Missing.mdb");
  EXPECT_NE(errorOpening(missing).find(missing), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(missing));

  const std::string jet = folder.file("Old.mdb");
  testsupport::TempFolder::write(
      jet, std::string("\0\1\0\0Standard Jet DB\0\0\0\0", 23) + std::string(2000, 'x'));
  EXPECT_EQ(errorOpening(jet), "Formato di database non supportato (Jet/Access): " + jet);

  const std::string garbage = folder.file("Garbage.mdb");
  testsupport::TempFolder::write(garbage, std::string(4096, 'g'));
  const std::string message = errorOpening(garbage);
  EXPECT_NE(message.find("not a database"), std::string::npos) << message;
  EXPECT_NE(message.find(garbage), std::string::npos) << message;
}

TEST(Store, SnapshotBindsValuesAndKeepsTypes) {
  testsupport::TempFolder folder;
  auto db = productsDb(folder);
  db->execute("INSERT INTO TabProdotti VALUES (?1, ?2, ?3)", {"L'ORO", 1.5, Value{}});
  db->execute("INSERT INTO TabProdotti VALUES ('B', 2, 'x')");
  // A code with a quote is data, never SQL; the column collates without regard to case.
  const auto rows = db->snapshot("SELECT * FROM TabProdotti WHERE Codice = ?1", {"l'oro"});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(platform::valueText(rows[0]["codice"]), "L'ORO");
  EXPECT_EQ(std::get<double>(rows[0]["Valore"]), 1.5);
  EXPECT_TRUE(platform::isNull(rows[0]["Note"]));
  EXPECT_THROW(rows[0]["Missing"], StoreError);
  EXPECT_EQ(db->snapshot("SELECT Valore FROM TabProdotti WHERE Codice = 'B'")[0].at(0), Value(2.0));
  EXPECT_THROW(db->snapshot("SELECT * FROM Nothing"), StoreError);
}

TEST(Store, ExecuteAcceptsJetDeleteAndCountsChanges) {
  testsupport::TempFolder folder;
  auto db = productsDb(folder);
  for (const char* code : {"A", "B", "C"})
    db->execute("INSERT INTO TabProdotti (Codice) VALUES (?1)", {code});
  EXPECT_EQ(db->execute("Delete * From TabProdotti WHERE Codice = ?1", {"a"}), 1);
  EXPECT_EQ(db->execute("  delete *  from TabProdotti"), 2);
  EXPECT_TRUE(db->snapshot("SELECT * FROM TabProdotti").empty());
}

TEST(Store, PreparedQueryRebindsEachRun) {
  testsupport::TempFolder folder;
  auto db = productsDb(folder);
  platform::PreparedQuery insert(*db, "INSERT INTO TabProdotti (Codice, Valore) VALUES (?1, ?2)");
  for (int i = 0; i < 5; ++i)
    insert.run({std::string("P") + std::to_string(i), static_cast<double>(i)});
  platform::PreparedQuery query(*db, "SELECT Valore FROM TabProdotti WHERE Codice = ?1");
  EXPECT_EQ(query.first({"P3"})->at(0), Value(3.0));
  EXPECT_EQ(query.first({"p4"})->at(0), Value(4.0));
  EXPECT_FALSE(query.first({"P9"}));
  // Fewer parameters than before must not reuse the previous run's text.
  EXPECT_FALSE(query.first());
  EXPECT_EQ(query.run({"P1"}).size(), 1u);
}

TEST(Store, TransactionRollsBackUnlessCommitted) {
  testsupport::TempFolder folder;
  auto db = productsDb(folder);
  {
    Database::Transaction tx(*db);
    db->execute("INSERT INTO TabProdotti (Codice) VALUES ('A')");
  }
  EXPECT_TRUE(db->snapshot("SELECT * FROM TabProdotti").empty());
  {
    Database::Transaction outer(*db);
    db->execute("INSERT INTO TabProdotti (Codice) VALUES ('B')");
    {
      Database::Transaction inner(*db);
      db->execute("INSERT INTO TabProdotti (Codice) VALUES ('C')");
    }
    outer.commit();
  }
  const auto rows = db->snapshot("SELECT Codice FROM TabProdotti");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(platform::valueText(rows[0].at(0)), "B");
}

// The work database's log is not folded into the file at each close, which would make every
// run wait for the disk; a long one is, by the last connection to close.
TEST(Store, AWriteAheadLogOutlivesItsConnectionUntilItGrowsLong) {
  testsupport::TempFolder folder;
  const std::string log = folder.file("p.db-wal");
  auto db = productsDb(folder);
  db->useWriteAheadLog();
  db->execute("INSERT INTO TabProdotti (Codice) VALUES ('A')");
  db.reset();
  EXPECT_TRUE(std::filesystem::exists(log));
  db = Database::open(folder.file("p.db"));
  db->useWriteAheadLog();
  EXPECT_EQ(db->snapshot("SELECT * FROM TabProdotti").size(), 1u);
  for (int i = 0; i < 100; ++i)
    db->execute("INSERT INTO TabProdotti (Codice, Note) VALUES ('B', ?1)",
                {std::string(4000, 'n')});
  db.reset();
  EXPECT_FALSE(std::filesystem::exists(log));
  SQLite::Database alone(folder.file("p.db"), SQLite::OPEN_READONLY);
  EXPECT_EQ(alone.execAndGet("SELECT count(*) FROM TabProdotti").getInt(), 101);
}

// A full disk or a damaged page, on a desk with four databases open: the message says which
// file it was, and what was being done there.
TEST(Store, FailuresNameTheFileAndWhatWasBeingDone) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("p.db");
  const auto failure = [](const std::function<void()>& work) {
    try {
      work();
    } catch (const StoreError& e) {
      return std::string(e.what());
    }
    return std::string("no failure");
  };
  {
    auto db = productsDb(folder);
    db->execute("PRAGMA max_page_count = 4");
    EXPECT_EQ(failure([&] {
                for (int i = 0; i < 100; ++i)
                  db->execute("INSERT INTO TabProdotti (Codice, Note) VALUES ('X', ?1)",
                              {std::string(1000, 'n')});
              }),
              "database or disk is full: " + path + " (scrittura in TabProdotti)");
  }
  std::string bytes = testsupport::TempFolder::read(path);
  bytes.replace(4096, 100, std::string(100, '\xff'));  // the table's first page
  testsupport::TempFolder::write(path, bytes);
  auto damaged = Database::open(path);
  EXPECT_EQ(failure([&] { damaged->snapshot("SELECT * FROM TabProdotti WHERE Valore > 0"); }),
            "database disk image is malformed: " + path + " (lettura di TabProdotti)");
}
