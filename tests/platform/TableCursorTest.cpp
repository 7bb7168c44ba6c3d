#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include "platform/Store.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

using platform::SeekOp;
using platform::StoreError;
using platform::valueText;

namespace {

class TableCursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = folder_.file("IndiciDV.mdb");
    utilities::createIndexDb(path);
    db_ = platform::Database::open(path);
    // Codes of mixed case: the index orders them without regard to case ("abc" < "ABD").
    const std::vector<std::tuple<const char*, const char*, double>> rows = {
        {"abc", "2010-03-10", 5.2},
        {"abc", "2010-03-15", 5.4},
        {"ABD", "2010-01-01", 1.0},
        {"ABD", "2010-02-01", 2.0},
        {"C", "2011-01-01", 3.0}};
    for (const auto& [code, date, value] : rows)
      db_->execute("INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES (?1, ?2, ?3)",
                   {code, date, value});
    cursor_ = db_->openTable("Indici");
    cursor_->setIndex("primaria");
  }

  // "code date" of the record a seek lands on, or "" when it finds none.
  std::string seek(SeekOp op, const char* code, const char* date) {
    if (!cursor_->seek(op, code, date)) return "";
    return valueText(cursor_->field("IndProdotto")) + " " + valueText(cursor_->field("inddata"));
  }

  testsupport::TempFolder folder_;
  std::unique_ptr<platform::Database> db_;
  std::unique_ptr<platform::TableCursor> cursor_;
};

}  // namespace

TEST_F(TableCursorTest, SeeksLandAsOnTheIndexOrder) {
  EXPECT_EQ(seek(SeekOp::Equal, "ABC", "2010-03-15"), "abc 2010-03-15");
  EXPECT_EQ(seek(SeekOp::Equal, "abc", "2010-03-11"), "");
  EXPECT_TRUE(cursor_->noMatch());
  EXPECT_THROW(cursor_->field("IndData"), StoreError);

  EXPECT_EQ(seek(SeekOp::LessEqual, "abc", "2010-03-12"), "abc 2010-03-10");
  EXPECT_EQ(seek(SeekOp::LessEqual, "abc", "2010-03-01"), "");  // before the first product
  // Between products "<=" lands on the greatest key before, another product's record.
  EXPECT_EQ(seek(SeekOp::LessEqual, "abd", "2009-12-31"), "abc 2010-03-15");
  EXPECT_EQ(seek(SeekOp::LessEqual, "ZZZ", "2000-01-01"), "C 2011-01-01");  // after the last

  EXPECT_EQ(seek(SeekOp::Greater, "abc", "2010-03-15"), "ABD 2010-01-01");
  EXPECT_EQ(seek(SeekOp::Greater, "abd", "2010-01-01"), "ABD 2010-02-01");
  EXPECT_EQ(seek(SeekOp::Greater, "C", "2011-01-01"), "");
  EXPECT_EQ(seek(SeekOp::GreaterEqual, "ABD", "2010-02-01"), "ABD 2010-02-01");
  EXPECT_EQ(seek(SeekOp::GreaterEqual, "A", "2000-01-01"), "abc 2010-03-10");
  EXPECT_EQ(std::get<double>(cursor_->field("IndValoreMon")), 5.2);
}

TEST_F(TableCursorTest, EverySeekIsAnsweredFromTheIndex) {
  for (SeekOp op : {SeekOp::Equal, SeekOp::LessEqual, SeekOp::Greater, SeekOp::GreaterEqual}) {
    const std::string plan = cursor_->seekPlan(op);
    EXPECT_NE(plan.find("SEARCH"), std::string::npos) << plan;
    EXPECT_NE(plan.find("INDEX primaria"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("SCAN"), std::string::npos) << plan;
  }
}

TEST_F(TableCursorTest, DeleteCurrentRemovesOnlyThatRecord) {
  EXPECT_THROW(cursor_->deleteCurrent(), StoreError);  // no current record yet
  ASSERT_EQ(seek(SeekOp::Equal, "abc", "2010-03-10"), "abc 2010-03-10");
  cursor_->deleteCurrent();
  EXPECT_TRUE(cursor_->noMatch());
  EXPECT_EQ(seek(SeekOp::LessEqual, "abc", "2010-03-12"), "");
  EXPECT_EQ(seek(SeekOp::GreaterEqual, "abc", "2000-01-01"), "abc 2010-03-15");
  EXPECT_EQ(db_->snapshot("SELECT * FROM Indici").size(), 4u);
}

TEST_F(TableCursorTest, UnknownTableOrIndexFails) {
  EXPECT_THROW(db_->openTable("Nothing"), StoreError);
  auto cursor = db_->openTable("indici");
  EXPECT_THROW(cursor->seek(SeekOp::Equal, "abc", "2010-03-10"), StoreError);  // no index yet
  EXPECT_THROW(cursor->setIndex("secondaria"), StoreError);
}
