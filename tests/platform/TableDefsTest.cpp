#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Store.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

using platform::StoreError;
using platform::TableDef;

namespace {

class TableDefsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    utilities::createDataDb(dataPath_);
    utilities::createVisitsDb(visitsPath_);
    utilities::createWorkDb(workPath_);
    SQLite::Database data(dataPath_, SQLite::OPEN_READWRITE);
    data.exec("INSERT INTO TabGruppi VALUES ('G1', 'Azionari')");
    data.exec("INSERT INTO TabProdotti (Codice, Descrizione, Gruppo) VALUES ('F1', 'Fondo', 'g1')");
    work_ = platform::Database::open(workPath_);
  }

  TableDef link(const std::string& name, const std::string& file) {
    return {name, 0, ";DATABASE=" + file, name};
  }

  std::size_t rows(const std::string& table) {
    return work_->snapshot("SELECT * FROM " + table).size();
  }

  testsupport::TempFolder folder_;
  std::string dataPath_ = folder_.file("DatiDV.mdb");
  std::string visitsPath_ = folder_.file("VisiteDV.mdb");
  std::string workPath_ = folder_.file("WorkDV.mdb");
  std::unique_ptr<platform::Database> work_;
};

}  // namespace

TEST_F(TableDefsTest, LinkedTablesJoinOnTheWorkDatabase) {
  auto& defs = work_->tableDefs();
  defs.append(link("TabProdotti", dataPath_));
  defs.append(link("TabGruppi", dataPath_));
  defs.append(link("VisiteN", visitsPath_));
  const auto joined = work_->snapshot(
      "SELECT Descrizione, GrpDescrizione FROM TabProdotti INNER JOIN TabGruppi ON "
      "TabProdotti.Gruppo = TabGruppi.GrpCodice WHERE Codice = ?1",
      {"f1"});
  ASSERT_EQ(joined.size(), 1u);
  EXPECT_EQ(platform::valueText(joined[0]["GrpDescrizione"]), "Azionari");

  // WkStatInd, the bookkeeping table and three links; one attachment per file.
  ASSERT_EQ(defs.count(), 5);
  const auto gruppi = defs.find("tabgruppi");
  ASSERT_TRUE(gruppi);
  EXPECT_EQ(gruppi->attributes, TableDef::kAttachedTable);
  EXPECT_EQ(gruppi->connect, ";DATABASE=" + dataPath_);
  EXPECT_EQ(defs.find("WkStatInd")->attributes, 0);
  EXPECT_EQ(defs.find("MSysLinks")->attributes, TableDef::kSystemObject);
  EXPECT_EQ(work_->snapshot("PRAGMA database_list").size(), 4u);  // main, temp, two files
  EXPECT_THROW(defs.append(link("TabGruppi", dataPath_)), StoreError);
}

TEST_F(TableDefsTest, FailedAppendLeavesNothingBehind) {
  auto& defs = work_->tableDefs();
  defs.append(link("TabGruppi", dataPath_));
  const int before = defs.count();
  EXPECT_THROW(defs.append({"Manca", 0, ";DATABASE=" + dataPath_, "Manca"}), StoreError);
  const std::string absent = folder_.file("Assente.mdb");
  EXPECT_THROW(defs.append(link("Clienti", absent)), StoreError);
  EXPECT_FALSE(std::filesystem::exists(absent));
  EXPECT_EQ(defs.count(), before);
  EXPECT_FALSE(defs.find("Manca"));
  EXPECT_THROW(rows("Manca"), StoreError);
  EXPECT_EQ(work_->snapshot("PRAGMA database_list").size(), 3u);
}

TEST_F(TableDefsTest, LinksPersistAndFollowTheirFile) {
  work_->tableDefs().append(link("TabGruppi", dataPath_));
  work_.reset();
  work_ = platform::Database::open(workPath_);
  EXPECT_EQ(rows("TabGruppi"), 1u);

  // A file gone: the database still opens, the link stays listed but answers nothing.
  const std::string moved = folder_.file("Altrove.mdb");
  work_.reset();
  std::filesystem::rename(dataPath_, moved);
  work_ = platform::Database::open(workPath_);
  EXPECT_TRUE(work_->tableDefs().find("TabGruppi"));
  EXPECT_THROW(rows("TabGruppi"), StoreError);
  std::filesystem::rename(moved, dataPath_);
  work_->tableDefs().refresh();
  EXPECT_EQ(rows("TabGruppi"), 1u);
}

// A run that only uses the work database's own tables never reads the linked files; the first
// statement that names a link has them attached.
TEST_F(TableDefsTest, LinksAreMadeWhenAStatementFirstNeedsThem) {
  work_->tableDefs().append(link("TabGruppi", dataPath_));
  work_.reset();
  work_ = platform::Database::open(workPath_);
  const auto attached = [&] {  // files other than main and temp
    return work_->engine()
        .execAndGet("SELECT count(*) FROM pragma_database_list WHERE seq > 1")
        .getInt();
  };
  work_->execute("INSERT INTO WkStatInd (Data) VALUES ('x')");
  EXPECT_EQ(rows("WkStatInd"), 1u);
  EXPECT_EQ(attached(), 0);
  EXPECT_EQ(rows("TabGruppi"), 1u);
  EXPECT_EQ(attached(), 1);

  // A local table under a link's name made since: the link still answers for that name.
  work_->execute("CREATE TABLE main.TabGruppi (x)");
  work_.reset();
  work_ = platform::Database::open(workPath_);
  EXPECT_EQ(rows("TabGruppi"), 1u);
}

TEST_F(TableDefsTest, RemoveDropsTheLinkOrTheLocalTable) {
  auto& defs = work_->tableDefs();
  defs.append(link("TabGruppi", dataPath_));
  defs.remove("TABGRUPPI");
  EXPECT_FALSE(defs.find("TabGruppi"));
  EXPECT_THROW(rows("TabGruppi"), StoreError);
  EXPECT_THROW(defs.remove("TabGruppi"), StoreError);
  EXPECT_THROW(defs.remove("MSysLinks"), StoreError);
  defs.remove("WkStatInd");
  EXPECT_THROW(rows("WkStatInd"), StoreError);
  EXPECT_EQ(work_->snapshot("PRAGMA database_list").size(), 2u);  // the idle file let go
}

TEST_F(TableDefsTest, RolledBackRelinkKeepsThePreviousLink) {
  auto& defs = work_->tableDefs();
  defs.append(link("TabGruppi", dataPath_));
  {
    platform::Database::Transaction tx(*work_);
    defs.remove("TabGruppi");
    defs.append({"TabGruppi", 0, ";DATABASE=" + visitsPath_, "VisiteN"});
  }
  const auto def = defs.find("TabGruppi");
  ASSERT_TRUE(def);
  EXPECT_EQ(def->connect, ";DATABASE=" + dataPath_);
  EXPECT_EQ(rows("TabGruppi"), 1u);
}
