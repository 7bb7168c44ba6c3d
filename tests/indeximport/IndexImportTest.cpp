// An import against real databases: what it adds, leaves, replaces and refuses, that a refusal,
// a trial or a failure half-way writes nothing, and that the server ends up with the same
// records as the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "indeximport/FileTarget.h"
#include "indeximport/IndexImport.h"
#include "indeximport/ServerTarget.h"
#include "platform/PgIndexCursor.h"
#include "support/PgServer.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

namespace {

using indeximport::ImportParams;
using indeximport::ImportResult;
using indeximport::ImportStatus;

class IndexImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    utilities::createDataDb(folder_.file("DatiDV.mdb"));
    utilities::createIndexDb(folder_.file("IndiciDV.mdb"));
    dataDb_ = platform::Database::open(folder_.file("DatiDV.mdb"));
    indexDb_ = platform::Database::open(folder_.file("IndiciDV.mdb"));
    dataDb_->execute(
        "INSERT INTO TabProdotti (Codice, Descrizione, NoIndici) VALUES ('P', 'fondo P', 0), "
        "('Q', 'fondo Q', 0)");
    dataDb_->execute("INSERT INTO TabGruppi (GrpCodice, GrpDescrizione) VALUES ('G1', 'gruppo')");
    dataDb_->execute("INSERT INTO TabCategorie (Codice, Tipo) VALUES ('C1', 'N')");
    store("P", "2024-01-02", 10);
    store("P", "2024-01-03", 11.1234);
    store("P", "2024-01-04", 12);
    store("P", "2024-01-05", 0);
    store("P", "2199-12-31", 7);
    store("Q", "2024-01-02", 5);
  }

  void store(const std::string& code, const std::string& date, double value) {
    indexDb_->execute(
        "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon, IndValore) VALUES (?1,?2,?3,?3)",
        {code, date, value});
  }

  // Every record of Indici as "code|date|valueMon|value", sorted.
  std::vector<std::string> contents() {
    std::vector<std::string> lines;
    for (const auto& row : indexDb_->snapshot("SELECT * FROM Indici"))
      lines.push_back(platform::valueText(row.at(0)) + "|" + platform::valueText(row.at(1)) + "|" +
                      platform::valueText(row.at(2)) + "|" + platform::valueText(row.at(3)));
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  ImportResult run(const std::string& file, ImportParams params) {
    indeximport::FileTarget target(*indexDb_);
    return indeximport::importIndex(file, params, {*dataDb_, target});
  }

  static ImportParams forProduct(const std::string& code) {
    ImportParams params;
    params.products = {code};
    return params;
  }

  testsupport::TempFolder folder_;
  std::unique_ptr<platform::Database> dataDb_, indexDb_;
};

const std::string kFile =
    "Data;Valore quota\n02/01/2024;10\n03/01/2024;11,12\n04/01/2024;12,5\n05/01/2024;13\n"
    "08/01/2024;14,25\n";

TEST_F(IndexImportTest, AddsNewDatesLeavesEqualOnesAndKeepsConflictsUnlessOverwriting) {
  ImportResult result = run(kFile, forProduct(" p "));
  ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
  ASSERT_EQ(result.products.size(), 1u);
  const auto& p = result.products[0];
  EXPECT_EQ(p.code, "P");
  EXPECT_EQ(p.records, 5);
  EXPECT_EQ(platform::formatDate(p.first), "02/01/2024");
  EXPECT_EQ(platform::formatDate(p.last), "08/01/2024");
  // 11,12 is 11.1234 to the file's two decimals; a stored 0 holds nothing to keep.
  EXPECT_EQ(p.added, 1);
  EXPECT_EQ(p.unchanged, 2);
  EXPECT_EQ(p.replaced, 1);
  EXPECT_EQ(p.conflicts, 1);
  ASSERT_EQ(p.conflictList.size(), 1u);
  EXPECT_EQ(p.conflictList[0].stored, 12);
  EXPECT_EQ(p.conflictList[0].file, 12.5);
  EXPECT_EQ(p.conflictList[0].line, 4);
  EXPECT_TRUE(result.written);
  EXPECT_EQ(contents(), (std::vector<std::string>{
                            "P|2024-01-02|10|10", "P|2024-01-03|11.1234|11.1234",
                            "P|2024-01-04|12|12", "P|2024-01-05|13|13", "P|2024-01-08|14.25|14.25",
                            "P|2199-12-31|7|7", "Q|2024-01-02|5|5"}));

  ImportParams overwrite = forProduct("P");
  overwrite.overwrite = true;
  result = run(kFile, overwrite);
  EXPECT_EQ(result.products[0].replaced, 1);
  EXPECT_EQ(result.products[0].unchanged, 4);
  EXPECT_EQ(contents()[2], "P|2024-01-04|12.5|12.5");
}

