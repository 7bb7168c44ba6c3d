#include "startup/Databases.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/ScriptedDesktop.h"
#include "support/SmallInstallation.h"

using platform::Answer;
using platform::Buttons;

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kOpeningCaptions = {
    "Aggancio WorkSpace operativo",    "Apertura DataBase operativo",
    "Aggancio WorkSpace di lavoro",    "Apertura DataBase di lavoro",
    "Aggancio WorkSpace delle Visite", "Apertura DataBase delle Visite",
    "Aggancio WorkSpace degli indici", "Apertura DataBase degli indici"};

// The journal mode the file's header holds, as the engine reports it.
std::string journalMode(const std::string& path) {
  SQLite::Database db(path);
  db.exec("SELECT count(*) FROM sqlite_master");
  return db.execAndGet("PRAGMA main.journal_mode").getString();
}

class DatabasesTest : public ::testing::Test {
 protected:
  DatabasesTest() {
    params_.baseFolder = install_.base;
    params_.dataDbPath = install_.base + "OPER/DatiDV.mdb";
    params_.visitsDbPath = install_.base + "OPER/VisiteDV.mdb";
    params_.workDbPath = install_.work + "OPER/WorkDV.mdb";
  }

  bool start() {
    captions_.clear();
    dbs_ = startup::Databases();
    return startup::openDatabases(params_, dbs_, desktop_,
                                  [this](const std::string& c) { captions_.push_back(c); });
  }

  testsupport::SmallInstallation install_;
  testsupport::TempFolder& folder_ = install_.folder;
  startup::AppParams params_;
  startup::Databases dbs_;
  platform::ScriptedDesktop desktop_;
  std::vector<std::string> captions_;
};

}  // namespace

TEST_F(DatabasesTest, FirstStartAttachesAllAndTheSecondChangesNothing) {
  ASSERT_TRUE(start());
  auto expected = kOpeningCaptions;
  for (const char* c : {"Connessione Tabelle Base", "Connessione Tabelle delle Visite",
                        "Connessione Tabelle degli Indici"})
    expected.push_back(c);
  EXPECT_EQ(captions_, expected);
  EXPECT_TRUE(dbs_.dbOpened && dbs_.indexTableOpen && dbs_.attachedThisStart);
  EXPECT_EQ(params_.indexDbPath, params_.baseFolder + "IndiciDV.mdb");
  EXPECT_EQ(startup::countValidAttachments(*dbs_.workDb), 50);
  // Three files, each attached once, answer every linked table on the work database.
  EXPECT_EQ(dbs_.workDb->snapshot("PRAGMA database_list").size(), 5u);
  EXPECT_TRUE(dbs_.workDb->snapshot("SELECT * FROM Indici, TabAzioni, Cedole").empty());
  EXPECT_TRUE(desktop_.shown.empty());

  startup::closeDatabases(dbs_, desktop_);
  EXPECT_FALSE(dbs_.workDb || dbs_.indexTable || dbs_.dbOpened);
  const std::string before = testsupport::TempFolder::read(params_.workDbPath);
  ASSERT_TRUE(start());
  EXPECT_EQ(captions_, kOpeningCaptions);
  EXPECT_FALSE(dbs_.attachedThisStart);
  startup::closeDatabases(dbs_, desktop_);
  EXPECT_EQ(testsupport::TempFolder::read(params_.workDbPath), before);
}

TEST_F(DatabasesTest, MovedSourceFileRelinksItsTable) {
  ASSERT_TRUE(start());
  const auto linkRows = [&] { return dbs_.workDb->snapshot("SELECT rowid, * FROM MSysLinks"); };
  const auto before = linkRows();
  startup::closeDatabases(dbs_, desktop_);
  fs::create_directories(folder_.path() / "base2");
  fs::rename(params_.baseFolder + "IndiciDV.mdb", folder_.file("base2/IndiciDV.mdb"));
  params_.baseFolder = folder_.file("base2") + "/";

  ASSERT_TRUE(start());
  EXPECT_TRUE(dbs_.attachedThisStart);
  EXPECT_EQ(startup::countValidAttachments(*dbs_.workDb), 50);
  EXPECT_EQ(dbs_.workDb->tableDefs().find("Indici")->connect,
            ";DATABASE=" + folder_.file("base2/IndiciDV.mdb"));
  EXPECT_TRUE(dbs_.workDb->snapshot("SELECT * FROM Indici").empty());
  EXPECT_EQ(dbs_.workDb->snapshot("PRAGMA database_list").size(), 5u);  // the old file let go
  // The links that already pointed at their files are kept as they were.
  const auto after = linkRows();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i + 1 < after.size(); ++i)
    EXPECT_EQ(after[i].at(1), before[i].at(1)) << i;
  EXPECT_EQ(platform::valueText(after.back()["Name"]), "Indici");
}

