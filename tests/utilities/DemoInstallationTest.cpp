#include "utilities/DemoInstallation.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>

#include "platform/Format.h"
#include "startup/Databases.h"
#include "support/CliRun.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// A Wednesday: the histories end on Tuesday 17/06/2025.
const platform::DayNumber kToday = platform::dayNumber(2025, 6, 18);

utilities::DemoResult makeTimed(const std::string& folder, std::uint32_t seed) {
  const auto started = std::chrono::steady_clock::now();
  auto result = utilities::DemoInstallation::make({folder, kToday, seed});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  std::cout << "[ demo     ] made in " << took.count() << " s, " << result.indexRecords
            << " index records\n";
  return result;
}

std::string text(SQLite::Database& db, const std::string& sql) {
  SQLite::Statement query(db, sql);
  return query.executeStep() ? query.getColumn(0).getString() : "<no row>";
}

bool hasTable(SQLite::Database& db, const std::string& name) {
  SQLite::Statement query(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1");
  query.bind(1, name);
  return query.executeStep();
}

// Every record of Indici in storage order, folded into one number.
std::size_t indexChecksum(const std::string& file) {
  SQLite::Database db(file);
  SQLite::Statement query(db,
                          "SELECT IndProdotto || IndData, IndValoreMon, IndValore FROM Indici "
                          "ORDER BY rowid");
  std::size_t hash = 0;
  while (query.executeStep()) {
    hash = hash * 1000003u ^ std::hash<std::string>{}(query.getColumn(0).getString());
    hash = hash * 1000003u ^ std::hash<double>{}(query.getColumn(1).getDouble());
    hash = hash * 1000003u ^ std::hash<double>{}(query.getColumn(2).getDouble());
  }
  return hash;
}

class DemoInstallationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testsupport::TempFolder>();
    result_ = std::make_unique<utilities::DemoResult>(
        makeTimed(folder_->file("demo"), utilities::kDemoSeed));
  }
  static void TearDownTestSuite() {
    result_.reset();
    folder_.reset();
  }
  static std::string path(const std::string& relative) { return folder_->file("demo/" + relative); }

  inline static std::unique_ptr<testsupport::TempFolder> folder_;
  inline static std::unique_ptr<utilities::DemoResult> result_;
};

TEST_F(DemoInstallationTest, WritesEveryDatabaseAndAnIniNamingThem) {
  const std::string content = testsupport::TempFolder::read(result_->iniPath);
  EXPECT_EQ(result_->iniPath, path("statind.ini"));
  EXPECT_NE(content.find("FILE=" + path("base") + "\n"), std::string::npos);
  EXPECT_NE(content.find("WORK=" + path("work") + "\n"), std::string::npos);
  EXPECT_NE(content.find("OPERATORE=DEMO\n"), std::string::npos);
  EXPECT_TRUE(fs::path(path("base")).is_absolute());

  SQLite::Database data(path("base/DEMO/DatiDV.mdb"));
  for (const auto& table : startup::dataAttachments()) EXPECT_TRUE(hasTable(data, table)) << table;
  SQLite::Database visits(path("base/DEMO/VisiteDV.mdb"));
  for (const auto& table : startup::visitsAttachments())
    EXPECT_TRUE(hasTable(visits, table)) << table;
  SQLite::Database index(path("base/IndiciDV.mdb"));
  EXPECT_EQ(text(index, "SELECT name FROM sqlite_master WHERE type='index'"), "primaria");
  SQLite::Database work(path("work/DEMO/WorkDV.mdb"));
  EXPECT_TRUE(hasTable(work, "WkStatInd"));
}