TEST_F(IndexImportTest, AStoredTextIsAConflictNotAnEmptyRecord) {
  indexDb_->execute("INSERT INTO Indici VALUES ('Q', '2024-01-03', 'n.d.', NULL)");
  ImportResult result = run("03/01/2024;5\n", forProduct("Q"));
  EXPECT_EQ(result.products[0].conflicts, 1);
  EXPECT_EQ(result.products[0].replaced, 0);
  EXPECT_EQ(contents()[6], "Q|2024-01-03|n.d.|");
}

TEST_F(IndexImportTest, RefusalsTrialsAndFailuresWriteNothing) {
  const auto before = contents();
  ImportParams trial = forProduct("P");
  trial.dryRun = true;
  ImportResult dry = run(kFile, trial);
  EXPECT_EQ(dry.status, ImportStatus::Imported);
  EXPECT_EQ(dry.products[0].added, 1);
  EXPECT_FALSE(dry.written);
  EXPECT_EQ(contents(), before);

  ImportResult bad = run(kFile + "09/01/2024;n.d.\n", forProduct("P"));
  EXPECT_EQ(bad.status, ImportStatus::Refused);
  EXPECT_EQ(bad.file.badCount, 1);
  EXPECT_EQ(contents(), before);

  ImportResult repeated = run(kFile + "08/01/2024;14,3\n02/01/2024;10,00\n", forProduct("P"));
  EXPECT_EQ(repeated.status, ImportStatus::Refused);
  ASSERT_EQ(repeated.repeated.size(), 1u);
  EXPECT_EQ(repeated.repeated[0].line, 7);
  EXPECT_EQ(repeated.repeated[0].earlierLine, 6);
  EXPECT_EQ(repeated.products[0].repeats, 1);  // 02/01 twice with one value counts once
  EXPECT_EQ(contents(), before);

  ImportResult unknown = run(kFile, forProduct("NOWHERE"));
  EXPECT_EQ(unknown.status, ImportStatus::UnknownProduct);
  EXPECT_EQ(unknown.unknownProducts, std::vector<std::string>{"NOWHERE"});

  // A store failing half-way through the write: the run's transaction takes everything back.
  class FailingTarget : public indeximport::FileTarget {
   public:
    using FileTarget::FileTarget;
    void update(const platform::Value&, double) override {
      throw platform::StoreError("disk I/O error", 10);
    }
  };
  FailingTarget failing(*indexDb_);
  ImportParams overwrite = forProduct("P");
  overwrite.overwrite = true;
  EXPECT_THROW(indeximport::importIndex(kFile + "09/01/2024;15\n", overwrite, {*dataDb_, failing}),
               platform::StoreError);
  EXPECT_EQ(contents(), before);

  ImportParams skip = forProduct("P");
  skip.skipBad = true;
  ImportResult skipped = run(kFile + "09/01/2024;n.d.\n10/01/2024;15\n", skip);
  EXPECT_EQ(skipped.status, ImportStatus::Imported);
  EXPECT_EQ(skipped.skipped, 1);
  EXPECT_EQ(skipped.products[0].added, 2);
}