TEST_F(DatabasesTest, MissingSourceTableShowsBothBoxesAndKeepsThePreviousLinks) {
  ASSERT_TRUE(start());
  dbs_.workDb->tableDefs().remove("Cedole");  // one link short: the next start relinks
  startup::closeDatabases(dbs_, desktop_);
  SQLite::Database(params_.dataDbPath, SQLite::OPEN_READWRITE).exec("DROP TABLE TabGruppi");

  EXPECT_FALSE(start());
  const std::string text = "ERRORE IN CONNESSIONE TABELLA BASE TabGruppi";
  ASSERT_EQ(desktop_.shown.size(), 2u);
  EXPECT_EQ(desktop_.shown[0].text, text);
  EXPECT_EQ(desktop_.shown[0].title, "STATIND -ERRORE CONNESIONE TABELLE");
  EXPECT_EQ(desktop_.shown[1].text, text);
  EXPECT_EQ(desktop_.shown[1].buttons, Buttons::RetryCancel);
  EXPECT_EQ(params_.lastAnswer, static_cast<int>(Answer::Cancel));
  EXPECT_FALSE(dbs_.dataDb || dbs_.workDb || dbs_.dbOpened);
  // The relinking was undone as a whole: the links made before it are all still there.
  auto work = platform::Database::open(params_.workDbPath);
  EXPECT_EQ(startup::countValidAttachments(*work), 49);
  EXPECT_EQ(work->snapshot("SELECT * FROM AbbVisite").size(), 0u);
}

TEST_F(DatabasesTest, RetryAfterTheMissingFileIsRestoredGoesOn) {
  fs::rename(params_.dataDbPath, folder_.file("saved.mdb"));
  desktop_.answers = {Answer::Retry};
  desktop_.onMessage = [&](const platform::Message&) {
    fs::rename(folder_.file("saved.mdb"), params_.dataDbPath);
  };
  ASSERT_TRUE(start());
  ASSERT_EQ(desktop_.shown.size(), 1u);
  EXPECT_EQ(desktop_.shown[0].text, "DATABASE " + params_.dataDbPath + " INESISTENTE");
  EXPECT_TRUE(dbs_.dataDb && dbs_.workDb && dbs_.visitsDb && dbs_.indexDb && dbs_.indexTable);
  // Two captions of the failed attempt, then the whole opening and the three of attaching.
  EXPECT_EQ(captions_.size(), 2 + kOpeningCaptions.size() + 3);
}

// Only a missing name is "INESISTENTE"; a name that is there but no database file says what it
// is instead, and a FIFO under the name is not waited on.
TEST_F(DatabasesTest, WhatStandsUnderADatabaseNameIsSaid) {
  fs::remove(params_.dataDbPath);
  const std::string head = "DATABASE " + params_.dataDbPath + " ";
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { fs::create_directory(params_.dataDbPath); }, head + "NON È UN FILE: È UNA CARTELLA"},
      {[&] { ::mkfifo(params_.dataDbPath.c_str(), 0600); }, head + "NON È UN FILE"},
      {[&] { fs::create_symlink(params_.dataDbPath, params_.dataDbPath); },
       head + "NON APRIBILE: collegamenti simbolici in ciclo"}};
  for (const auto& [make, text] : cases) {
    make();
    desktop_.shown.clear();
    EXPECT_FALSE(start());
    ASSERT_EQ(desktop_.shown.size(), 1u);
    EXPECT_EQ(desktop_.shown[0].text, text);
    fs::remove(params_.dataDbPath);
  }
}