TEST_F(DemoInstallationTest, ProductsShowTheSituationsOfRealDataOverWeekdayHistories) {
  SQLite::Database data(path("base/DEMO/DatiDV.mdb"));
  SQLite::Database index(path("base/IndiciDV.mdb"));
  const auto ask = [&](const std::string& sql) { return text(index, sql); };
  EXPECT_EQ(ask("SELECT min(IndData) FROM Indici WHERE IndProdotto='MID2009'"), "2009-04-15");
  EXPECT_EQ(ask("SELECT max(IndData) FROM Indici WHERE IndProdotto='END2016'"), "2016-09-30");
  EXPECT_EQ(ask("SELECT IndValoreMon FROM Indici WHERE IndProdotto='FISSO' "
                "AND IndData='2199-12-31'"),
            "100.0");
  EXPECT_EQ(ask("SELECT group_concat(IndData) FROM Indici WHERE IndProdotto='ZERI' "
                "AND IndValoreMon=0"),
            "2012-03-14,2012-03-15,2018-11-07");
  EXPECT_EQ(ask("SELECT group_concat(IndData) FROM Indici WHERE IndValoreMon=999999"),
            "2014-06-11");
  EXPECT_EQ(ask("SELECT min(IndData) FROM Indici WHERE IndProdotto='DATA1900'"), "1900-01-01");
  EXPECT_EQ(ask("SELECT count(*) FROM Indici WHERE IndProdotto='VUOTO'"), "0");
  EXPECT_NE(ask("SELECT count(*) FROM Indici WHERE IndProdotto='NOIND'"), "0");
  EXPECT_EQ(text(data, "SELECT NoIndici FROM TabProdotti WHERE Codice='NOIND'"), "1");
  EXPECT_EQ(text(data,
                 "SELECT Tipo FROM TabProdotti p JOIN TabCategorie c "
                 "ON p.Categoria=c.Codice WHERE p.Codice='GESTSEP'"),
            "S");

  // Every product reaches the window's list, which joins groups and categories.
  EXPECT_EQ(text(data,
                 "SELECT count(*) FROM (TabProdotti INNER JOIN TabGruppi ON "
                 "TabProdotti.Gruppo = TabGruppi.GrpCodice) INNER JOIN TabCategorie ON "
                 "TabProdotti.Categoria = TabCategorie.Codice"),
            std::to_string(result_->products.size()));
  EXPECT_GE(result_->products.size(), 35u);
  EXPECT_EQ(text(data, "SELECT group_concat(DISTINCT Moneta) FROM TabProdotti"), "EUR,USD");
  EXPECT_EQ(text(data, "SELECT max(length(GrpCodice)) FROM TabGruppi"), "1");

  // Histories are long weekday series of plausible values up to yesterday.
  const std::string dated = " FROM Indici WHERE IndData > '1900-01-01' AND IndData < '2199-12-31'";
  EXPECT_EQ(ask("SELECT count(*)" + dated +
                " AND (strftime('%w', IndData) IN ('0','6') OR (IndValoreMon NOT IN (0, 999999) "
                "AND (IndValoreMon < 1 OR IndValoreMon > 250)))"),
            "0");
  for (const auto& product : result_->products) {
    if (product.code == "VUOTO") continue;
    if (product.code != "END2016") {
      EXPECT_EQ(platform::isoDate(product.lastDay), "2025-06-17") << product.code;
    }
    if (product.code != "MID2009" && product.code != "NOIND") {
      EXPECT_LE(product.firstDay, platform::dayNumber(2005, 1, 3)) << product.code;
    }
  }
}

TEST_F(DemoInstallationTest, SameSeedGivesTheSameDataAndARerunReplacesOnlyItsOwnFiles) {
  const auto first = indexChecksum(path("base/IndiciDV.mdb"));
  testsupport::TempFolder other;
  makeTimed(other.path().string(), utilities::kDemoSeed + 1);
  EXPECT_NE(indexChecksum(other.file("base/IndiciDV.mdb")), first);

  std::ofstream(other.file("notes.txt")) << "keep me";
  std::ofstream(other.file("base/IndiciDV.mdb-journal")) << "stale";
  makeTimed(other.path().string(), utilities::kDemoSeed);
  EXPECT_EQ(indexChecksum(other.file("base/IndiciDV.mdb")), first);
  EXPECT_TRUE(fs::exists(other.file("notes.txt")));
  EXPECT_FALSE(fs::exists(other.file("base/IndiciDV.mdb-journal")));
}

TEST(DemoInstallation, RefusesAFolderTheIniCouldNotHold) {
  testsupport::TempFolder folder;
  const std::string tooLong = folder.file(std::string(100, 'x'));
  EXPECT_THROW(utilities::DemoInstallation::make({tooLong, kToday}), std::invalid_argument);
  EXPECT_FALSE(fs::exists(tooLong));
}

TEST(DemoCli, MakeDemoPrintsTheIniPathFirstAndRefusesAFolderInUse) {
  testsupport::TempFolder folder;
  const auto made = testsupport::CliRun::of("make-demo \"" + folder.file("demo") + "\"");
  EXPECT_EQ(made.exitCode, 0) << made.output;
  EXPECT_EQ(made.output.substr(0, made.output.find('\n')), folder.file("demo/statind.ini"));

  // A folder holding anything may be someone's installation: left alone unless forced.
  const std::string again = "make-demo \"" + folder.file("demo") + "\"";
  const auto refused = testsupport::CliRun::of(again, "2>&1 >/dev/null");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.output.find(folder.file("demo")), std::string::npos) << refused.output;
  EXPECT_EQ(testsupport::CliRun::of("make-demo --force \"" + folder.file("demo") + "\"").exitCode,
            0);

  std::ofstream(folder.file("plain-file")) << "not a folder";
  const auto failed = testsupport::CliRun::of("make-demo \"" + folder.file("plain-file") + "\"");
  EXPECT_EQ(failed.exitCode, 2) << failed.output;
}

}  // namespace