TEST_F(IndexImportTest, CreatesTheProductWithTheColumnsItKnowsOnly) {
  ImportParams params = forProduct("NEW1");
  params.create = indeximport::NewProduct{"Fondo nuovo", "eur", "G9", ""};
  EXPECT_EQ(run(kFile, params).message, "gruppo G9 inesistente");
  params.create->group = "G1";
  params.create->category = "C1";
  params.dryRun = true;
  EXPECT_EQ(run(kFile, params).status, ImportStatus::Imported);
  EXPECT_TRUE(dataDb_->snapshot("SELECT * FROM TabProdotti WHERE Codice='NEW1'").empty());

  params.dryRun = false;
  ImportResult created = run(kFile, params);
  ASSERT_EQ(created.status, ImportStatus::Imported) << created.message;
  EXPECT_TRUE(created.products[0].created);
  EXPECT_EQ(created.products[0].added, 5);
  const auto rows = dataDb_->snapshot(
      "SELECT Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici FROM TabProdotti WHERE "
      "Codice='NEW1'");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(platform::valueText(rows[0].at(2)), "EUR");
  EXPECT_EQ(platform::valueText(rows[0].at(3)), "G1");
  EXPECT_EQ(platform::valueText(rows[0].at(5)), "0");
  EXPECT_EQ(run(kFile, params).message, "il prodotto NEW1 esiste già");
}

TEST_F(IndexImportTest, LongFormChecksEveryProductAndWritesThemTogether) {
  const auto before = contents();
  ImportParams params;
  params.read.longForm = true;
  const std::string file = "p;09/01/2024;1,5\nQ;09/01/2024;2,5\nP;10/01/2024;1,6\n";
  ImportResult unknown = run(file + "Z;09/01/2024;3\n", params);
  EXPECT_EQ(unknown.status, ImportStatus::UnknownProduct);
  EXPECT_EQ(contents(), before);

  ImportResult result = run(file, params);
  ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
  ASSERT_EQ(result.products.size(), 2u);
  EXPECT_EQ(result.products[0].code, "P");  // "p" and "P" are one product
  EXPECT_EQ(result.products[0].added, 2);
  EXPECT_EQ(result.products[1].added, 1);
  EXPECT_EQ(contents().size(), before.size() + 3);
}

// Every record of the server's indici as contents() writes the file's, sorted.
std::vector<std::string> serverContents(platform::PgConnection& server) {
  std::vector<std::string> lines;
  for (const auto& row : server.run("SELECT indprodotto, inddata::text, indvaloremon, indvalore "
                                    "FROM indici"))
    lines.push_back(platform::valueText(row.at(0)) + "|" + platform::valueText(row.at(1)) + "|" +
                    platform::valueText(row.at(2)) + "|" + platform::valueText(row.at(3)));
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST_F(IndexImportTest, TheServerEndsWithTheSameRecordsAsTheFile) {
  if (!testsupport::PgServer::available()) GTEST_SKIP() << "PostgreSQL 15 not installed";
  testsupport::PgServer server;
  auto connection = platform::PgConnection::open(server.createDatabase("importa"));
  platform::PgIndexCursor::createSchema(*connection);
  connection->run(
      "INSERT INTO indici VALUES ('P','2024-01-02',10,10),('P','2024-01-03',11.1234,11.1234),"
      "('P','2024-01-04',12,12),('P','2024-01-05',0,0),('P','2199-12-31',7,7),"
      "('Q','2024-01-02',5,5)");
  ASSERT_EQ(serverContents(*connection), contents());

  ImportParams params = forProduct("P");
  params.overwrite = true;
  const std::string file = kFile + "09/01/2024;15\n";
  indeximport::ServerTarget target(*connection);
  ImportResult onServer = indeximport::importIndex(file, params, {*dataDb_, target});
  ImportResult onFile = run(file, params);
  EXPECT_EQ(onServer.products[0].added, onFile.products[0].added);
  EXPECT_EQ(onServer.products[0].replaced, onFile.products[0].replaced);
  EXPECT_EQ(serverContents(*connection), contents());
}

}  // namespace