TEST_F(DatabasesTest, IndexTableMissingOffersItsOwnRetryThenGivesUp) {
  const std::string indexPath = params_.baseFolder + params_.indexDbName;
  fs::remove(indexPath);
  SQLite::Database(indexPath, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
      .exec("CREATE TABLE x(a)");
  EXPECT_FALSE(start());
  ASSERT_EQ(desktop_.shown.size(), 2u);
  EXPECT_EQ(desktop_.shown[0].text,
            "ERRORE IN APERTURA ARCHIVIO 'INDICI'\n1: no such table: Indici");
  EXPECT_EQ(desktop_.shown[0].title, "ERRORE APERTURA TABELLA");
  EXPECT_EQ(desktop_.shown[1].text, "ERRORE IN APERTURA INDICI\nDataBase: " + indexPath);
}

TEST_F(DatabasesTest, OnlyTheWorkDatabaseKeepsAWriteAheadLog) {
  const std::string indexPath = params_.baseFolder + params_.indexDbName;
  SQLite::Database(indexPath, SQLite::OPEN_READWRITE).exec("PRAGMA journal_mode = WAL");
  for (int run = 0; run < 2; ++run) {  // the second start finds the links already attached
    ASSERT_TRUE(start());
    startup::closeDatabases(dbs_, desktop_);
  }
  EXPECT_EQ(journalMode(params_.workDbPath), "wal");
  for (const auto& shared : {params_.dataDbPath, params_.visitsDbPath, indexPath})
    EXPECT_EQ(journalMode(shared), "delete") << shared;

  // Held open in that mode by another program, the file is left as it is and still reads.
  SQLite::Database other(params_.visitsDbPath, SQLite::OPEN_READWRITE);
  other.exec("PRAGMA journal_mode = WAL");
  other.exec("SELECT count(*) FROM VisiteN");
  ASSERT_TRUE(start());
  EXPECT_TRUE(dbs_.workDb->snapshot("SELECT * FROM VisiteN").empty());
  startup::closeDatabases(dbs_, desktop_);
  EXPECT_EQ(journalMode(params_.visitsDbPath), "wal");
}

TEST_F(DatabasesTest, AFileThatIsThereButCannotBeOpenedIsNamedForWhatIsWrong) {
  // A Jet file is read (through its mirror) when it holds what a Jet file holds; an ACE file
  // never is.
  const std::string jet = std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(2028, '\0');
  const std::string ace = std::string("\0\1\0\0Standard ACE DB\0", 20) + std::string(2028, '\0');
  const std::string head = "DATABASE " + params_.dataDbPath + " ";
  const std::string saved = testsupport::TempFolder::read(params_.dataDbPath);
  const std::vector<std::pair<std::string, std::string>> files = {
      {jet, head + "DANNEGGIATO\n" + params_.dataDbPath + ": catalogo delle tabelle illeggibile"},
      {ace, head + "IN FORMATO NON SUPPORTATO (ACCESS/JET)"},
      {std::string(4096, 'x'), head + "DANNEGGIATO"}};
  for (const auto& [bytes, text] : files) {
    testsupport::TempFolder::write(params_.dataDbPath, bytes);
    desktop_.shown.clear();
    EXPECT_FALSE(start());
    ASSERT_EQ(desktop_.shown.size(), 1u);
    EXPECT_EQ(desktop_.shown[0].text, text);
    EXPECT_EQ(desktop_.shown[0].title, "STATIND -ERRORE");
    EXPECT_EQ(desktop_.shown[0].buttons, Buttons::RetryCancel);
  }
  testsupport::TempFolder::write(params_.dataDbPath, saved);

  // Another program holds the index database for writing past the busy wait, which is waited
  // out once (5 seconds), not once more for the work database's link to it.
  SQLite::Database holder(params_.baseFolder + params_.indexDbName, SQLite::OPEN_READWRITE);
  holder.exec("BEGIN EXCLUSIVE");
  desktop_.shown.clear();
  const auto began = std::chrono::steady_clock::now();
  EXPECT_FALSE(start());
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(8));
  ASSERT_EQ(desktop_.shown.size(), 1u);
  EXPECT_EQ(desktop_.shown[0].text,
            "DATABASE " + params_.baseFolder + "IndiciDV.mdb BLOCCATO DA UN ALTRO PROGRAMMA");
}
