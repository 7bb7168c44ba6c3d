#include "startup/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/Profile.h"
#include "platform/ScriptedDesktop.h"
#include "platform/Strings.h"
#include "support/SmallInstallation.h"

namespace fs = std::filesystem;
using startup::StartOutcome;

namespace {

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() : cwd_(fs::current_path()) {
    env.programFolder = install.program;
    env.windowsFolder = install.folder.file("etc") + "/";
    env.userName = "utente01";
    env.screenWidthTwips = 15000;
    env.screenHeightTwips = 11000;
  }
  ~StartupTest() override { fs::current_path(cwd_); }

  StartOutcome start(const std::string& commandLine) {
    env.commandLine = commandLine;
    const StartOutcome outcome = startup::initialise(env, params, desktop);
    if (outcome != StartOutcome::Ready) return outcome;
    return startup::load(env, params, dbs, reports, desktop,
                         [this](const std::string& caption) { captions.push_back(caption); });
  }

  testsupport::SmallInstallation install;
  platform::Environment env;
  startup::AppParams params;
  startup::Databases dbs;
  utilities::ReportEngine reports;
  platform::ScriptedDesktop desktop;
  std::vector<std::string> captions;

 private:
  fs::path cwd_;
};

}  // namespace

TEST_F(StartupTest, EmptyOperatorFieldEndsAtOnce) {
  EXPECT_EQ(start("|0"), StartOutcome::MissingParams);
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "Mancano i parametri");
  EXPECT_FALSE(dbs.dbOpened);
}

TEST_F(StartupTest, MissingConfigurationFileStopsBeforeLoading) {
  fs::remove(install.ini);
  env.commandLine = "oper|0";
  EXPECT_EQ(startup::initialise(env, params, desktop), StartOutcome::NoConfigFile);
  EXPECT_TRUE(params.startFailed);
  EXPECT_EQ(params.networkSection, "RAS");
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "File di configurazione inesistente");
  EXPECT_EQ(startup::load(env, params, dbs, reports, desktop, {}), StartOutcome::NoConfigFile);
  EXPECT_FALSE(dbs.dbOpened);
  EXPECT_FALSE(reports.isOpen());
}

TEST_F(StartupTest, SuiteStartOpensEverything) {
  ASSERT_EQ(start("xyz|1|20000|300|FUND1"), StartOutcome::Ready);
  EXPECT_FALSE(params.standAlone);
  EXPECT_EQ(params.startFunction, 1);
  EXPECT_EQ(params.windowLeft, 20000);  // the window keeps itself inside the screen
  EXPECT_EQ(params.productCode, "FUND1");
  EXPECT_EQ(params.usableWidth, 15120);
  EXPECT_EQ(params.usableHeight, 11120);
  EXPECT_EQ(params.operatorCode, "OPER");  // the configuration replaces the command line's
  EXPECT_EQ(params.windowsUser, "utent");
  EXPECT_EQ(params.dataDbPath, install.base + "OPER/DatiDV.mdb");
  EXPECT_EQ(fs::current_path(), fs::path(env.programFolder));
  EXPECT_TRUE(dbs.dbOpened);
  EXPECT_FALSE(captions.empty());
  EXPECT_TRUE(reports.isOpen());
  EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(StartupTest, WindowsUserStandsInForAMissingOperator) {
  install.set("BASE", "OPERATORE", "");
  // UTENT has no databases: the user gives up at the database box and the program must end.
  EXPECT_EQ(start(""), StartOutcome::DatabasesClosed);
  EXPECT_TRUE(params.standAlone);
  EXPECT_EQ(params.startFunction, 9);
  EXPECT_EQ(params.operatorCode, "UTENT");
  EXPECT_EQ(params.dataDbPath, install.base + "UTENT/DatiDV.mdb");
  EXPECT_FALSE(desktop.shown.empty());
  EXPECT_FALSE(reports.isOpen());
}

// The operator's name becomes a folder under the base, work and save folders: a name that
// would leave them is refused before any folder is made from it.
TEST_F(StartupTest, OperatorNameThatIsNoFolderNameIsRefused) {
  const auto everything = [this] {
    std::set<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(install.folder.path()))
      paths.insert(entry.path().string());
    return paths;
  };
  const auto before = everything();
  for (const std::string name : {"../x", "..", "a\\b"}) {
    install.set("BASE", "OPERATORE", name);
    desktop.shown.clear();
    EXPECT_EQ(start("oper|0"), StartOutcome::InvalidOperator) << name;
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_EQ(desktop.shown[0].text.substr(0, desktop.shown[0].text.find('\n')),
              "NOME OPERATORE NON VALIDO: '" + platform::upperCase(name) + "'");
    EXPECT_FALSE(dbs.dbOpened);
  }
  EXPECT_EQ(everything(), before);
}
