#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "startup/Databases.h"
#include "support/SmallInstallation.h"

namespace {

struct CliRun {
  int exitCode = 0;
  std::string output;
};

// Runs statind-cli with `arguments`; `streams` picks what is captured ("2>/dev/null" keeps
// stdout, "2>&1 >/dev/null" keeps stderr).
CliRun cli(const std::string& arguments, const std::string& streams) {
  CliRun run;
  std::FILE* pipe =
      popen((std::string(STATIND_CLI_PATH) + " " + arguments + " " + streams).c_str(), "r");
  if (!pipe) return {-1, ""};
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  run.exitCode = WEXITSTATUS(pclose(pipe));
  return run;
}

}  // namespace

TEST(StartupInfoCommand, ReportsTheStartedInstallation) {
  testsupport::SmallInstallation install;
  install.set("PATH", "TEMP", install.folder.file("tmp%"));
  install.set("PARAMETRI", "DECIMALI", "3");
  const CliRun run = cli("info --format json --ini " + install.ini, "2>/dev/null");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto info = nlohmann::json::parse(run.output);
  EXPECT_EQ(info["configFile"], install.ini);
  EXPECT_EQ(info["operator"], "OPER");
  EXPECT_EQ(info["networkSection"], "RAS");
  EXPECT_EQ(info["folders"]["temp"], install.folder.file("tmp") + "/OPER/");
  EXPECT_EQ(info["databases"]["index"], install.base + "IndiciDV.mdb");
  EXPECT_EQ(info["databases"]["work"], install.work + "OPER/WorkDV.mdb");
  EXPECT_EQ(info["valueFormat"], "#,###,###,##0.000");
  EXPECT_EQ(info["validAttachments"], startup::expectedAttachmentCount());
  EXPECT_EQ(info["attachedThisStart"], true);

  const CliRun text = cli("info --ini " + install.ini, "2>/dev/null");
  EXPECT_NE(text.output.find("folders.base:"), std::string::npos) << text.output;
}

TEST(StartupInfoCommand, FailedStartExitsWithTheMessage) {
  testsupport::TempFolder temp;
  const CliRun run = cli("info --ini " + temp.file("none.ini"), "2>&1 >/dev/null");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.output, "STATIND -ERRORE: File di configurazione inesistente\n");
}
