// The program on an installation whose databases are the suite's Jet files, against the same
// installation as SQLite files: statind-cli as a script runs it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/Format.h"
#include "support/CliRun.h"
#include "support/TempFolder.h"

namespace {

using testsupport::CliRun;
using testsupport::TempFolder;

const std::vector<std::string> kJetFiles = {"base/DEMO/DatiDV.mdb", "base/DEMO/VisiteDV.mdb",
                                            "base/IndiciDV.mdb", "work/DEMO/WorkDV.mdb"};

bool makeJetDemo(const std::string& folder) {
  return std::system(
             (std::string(STATIND_MAKE_JET_DEMO_PATH) + " --work " + folder + " >/dev/null 2>&1")
                 .c_str()) == 0;
}

std::string ini(const std::string& folder) {
  return " --ini " + folder + "/statind.ini";
}

nlohmann::json info(const std::string& folder) {
  const CliRun run = CliRun::of("info --format json" + ini(folder), "2>/dev/null");
  EXPECT_EQ(run.exitCode, 0);
  return nlohmann::json::parse(run.output);
}

class JetInstallationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    today_ = platform::today();
    ASSERT_EQ(CliRun::of("make-demo " + sqlite(), "2>/dev/null").exitCode, 0);
    ASSERT_TRUE(makeJetDemo(jet()));
  }
  static void TearDownTestSuite() { delete folder_; }
  static std::string sqlite() { return folder_->file("sqlite"); }
  static std::string jet() { return folder_->file("jet"); }

  static inline TempFolder* folder_ = nullptr;
  static inline platform::DayNumber today_ = 0;
};

TEST_F(JetInstallationTest, EveryFigureIsTheSqliteFilesOnesAndTheJetFilesStayUntouched) {
  std::vector<std::string> before;
  for (const auto& file : kJetFiles) before.push_back(TempFolder::read(jet() + "/" + file));
  const std::vector<std::string> commands = {
      "report --product AZ001",
      "report --product AZ001 --year 2020 --month 3 --format json",
      "report --product ZERI --year 2012 --month 3 --format csv",
      "report --product MID2009 --year 2009 --start-rule previous --format json",
      "compare --product AZ001 --from 2010 --to 2024 --format json",
      "compare --product ERR999 --from 2012 --to 2016 --month 6",
      "risk --product AZ001 --format json",
      "risk --product FISSO --format csv",
      "returns --product END2016 --format json",
      "value --product DATA1900 --date 02/01/1900 --format json",
      "value --product ZERI --date 15/03/2012"};
  for (const auto& command : commands) {
    const CliRun onSqlite = CliRun::of(command + ini(sqlite()), "2>/dev/null");
    const CliRun onJet = CliRun::of(command + ini(jet()), "2>/dev/null");
    EXPECT_EQ(onJet.exitCode, onSqlite.exitCode) << command;
    EXPECT_EQ(onJet.output, onSqlite.output) << command;
  }
  if (platform::today() != today_) GTEST_SKIP() << "the day changed while the demos were made";
  for (std::size_t i = 0; i < kJetFiles.size(); ++i)
    EXPECT_TRUE(TempFolder::read(jet() + "/" + kJetFiles[i]) == before[i]) << kJetFiles[i];

  const auto shown = info(jet());
  EXPECT_EQ(shown["formats"]["index"], "Jet 4");
  EXPECT_EQ(shown["formats"]["work"], "Jet");
  EXPECT_EQ(shown["databases"]["ownWork"], jet() + "/work/DEMO/WorkDV.statind.sqlite");
  EXPECT_EQ(shown["mirrors"]["data"], jet() + "/work/DEMO/DatiDV.mirror.sqlite");
}

TEST_F(JetInstallationTest, AMirrorIsCopiedAgainOnlyAfterItsFileChanged) {
  info(jet());
  const auto unchanged = info(jet());
  for (const char* database : {"data", "visits", "index"})
    EXPECT_EQ(unchanged["mirrorsBuilt"][database].get<std::string>().find("(ora)"),
              std::string::npos)
        << database;

  const std::string index = jet() + "/base/IndiciDV.mdb";
  struct stat status {};
  ::stat(index.c_str(), &status);
  const timespec times[2] = {{0, UTIME_OMIT}, {status.st_mtim.tv_sec + 10, 0}};
  ::utimensat(AT_FDCWD, index.c_str(), times, 0);
  const auto changed = info(jet());
  EXPECT_NE(changed["mirrorsBuilt"]["index"].get<std::string>().find("(ora)"), std::string::npos);
  EXPECT_EQ(changed["mirrorsBuilt"]["data"], unchanged["mirrorsBuilt"]["data"]);
}

