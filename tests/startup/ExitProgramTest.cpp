#include "startup/ExitProgram.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/Profile.h"
#include "platform/ScriptedDesktop.h"
#include "platform/Version.h"
#include "support/TempFolder.h"

namespace {

class ExitProgramTest : public ::testing::Test {
 protected:
  ExitProgramTest() {
    env.programFolder = "/opt/statind";
    params.ownIniPath = temp.file("statind.ini");
    reports.open();
    dbs.dbOpened = true;
  }
  std::string setting(const std::string& key) {
    return desktop.userSettings[env.programFileName + "/Setting/" + key];
  }

  testsupport::TempFolder temp;
  platform::Environment env;
  startup::AppParams params;
  startup::Databases dbs;
  utilities::ReportEngine reports;
  platform::ScriptedDesktop desktop;
};

}  // namespace

TEST_F(ExitProgramTest, ClosesEverythingAndRecordsTheRun) {
  startup::exitProgram(env, params, dbs, reports, desktop,
                       startup::WindowPlacement{false, 1, 2, 3, 4});
  EXPECT_FALSE(reports.isOpen());
  EXPECT_FALSE(dbs.dbOpened);
  EXPECT_EQ(setting("ExePath"), "/opt/statind");
  EXPECT_EQ(setting("ExeVersion"), platform::kVersionText);
  EXPECT_TRUE(std::regex_match(setting("ExeRun"), std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")));
  // Only the suite's own programs keep their placement in the shared file.
  EXPECT_FALSE(std::filesystem::exists(params.ownIniPath));
  EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(ExitProgramTest, SuiteProgramKeepsItsPlacement) {
  env.programFileName = "Veltar";
  startup::exitProgram(env, params, dbs, reports, desktop,
                       startup::WindowPlacement{false, 10, 20, 9640, 5400});
  EXPECT_EQ(platform::readIni(params.ownIniPath, "PARAMETRI", "StartUp"), "10|20|9640|5400|");
  env.programFileName = "VELTARF";
  startup::exitProgram(env, params, dbs, reports, desktop,
                       startup::WindowPlacement{true, 0, 0, 0, 0});
  EXPECT_EQ(platform::readIni(params.ownIniPath, "PARAMETRI", "StartUp"), "M");
}

TEST_F(ExitProgramTest, AnUnwritableConfigurationDoesNotStopTheExit) {
  env.programFileName = "VELTAR";
  params.ownIniPath = temp.file("missing/folder/statind.ini");
  startup::exitProgram(env, params, dbs, reports, desktop, std::nullopt);
  startup::exitProgram(env, params, dbs, reports, desktop, startup::WindowPlacement{});
  EXPECT_FALSE(reports.isOpen());
  EXPECT_EQ(setting("ExeVersion"), platform::kVersionText);
}
