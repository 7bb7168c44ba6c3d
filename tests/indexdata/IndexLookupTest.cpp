#include "indexdata/IndexLookup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Format.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

namespace {

using platform::Value;

const std::string kTwoDecimals = "#,###,###,##0.00";
const std::string kThreeDecimals = "#,###,###,##0.000";

struct Record {
  std::string code;
  std::string isoDate;
  Value value;
};

// One lookup on a fresh Indici: what it answers and which records (by position in `records`)
// it removes. Every other record must come out exactly as it went in.
struct Case {
  const char* name;
  std::vector<Record> records;
  std::string product;
  std::string date;  // dd/mm/yyyy
  double expected;
  std::vector<std::size_t> deleted = {};
  std::string format = kTwoDecimals;
};

std::vector<Record> series(const std::string& code) {
  return {{code, "2010-03-10", 5.2}, {code, "2010-03-15", 5.4}};
}

class IndexLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    utilities::createDataDb(folder_.file("DatiDV.mdb"));
    utilities::createIndexDb(folder_.file("IndiciDV.mdb"));
    dataDb_ = platform::Database::open(folder_.file("DatiDV.mdb"));
    indexDb_ = platform::Database::open(folder_.file("IndiciDV.mdb"));
    indexTable_ = indexDb_->openTable("Indici");
    indexTable_->setIndex("primaria");
    addProduct("NOIND", std::int64_t{1}, Value{});
    addProduct("NOINDTXT", std::string("1"), Value{});
    addProduct("TIPOS", std::int64_t{0}, std::string("CS"));
    addProduct("TIPON", Value{}, std::string("CN "));
    addProduct("NOCAT", std::int64_t{0}, std::string("XX"));
    addProduct("Q'NOIND", std::int64_t{1}, Value{});
    dataDb_->execute("INSERT INTO TabCategorie (Codice, Tipo) VALUES ('CS', 'S'), ('CN', 'N')");
  }

  void addProduct(const std::string& code, const Value& noIndici, const Value& category) {
    dataDb_->execute("INSERT INTO TabProdotti (Codice, NoIndici, Categoria) VALUES (?1, ?2, ?3)",
                     {code, noIndici, category});
  }

  void store(const std::vector<Record>& records) {
    platform::Database::Transaction transaction(*indexDb_);
    indexDb_->execute("DELETE FROM Indici");
    for (const auto& r : records)
      indexDb_->execute("INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES (?1,?2,?3)",
                        {r.code, r.isoDate, r.value});
    transaction.commit();
  }

  // Every record of Indici as one text line, in insertion order.
  std::vector<std::string> contents() {
    std::vector<std::string> lines;
    for (const auto& row : indexDb_->snapshot(
             "SELECT IndProdotto, IndData, IndValoreMon, IndValore FROM Indici ORDER BY rowid"))
      lines.push_back(describe(row.at(0), row.at(1), row.at(2)) + "|" +
                      platform::valueText(row.at(3)));
    return lines;
  }

  static std::string describe(const Value& code, const Value& date, const Value& value) {
    return platform::valueText(code) + "|" + platform::valueText(date) + "|" +
           (platform::isNull(value) ? "NULL" : platform::valueText(value));
  }

  double at(indexdata::IndexLookup& lookup, const std::string& product, const std::string& date) {
    return lookup.indexValueAt(product, *platform::parseDate(date));
  }

  testsupport::TempFolder folder_;
  std::unique_ptr<platform::Database> dataDb_;
  std::unique_ptr<platform::Database> indexDb_;
  std::unique_ptr<platform::TableCursor> indexTable_;
};

