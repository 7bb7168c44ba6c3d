#include "indexdata/IndexLookup.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "indexdata/Helpers.h"
#include "indexdata/SeriesCursor.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

namespace {

using platform::Value;

struct Record {
  std::string isoDate;
  Value value;
  std::string code = "P";
};

// One lookup on a fresh Indici: the answer, and which records (by position) it removes. Every
// other record must come out exactly as it went in.
struct Case {
  const char* name;
  std::vector<Record> records;
  std::string product;
  std::string date;  // dd/mm/yyyy
  double expected;
  std::vector<std::size_t> deleted = {};
  std::string format = "#,###,###,##0.00";
};

const Record k1003{"2010-03-10", 5.2};
const Record k1503{"2010-03-15", 5.4};

class IndexLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    utilities::createDataDb(folder_.file("DatiDV.mdb"));
    utilities::createIndexDb(folder_.file("IndiciDV.mdb"));
    dataDb_ = platform::Database::open(folder_.file("DatiDV.mdb"));
    indexDb_ = platform::Database::open(folder_.file("IndiciDV.mdb"));
    indexTable_ = indexDb_->openTable("Indici");
    indexTable_->setIndex("primaria");
    dataDb_->execute(
        "INSERT INTO TabProdotti (Codice, NoIndici, Categoria) VALUES ('NOIND', 1, NULL), "
        "('Q''NOIND', '1', NULL), ('TIPOS', 0, 'CS'), ('NOCAT', NULL, 'XX')");
    dataDb_->execute("INSERT INTO TabCategorie (Codice, Tipo) VALUES ('CS', 'S')");
  }

  void store(const std::vector<Record>& records) {
    platform::Database::Transaction transaction(*indexDb_);
    indexDb_->execute("DELETE FROM Indici");
    for (const auto& r : records)
      indexDb_->execute("INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES (?1,?2,?3)",
                        {r.code, r.isoDate, r.value});
    transaction.commit();
  }

  std::vector<std::string> contents() {
    std::vector<std::string> lines;
    for (const auto& row : indexDb_->snapshot("SELECT * FROM Indici ORDER BY rowid")) {
      std::string line;
      for (std::size_t i = 0; i < row.size(); ++i)
        line += (platform::isNull(row.at(i)) ? "NULL" : platform::valueText(row.at(i))) + "|";
      lines.push_back(line);
    }
    return lines;
  }

  testsupport::TempFolder folder_;
  std::unique_ptr<platform::Database> dataDb_;
  std::unique_ptr<platform::Database> indexDb_;
  std::unique_ptr<platform::TableCursor> indexTable_;
};

