#include "jet/Mirror.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "jet/JetError.h"
#include "platform/Store.h"
#include "support/JetWriter.h"
#include "support/TempFolder.h"

namespace {

using jet::JetError;
using jet::JetFailure;
using jetfixture::ColumnType;
using jetfixture::JetWriter;

class MirrorTest : public ::testing::Test {
 protected:
  MirrorTest() {
    writeIndex(100);
    params.source = source;
    params.mirror = folder.file("mirror/IndiciDV.mirror.sqlite");
    params.pause = std::chrono::milliseconds(1);
  }

  void writeIndex(int rows) {
    JetWriter writer(source);
    writer.beginTable("Indici",
                      {{"IndProdotto", ColumnType::Text, 20}, {"IndValore", ColumnType::Double}});
    for (int i = 0; i < rows; ++i) writer.addRow({std::string("AZ001"), i * 1.0});
    writer.finish();
  }
  // Moves the file's modification time, as a program writing it would.
  void touch(int secondsLater) {
    const auto stamp = jet::FileStamp::of(source);
    const timespec times[2] = {{0, UTIME_OMIT}, {stamp->modifiedNs / 1000000000 + secondsLater, 0}};
    ::utimensat(AT_FDCWD, source.c_str(), times, 0);
  }
  long long rowsInMirror() {
    auto db = platform::Database::open(params.mirror);
    return std::get<std::int64_t>(db->snapshot("SELECT count(*) FROM Indici").front().at(0));
  }

  testsupport::TempFolder folder;
  std::string source = folder.file("IndiciDV.mdb");
  jet::MirrorParams params;
};

TEST_F(MirrorTest, CopiedOnceAndAgainOnlyWhenTheFileChanges) {
  const auto first = jet::ensureMirror(params);
  EXPECT_TRUE(first.rebuilt);
  EXPECT_EQ(first.stamp.version, 4);
  EXPECT_EQ(rowsInMirror(), 100);
  const auto same = jet::ensureMirror(params);
  EXPECT_FALSE(same.rebuilt);
  EXPECT_EQ(same.stamp.builtAt, first.stamp.builtAt);

  writeIndex(150);
  touch(5);
  const auto changed = jet::ensureMirror(params);
  EXPECT_TRUE(changed.rebuilt);
  EXPECT_EQ(rowsInMirror(), 150);
  // Nothing but the mirror and its lock is left in the folder.
  int files = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(folder.file("mirror")))
    ++files;
  EXPECT_EQ(files, 2);
}

TEST_F(MirrorTest, TheMirrorIsOnlyReadByTheProgram) {
  jet::ensureMirror(params);
  auto db = platform::Database::open(params.mirror);
  try {
    db->execute("DELETE FROM Indici");
    FAIL() << "the mirror was written";
  } catch (const platform::StoreError& e) {
    EXPECT_TRUE(e.writeRefused()) << e.what();
  }
}

TEST_F(MirrorTest, AFileChangingDuringTheCopyIsReadAgain) {
  int copies = 0;
  params.events = [&](const jet::CopyEvent& event) {
    if (event.kind == jet::CopyEvent::Kind::Opened && ++copies == 1) touch(3);
  };
  std::vector<int> retried;
  params.retrying = [&](int attempt, const std::string&) { retried.push_back(attempt); };
  const auto state = jet::ensureMirror(params);
  EXPECT_TRUE(state.rebuilt);
  EXPECT_EQ(retried, std::vector<int>{2});
  EXPECT_EQ(state.stamp.file, *jet::FileStamp::of(source));
}

TEST_F(MirrorTest, WhenNoCopySucceedsTheOlderMirrorServesOrTheStartStops) {
  int seconds = 0;
  params.events = [&](const jet::CopyEvent& event) {
    if (event.kind == jet::CopyEvent::Kind::Opened) touch(++seconds);
  };
  try {
    jet::ensureMirror(params);
    FAIL() << "a copy of a file that never held still was used";
  } catch (const JetError& e) {
    EXPECT_EQ(e.kind(), JetFailure::Changing);
  }
  EXPECT_FALSE(std::filesystem::exists(params.mirror));

  params.events = {};
  const auto built = jet::ensureMirror(params);
  // Damaged since: the copy fails every time, the older mirror stays in use.
  std::string bytes = testsupport::TempFolder::read(source);
  std::fill(bytes.begin() + 3 * 4096, bytes.end(), '\0');
  testsupport::TempFolder::write(source, bytes);
  touch(60);
  const auto stale = jet::ensureMirror(params);
  EXPECT_TRUE(stale.stale);
  EXPECT_FALSE(stale.rebuilt);
  EXPECT_EQ(stale.stamp.builtAt, built.stamp.builtAt);
  EXPECT_NE(stale.staleReason.find("IndiciDV.mdb"), std::string::npos);
  EXPECT_EQ(rowsInMirror(), 100);
}

}  // namespace
