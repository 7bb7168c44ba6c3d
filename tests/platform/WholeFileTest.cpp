// Whole-file writes in folders other users may share: what the target is decides how it is
// written, links planted in advance are never followed, and what a killed writer left is
// cleaned up by the next write of the same target only.
#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/TempFolder.h"

namespace fs = std::filesystem;
using testsupport::TempFolder;

namespace {

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// The number of a process that has ended: a child, reaped.
long long deadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

}  // namespace

TEST(WholeFile, RegularTargetsAreReplacedKeepingTheirModeOthersWrittenInPlace) {
  TempFolder temp;
  const std::string target = temp.file("out.csv");
  TempFolder::write(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(platform::writeWholeFile(target, "new"), 0);
  EXPECT_EQ(TempFolder::read(target), "new");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  // A link of this user to a regular file: the file gets the bytes, the link stays.
  fs::create_symlink(target, temp.file("link.csv"));
  EXPECT_EQ(platform::writeWholeFile(temp.file("link.csv"), "through"), 0);
  EXPECT_TRUE(fs::is_symlink(temp.file("link.csv")));
  EXPECT_EQ(TempFolder::read(target), "through");

  EXPECT_EQ(platform::writeWholeFile("/dev/null", "gone"), 0);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  const std::string fifo = temp.file("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // the writer needs a reader
  EXPECT_EQ(platform::writeWholeFile(fifo, "through the pipe"), 0);
  char received[32] = {};
  const ssize_t got = ::read(reader, received, sizeof received);
  EXPECT_EQ(std::string(received, got > 0 ? static_cast<std::size_t>(got) : 0), "through the pipe");
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(namesIn(temp.path()), (std::set<std::string>{"out.csv", "link.csv", "pipe"}));
}

// Links planted under the names an earlier version used for its temporary files (the process
// number and a counter) are neither written through nor removed.
TEST(WholeFile, PlantedLinksAreNeverFollowed) {
  TempFolder temp;
  TempFolder::write(temp.file("victim"), "precious");
  std::set<std::string> expected{"victim", "out.pdf"};
  for (int n = 0; n < 3; ++n) {
    const std::string name = ".out.pdf.tmp" + std::to_string(::getpid()) + "-" + std::to_string(n);
    fs::create_symlink(temp.file("victim"), temp.file(name));
    expected.insert(name);
  }
  for (int run = 0; run < 3; ++run)
    EXPECT_EQ(platform::writeWholeFile(temp.file("out.pdf"), "x"), 0);
  EXPECT_EQ(TempFolder::read(temp.file("victim")), "precious");
  EXPECT_EQ(namesIn(temp.path()), expected);
}

TEST(WholeFile, TheNextWriteRemovesOnlyItsOwnTargetsStaleTemporaries) {
  TempFolder temp;
  const std::string dead = std::to_string(deadPid());
  const std::string stale[] = {".c.pdf." + dead + ".0123456789abcdef.tmp",
                               ".c.pdf.tmp" + dead + "-0"};
  const std::string kept[] = {
      ".c.pdf.1.0123456789abcdef.tmp",             // its process (init) still runs
      ".c.pdf." + dead + ".fedcba9876543210.tmp",  // held locked: a writer on another machine
      ".d.pdf." + dead + ".0123456789abcdef.tmp",  // another target's
      ".c.pdf." + dead + ".xyz.tmp",               // not of the form
      "c.pdf.tmp" + dead + "-0"};
  for (const auto& name : stale) TempFolder::write(temp.file(name), "half");
  for (const auto& name : kept) TempFolder::write(temp.file(name), "half");
  const int held = ::open(temp.file(kept[1]).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  EXPECT_EQ(platform::writeWholeFile(temp.file("c.pdf"), "whole"), 0);
  ::close(held);
  std::set<std::string> expected(std::begin(kept), std::end(kept));
  expected.insert("c.pdf");
  EXPECT_EQ(namesIn(temp.path()), expected);
}