TEST_F(IndexLookupTest, AnswersByTheSeriesRulesAndRemovesOnlyZeroRecords) {
  const Record fixed75{"P", "2199-12-31", 7.5};
  const std::vector<Case> cases = {
      {"between two values", series("P"), "P", "12/03/2010", 5.2},
      {"on a value", series("P"), "P", "15/03/2010", 5.4},
      {"after the last", series("P"), "P", "20/03/2010", 5.4},
      {"before the first", series("P"), "P", "01/03/2010", 5.2},
      {"codes without regard to case", series("P"), "p", "12/03/2010", 5.2},
      {"blanks around the code", series("P"), "  P ", "12/03/2010", 5.2},
      {"quote in the code", series("A'B"), "A'B", "20/03/2010", 5.4},
      {"no records", {}, "P", "12/03/2010", 1},
      {"only another product before", series("A"), "P", "12/03/2011", 1},
      {"another product before, own after",
       {{"A", "2010-03-10", 2.0}, {"P", "2012-01-02", 3.0}},
       "P",
       "12/03/2011",
       3.0},
      {"fixed value wins", {series("P")[0], fixed75}, "P", "12/03/2010", 7.5},
      {"fixed value before the series", {series("P")[0], fixed75}, "P", "01/01/1950", 7.5},
      {"fixed value 0 is no fixed value",
       {series("P")[1], {"P", "2199-12-31", 0.0}},
       "P",
       "20/03/2010",
       5.4},
      {"fixed value 0 never found forward", {{"P", "2199-12-31", 0.0}}, "P", "12/03/2010", 1},
      {"fixed value rounding to 0 never found forward",
       {{"P", "2199-12-31", 0.001}},
       "P",
       "12/03/2010",
       1},
      {"fixed value Null", {series("P")[0], {"P", "2199-12-31", Value{}}}, "P", "20/03/2010", 5.2},
      {"record on 01/01/1900 ignored backward", {{"P", "1900-01-01", 3.3}}, "P", "12/03/2010", 1},
      {"records up to 01/01/1900 ignored forward",
       {{"P", "1899-06-30", 3.1}, {"P", "1900-01-01", 3.3}, series("P")[0]},
       "P",
       "01/01/1800",
       5.2},
      {"no series", series("NOIND"), "NOIND", "12/03/2010", 1},
      {"no series written as text", series("NOINDTXT"), "NOINDTXT", "12/03/2010", 1},
      {"no series, quote in the code", series("Q'NOIND"), "Q'NOIND", "12/03/2010", 1},
      {"category of type S", series("TIPOS"), "tipos", "12/03/2010", 1},
      {"category of type N", series("TIPON"), "TIPON", "12/03/2010", 5.2},
      {"category missing", series("NOCAT"), "NOCAT", "12/03/2010", 5.2},
      {"zero met backward",
       {series("P")[0], {"P", "2010-03-12", 0.0}},
       "P",
       "13/03/2010",
       5.2,
       {1}},
      {"two zeros in a row",
       {series("P")[0], {"P", "2010-03-11", 0.0}, {"P", "2010-03-12", std::int64_t{0}}},
       "P",
       "13/03/2010",
       5.2,
       {1, 2}},
      {"zero met forward", {{"P", "2010-03-10", 0.0}, series("P")[1]}, "P", "01/03/2010", 5.4, {0}},
      {"only zeros",
       {{"P", "2010-03-10", 0.0}, {"P", "2010-03-11", 0.0}},
       "P",
       "12/03/2010",
       1,
       {0, 1}},
      {"999999 reads as 1", {{"P", "2010-03-10", 999999.0}}, "P", "12/03/2010", 1},
      {"999999 forward reads as 1", {{"P", "2010-03-10", 999999.0}}, "P", "01/03/2010", 1},
      {"three decimals",
       {{"P", "2010-03-10", 12.34567}},
       "P",
       "12/03/2010",
       12.346,
       {},
       kThreeDecimals},
      {"two decimals", {{"P", "2010-03-10", 12.34567}}, "P", "12/03/2010", 12.35},
      {"too small for the format, forward", {{"P", "2010-03-10", 0.004}}, "P", "01/03/2010", 0},
      {"too small for the format, backward", {{"P", "2010-03-10", 0.004}}, "P", "12/03/2010", 0},
      {"Null skipped backward",
       {series("P")[0], {"P", "2010-03-12", Value{}}, series("P")[1]},
       "P",
       "13/03/2010",
       5.2},
      {"Null skipped forward",
       {{"P", "2010-03-10", Value{}}, series("P")[1]},
       "P",
       "01/03/2010",
       5.4},
      {"only Null", {{"P", "2010-03-10", Value{}}}, "P", "12/03/2010", 1},
      {"Null then zero backward",
       {series("P")[0], {"P", "2010-03-11", 0.0}, {"P", "2010-03-12", Value{}}},
       "P",
       "13/03/2010",
       5.2,
       {1}},
      {"text value is no value",
       {series("P")[0], {"P", "2010-03-12", std::string("n/d")}},
       "P",
       "13/03/2010",
       5.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    store(c.records);
    const auto before = contents();
    indexdata::IndexLookup lookup(*dataDb_, *indexTable_, c.format);
    EXPECT_DOUBLE_EQ(at(lookup, c.product, c.date), c.expected);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < before.size(); ++i)
      if (std::find(c.deleted.begin(), c.deleted.end(), i) == c.deleted.end())
        expected.push_back(before[i]);
    EXPECT_EQ(contents(), expected);
  }
}

TEST_F(IndexLookupTest, BlankCodeAnswersZeroWithoutReadingAnything) {
  store(series(""));
  indexdata::IndexLookup lookup(*dataDb_, *indexTable_, kTwoDecimals);
  // Without the product table any read would fail: the blank code must not get that far.
  dataDb_->execute("DROP TABLE TabProdotti");
  EXPECT_EQ(at(lookup, "", "12/03/2010"), 0);
  EXPECT_EQ(at(lookup, "   ", "12/03/2010"), 0);
  EXPECT_THROW(at(lookup, "P", "12/03/2010"), platform::StoreError);
}

TEST_F(IndexLookupTest, ForwardSearchReportsNothingFoundAs999999) {
  store({{"P", "2010-03-10", 5.2}, {"P", "2199-12-31", 7.5}});
  indexdata::IndexLookup lookup(*dataDb_, *indexTable_, kTwoDecimals);
  EXPECT_EQ(lookup.indexValueAfter(" P", *platform::parseDate("01/03/2010")), 5.2);
  EXPECT_EQ(lookup.indexValueAfter("P", *platform::parseDate("10/03/2010")), 999999);
  EXPECT_EQ(lookup.indexValueAfter("", *platform::parseDate("01/03/2010")), 999999);
}

}  // namespace
