// The lookups of a run answered from the product's records read once must be the lookups made
// record by record: the same value for every date and the same records deleted, in the same
// files. Checked on the demo installation with its special products, plus Null values, zeros
// before 1900 and a look-alike code, and a text where a value belongs (memory cannot hold that
// product's records: the file answers every seek of those runs).
#include "indexdata/SeriesCursor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "indexdata/IndexLookup.h"
#include "support/SeriesComparison.h"
#include "support/TempFolder.h"

namespace {

using testsupport::DemoIndex;

TEST(SeriesCursorTest, EveryDemoProductAnswersAsRecordByRecordAndDeletesTheSame) {
  DemoIndex demo({{"ZERI", "2024-05-15", std::string("n.d.")}});
  const std::string copy = demo.folder.file("copy.mdb");
  std::filesystem::copy_file(demo.indexPath, copy);
  auto pointDb = platform::Database::open(demo.indexPath);
  auto seriesDb = platform::Database::open(copy);
  auto pointTable = pointDb->openTable("Indici");
  auto seriesTable = seriesDb->openTable("Indici");
  pointTable->setIndex("primaria");
  seriesTable->setIndex("primaria");

  const auto stats = demo.compare(*pointTable, *seriesTable);
  EXPECT_GE(stats.deleted, 3);  // zeros were met and deleted
  // Both ways of answering were taken: from memory, and from the file outside the spans read.
  EXPECT_GT(stats.answered, 0);
  EXPECT_GT(stats.passedOn, 0);
  EXPECT_EQ(DemoIndex::contents(*pointDb), DemoIndex::contents(*seriesDb));
}

}  // namespace
