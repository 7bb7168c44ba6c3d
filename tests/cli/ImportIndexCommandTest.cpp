// statind-cli import-index as a script runs it: exit codes for each outcome, JSON, standard
// input, and an import killed while it writes, which must leave the index database as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/Format.h"
#include "platform/Store.h"
#include "support/CliRun.h"
#include "support/SmallInstallation.h"

extern char** environ;

namespace {

using testsupport::CliRun;
using testsupport::TempFolder;

class ImportIndexCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Database::open(install_.base + "OPER/DatiDV.mdb")
        ->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES ('P', 0)");
    platform::Database::open(indexPath())
        ->execute(
            "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon, IndValore) VALUES "
            "('P', '2024-01-02', 10, 10)");
  }
  std::string indexPath() const { return install_.base + "IndiciDV.mdb"; }
  long long records() {
    return std::get<std::int64_t>(
        platform::Database::open(indexPath())->snapshot("SELECT count(*) FROM Indici")[0].at(0));
  }
  // Writes `bytes` as a file of the test's folder and returns its path.
  std::string file(const std::string& name, const std::string& bytes) {
    const std::string path = install_.folder.file(name);
    TempFolder::write(path, bytes);
    return path;
  }
  CliRun import(const std::string& arguments, const std::string& streams = "2>&1") {
    return CliRun::of("import-index --ini '" + install_.ini + "' " + arguments, streams);
  }

  testsupport::SmallInstallation install_;
};

TEST_F(ImportIndexCommand, ExitsWithTheCodeOfEachOutcome) {
  const std::string good = file("good.csv", "Data;Valore quota\n02/01/2024;10\n03/01/2024;10,5\n");
  const std::string snapshot = TempFolder::read(indexPath());

  CliRun dry = import("--product P --dry-run " + good);
  EXPECT_EQ(dry.exitCode, 0) << dry.output;
  EXPECT_NE(dry.output.find("aggiunti 1, invariati 1"), std::string::npos) << dry.output;
  EXPECT_EQ(TempFolder::read(indexPath()), snapshot);

  const std::string ambiguous = file("ambiguous.csv", "02/01/2024;1,250\n03/01/2024;1.500\n");
  CliRun refused = import("--product P " + ambiguous);
  EXPECT_EQ(refused.exitCode, 65);
  EXPECT_NE(refused.output.find("--decimal"), std::string::npos);
  const std::string bad = file("bad.csv", "Data;Valore quota\n02/01/2024;10\n03/01/2024;n.d.\n");
  CliRun unreadable = import("--product P " + bad);
  EXPECT_EQ(unreadable.exitCode, 65);
  EXPECT_NE(unreadable.output.find("--skip-bad"), std::string::npos) << unreadable.output;
  EXPECT_EQ(import("--product NOWHERE " + good).exitCode, 3);
  EXPECT_EQ(import("--product P --create Nuovo " + good).exitCode, 64);  // no --currency
  EXPECT_EQ(import("--product P --date-format dd/yy " + good).exitCode, 64);
  EXPECT_EQ(import("--product P " + install_.folder.file("missing.csv")).exitCode, 64);
  EXPECT_EQ(TempFolder::read(indexPath()), snapshot);

  CliRun written = import("--product P --decimal , --format json " + ambiguous, "2>/dev/null");
  ASSERT_EQ(written.exitCode, 0) << written.output;
  const auto json = nlohmann::json::parse(written.output);
  EXPECT_EQ(json["status"], "imported");
  EXPECT_EQ(json["totals"]["added"], 1);
  EXPECT_EQ(json["products"][0]["conflicts"], 1);
  EXPECT_EQ(json["products"][0]["conflictList"][0]["stored"], 10);
  EXPECT_EQ(json["products"][0]["conflictList"][0]["file"], 1.25);  // "1,250" read the Italian way
  EXPECT_EQ(records(), 2);
}

TEST_F(ImportIndexCommand, ReadsStandardInputAndRefusesTheSuitesJetFiles) {
  CliRun piped = CliRun::of("import-index --ini '" + install_.ini + "' --product P - < '" +
                            file("in.csv", "Date,NAV\n2024-01-05,11.25\n") + "'");
  EXPECT_EQ(piped.exitCode, 0) << piped.output;
  EXPECT_EQ(records(), 2);

  std::string jet(4096, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  TempFolder::write(indexPath(), jet);
  CliRun refused = import("--product P " + file("more.csv", "08/01/2024;12\n"));
  EXPECT_EQ(refused.exitCode, 2) << refused.output;
  EXPECT_EQ(TempFolder::read(indexPath()), jet);
}

TEST_F(ImportIndexCommand, AnImportKilledWhileWritingLeavesTheDatabaseAsItWas) {
  // Enough records that the write is still going when its first progress line comes.
  std::string text = "Data;Valore\n";
  for (auto day = platform::dayNumber(1901, 1, 1); day < platform::dayNumber(2199, 1, 1); ++day)
    text += platform::formatDate(day) + ";" + std::to_string(day % 1000 + 2) + "\n";
  const std::string path = file("long.csv", text);
  const long long before = records();

  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, pipe[0]);
  std::vector<std::string> args = {STATIND_CLI_PATH, "import-index",
                                   "--ini",          install_.ini,
                                   "--product",      "P",
                                   "--overwrite",    path};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  std::string seen;
  char buffer[256];
  while (seen.find("scritti") == std::string::npos) {
    const auto n = ::read(pipe[0], buffer, sizeof buffer);
    if (n <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(n));
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(pipe[0]);
  ASSERT_NE(seen.find("scritti"), std::string::npos) << seen;
  ASSERT_TRUE(WIFSIGNALED(status)) << "the import ended before it could be killed";

  auto db = platform::Database::open(indexPath());
  EXPECT_EQ(platform::valueText(db->snapshot("PRAGMA integrity_check")[0].at(0)), "ok");
  EXPECT_EQ(records(), before);
}

}  // namespace