TEST_F(IndexLookupTest, AnswersByTheSeriesRulesAndRemovesOnlyZeroRecords) {
  const Record fixed{"2199-12-31", 7.5};
  const std::vector<Case> cases = {
      {"between two values", {k1003, k1503}, "P", "12/03/2010", 5.2},
      {"on a value", {k1003, k1503}, "P", "15/03/2010", 5.4},
      {"after the last", {k1003, k1503}, "P", "20/03/2010", 5.4},
      {"before the first", {k1003, k1503}, "P", "01/03/2010", 5.2},
      {"code with blanks, other case", {k1003}, " p  ", "12/03/2010", 5.2},
      {"quote in the code", {{"2010-03-10", 2.0, "A'B"}}, "A'B", "12/03/2010", 2.0},
      {"no records", {}, "P", "12/03/2010", 1},
      {"only another product", {{"2010-03-10", 2.0, "A"}}, "P", "12/03/2011", 1},
      {"another product before, own after",
       {{"2010-03-10", 2.0, "A"}, {"2012-01-02", 3.0}},
       "P",
       "12/03/2011",
       3.0},
      {"fixed value", {k1003, fixed}, "P", "01/01/1950", 7.5},
      {"fixed value 0", {k1503, {"2199-12-31", 0.0}}, "P", "20/03/2010", 5.4},
      {"fixed value 0 not found forward", {{"2199-12-31", 0.0}}, "P", "12/03/2010", 1},
      {"fixed value Null", {k1003, {"2199-12-31", Value{}}}, "P", "20/03/2010", 5.2},
      {"01/01/1900 ignored backward", {{"1900-01-01", 3.3}}, "P", "12/03/2010", 1},
      {"01/01/1900 ignored forward",
       {{"1899-06-30", 3.1}, {"1900-01-01", 3.3}, k1003},
       "P",
       "01/01/1800",
       5.2},
      {"no series", {{"2010-03-10", 2.0, "NOIND"}}, "NOIND", "12/03/2010", 1},
      {"no series as text, quote", {{"2010-03-10", 2.0, "Q'NOIND"}}, "Q'NOIND", "12/03/2010", 1},
      {"category of type S", {{"2010-03-10", 2.0, "TIPOS"}}, "tipos", "12/03/2010", 1},
      {"category missing", {{"2010-03-10", 2.0, "NOCAT"}}, "NOCAT", "12/03/2010", 2.0},
      {"zero met backward", {k1003, {"2010-03-12", 0.0}}, "P", "13/03/2010", 5.2, {1}},
      {"two zeros in a row",
       {k1003, {"2010-03-11", 0.0}, {"2010-03-12", std::int64_t{0}}},
       "P",
       "13/03/2010",
       5.2,
       {1, 2}},
      {"zero met forward", {{"2010-03-10", 0.0}, k1503}, "P", "01/03/2010", 5.4, {0}},
      {"999999 reads as 1", {{"2010-03-10", 999999.0}}, "P", "12/03/2010", 1},
      {"three decimals",
       {{"2010-03-10", 12.34567}},
       "P",
       "12/03/2010",
       12.346,
       {},
       "#,###,###,##0.000"},
      {"rounds to 0, forward", {{"2010-03-10", 0.004}}, "P", "01/03/2010", 0},
      {"rounds to 0, backward", {{"2010-03-10", 0.004}}, "P", "12/03/2010", 0},
      {"Null skipped backward", {k1003, {"2010-03-12", Value{}}, k1503}, "P", "13/03/2010", 5.2},
      {"Null skipped forward", {{"2010-03-10", Value{}}, k1503}, "P", "01/03/2010", 5.4},
      {"Null then zero",
       {k1003, {"2010-03-11", 0.0}, {"2010-03-12", Value{}}},
       "P",
       "13/03/2010",
       5.2,
       {1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    store(c.records);
    auto expected = contents();
    for (auto i = c.deleted.rbegin(); i != c.deleted.rend(); ++i)
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(*i));
    const auto date = *platform::parseDate(c.date);
    indexdata::IndexLookup lookup(*dataDb_, *indexTable_, c.format);
    EXPECT_DOUBLE_EQ(lookup.indexValueAt(c.product, date), c.expected);
    EXPECT_EQ(contents(), expected);
    // The same lookup over the product's records read once, with the date inside the span
    // read, before it and after it.
    for (const auto& [from, to] :
         {std::pair{date - 3, date + 3}, {date + 1, date + 40}, {date - 40, date - 1}}) {
      SCOPED_TRACE(platform::isoDate(from));
      store(c.records);
      const std::string code = indexdata::trimBlanks(c.product);
      indexdata::SeriesCursor series(*indexTable_, code, platform::isoDate(from - 1),
                                     platform::isoDate(to), "2199-12-31");
      indexdata::IndexLookup runLookup(*dataDb_, series, c.format, true);
      EXPECT_DOUBLE_EQ(runLookup.indexValueAt(c.product, date), c.expected);
      EXPECT_EQ(contents(), expected);
    }
  }
}

// Also when a zero shares its date with a real value: the value answers, as it does once the
// zero is deleted (stepping to the day before would skip it).
TEST_F(IndexLookupTest, ZeroRecordsThatCannotBeDeletedAreSteppedOverWithTheSameAnswer) {
  store({{"2010-03-08", 0.0},
         {"2010-03-10", 0.0},
         k1003,
         {"2010-03-12", 0.0},
         k1503,
         {"2010-03-15", 0.0}});
  const auto before = contents();
  // From memory only on the read-only file: with a writer holding it, the first deletion (with
  // no read of the file before it) would wait for the lock, a wait only a file can cause.
  const auto lookBothWays = [&](std::vector<bool> fromMemory) {
    for (const bool inMemory : fromMemory) {
      SCOPED_TRACE(inMemory ? "series read once" : "seeks");
      indexdata::SeriesCursor series(*indexTable_, "P", "2010-03-09", "2010-03-14", "2199-12-31");
      indexdata::IndexLookup lookup(
          *dataDb_, inMemory ? static_cast<platform::SeekCursor&>(series) : *indexTable_,
          "#,###,###,##0.00");
      EXPECT_DOUBLE_EQ(lookup.indexValueAt("P", platform::dayNumber(2010, 3, 13)), 5.2);
      EXPECT_DOUBLE_EQ(lookup.indexValueAt("P", platform::dayNumber(2010, 3, 1)), 5.2);
      EXPECT_DOUBLE_EQ(lookup.indexValueAt("P", platform::dayNumber(2010, 3, 20)), 5.4);
      EXPECT_EQ(contents(), before);
    }
  };
  {
    SCOPED_TRACE("another program is writing the index database");
    SQLite::Database writer(folder_.file("IndiciDV.mdb"), SQLite::OPEN_READWRITE);
    writer.exec("BEGIN IMMEDIATE");
    lookBothWays({false});
  }
  {
    SCOPED_TRACE("read-only index database");
    indexDb_->execute("PRAGMA query_only = ON");
    lookBothWays({false, true});
  }
}

// The suite's older programs wrote "PIÙ" as the bytes "PI\xD9"; the program shows it in UTF-8 and
// must find the records, the product and its category by what it shows.
TEST_F(IndexLookupTest, CodesStoredInWindows1252AreFoundByTheCodeShown) {
  store({{"2010-03-10", 5.2, "PI\xD9"}, {"2010-03-15", 5.4, "PI\xD9"}, {"2010-03-10", 9.9, "PIU"}});
  for (const bool inMemory : {false, true}) {
    indexdata::SeriesCursor series(*indexTable_, "PIÙ", "2010-03-01", "2010-03-31", "2199-12-31");
    indexdata::IndexLookup lookup(
        *dataDb_, inMemory ? static_cast<platform::SeekCursor&>(series) : *indexTable_,
        "#,###,###,##0.00");
    EXPECT_DOUBLE_EQ(lookup.indexValueAt("PIÙ", platform::dayNumber(2010, 3, 12)), 5.2);
    EXPECT_DOUBLE_EQ(lookup.indexValueAt("PIÙ", platform::dayNumber(2010, 3, 20)), 5.4);
  }
  dataDb_->execute(
      "INSERT INTO TabProdotti (Codice, NoIndici, Categoria) VALUES ('PI' || CAST(X'D9' AS TEXT), "
      "0, CAST(X'C0' AS TEXT))");
  dataDb_->execute("INSERT INTO TabCategorie (Codice, Tipo) VALUES (CAST(X'C0' AS TEXT), 'S')");
  indexdata::IndexLookup lookup(*dataDb_, *indexTable_, "#,###,###,##0.00");
  EXPECT_DOUBLE_EQ(lookup.indexValueAt("PIÙ", platform::dayNumber(2010, 3, 12)), 1);
}

TEST_F(IndexLookupTest, BlankCodeAnswersZeroWithoutReadingAnything) {
  store({{"2010-03-10", 5.2, ""}});
  indexdata::IndexLookup lookup(*dataDb_, *indexTable_, "#,###,###,##0.00");
  dataDb_->execute("DROP TABLE TabProdotti");  // any read would fail now
  EXPECT_EQ(lookup.indexValueAt("   ", platform::dayNumber(2010, 3, 12)), 0);
  EXPECT_THROW(lookup.indexValueAt("P", platform::dayNumber(2010, 3, 12)), platform::StoreError);
}

}  // namespace