TEST(JetStartTest, TwoProgramsStartingOnANewInstallationCopyEachMirrorOnce) {
  TempFolder folder;
  ASSERT_TRUE(makeJetDemo(folder.file("jet")));
  const std::string arguments = "info --format json" + ini(folder.file("jet"));
  // A new installation: neither mirrors nor links yet.
  std::FILE* first = CliRun::start(arguments, "2>/dev/null");
  std::FILE* second = CliRun::start(arguments, "2>/dev/null");
  const CliRun one = CliRun::finish(first);
  const CliRun two = CliRun::finish(second);
  ASSERT_EQ(one.exitCode, 0) << one.output;
  ASSERT_EQ(two.exitCode, 0) << two.output;
  const auto copiedBy = [](const CliRun& run, const char* database) {
    const auto built = nlohmann::json::parse(run.output)["mirrorsBuilt"][database];
    return built.get<std::string>().find("(ora)") != std::string::npos;
  };
  for (const char* database : {"data", "visits", "index"})
    EXPECT_NE(copiedBy(one, database), copiedBy(two, database)) << database;
}

TEST(JetStartTest, ADamagedJetFileStopsTheStartWithAClearMessage) {
  TempFolder folder;
  ASSERT_TRUE(makeJetDemo(folder.file("jet")));
  const std::string index = folder.file("jet/base/IndiciDV.mdb");
  std::string bytes = TempFolder::read(index);
  std::fill(bytes.begin() + bytes.size() / 2, bytes.end(), '\0');
  TempFolder::write(index, bytes);
  const CliRun run = CliRun::of("info" + ini(folder.file("jet")), "2>&1 >/dev/null");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.output.find("DATABASE " + index + " DANNEGGIATO"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(folder.file("jet/work/DEMO/IndiciDV.mirror.sqlite")));
}

TEST(JetCopyCommandTest, CopiesATableOrRefusesWithAReason) {
  TempFolder folder;
  ASSERT_TRUE(makeJetDemo(folder.file("jet")));
  const std::string data = folder.file("jet/base/DEMO/DatiDV.mdb");
  const std::string out = folder.file("dati.sqlite");
  const std::string copy = "jet-copy --from " + data + " --to " + out;
  const CliRun copied = CliRun::of(copy, "2>/dev/null");
  EXPECT_EQ(copied.exitCode, 0);
  EXPECT_NE(copied.output.find("TabProdotti: 40 righe\n"), std::string::npos) << copied.output;
  EXPECT_NE(copied.output.find("copiate 45 tabelle"), std::string::npos);

  EXPECT_EQ(
      CliRun::of("jet-copy --from " + data + " --to " + folder.file("no/dati.sqlite")).exitCode, 2);
  const CliRun again = CliRun::of(copy, "2>&1");
  EXPECT_EQ(again.exitCode, 2);
  EXPECT_NE(again.output.find("--replace"), std::string::npos);
  EXPECT_EQ(CliRun::of(copy + " --replace", "2>/dev/null").exitCode, 0);

  const std::string index = folder.file("jet/base/IndiciDV.mdb");
  const std::string jetBytes = TempFolder::read(index);
  EXPECT_EQ(CliRun::of("jet-copy --replace --from " + data + " --to " + index).exitCode, 2);
  EXPECT_TRUE(TempFolder::read(index) == jetBytes);

  std::string damaged = TempFolder::read(data);
  std::fill(damaged.begin() + damaged.size() / 2, damaged.end(), '\0');
  TempFolder::write(data, damaged);
  const std::string fresh = folder.file("nuovo.sqlite");
  const CliRun failed = CliRun::of("jet-copy --from " + data + " --to " + fresh, "2>&1");
  EXPECT_EQ(failed.exitCode, 2);
  EXPECT_NE(failed.output.find(data), std::string::npos) << failed.output;
  EXPECT_FALSE(std::filesystem::exists(fresh));
}

}  // namespace
