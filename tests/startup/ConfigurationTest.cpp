#include "startup/Configuration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Profile.h"
#include "platform/ScriptedDesktop.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using startup::Configuration;

namespace {

class ConfigurationTest : public ::testing::Test {
 protected:
  ConfigurationTest() {
    fs::create_directories(temp.path() / "prog");
    fs::create_directories(temp.path() / "etc");
    env.programFolder = temp.file("prog");
    env.windowsFolder = temp.file("etc") + "/";
    env.productName = "Statistiche";
    ini = temp.file("prog/statind.ini");
    params.ownIniPath = ini;
  }

  void write(const std::string& section, const std::string& key, const std::string& value) {
    ASSERT_TRUE(platform::writeIni(ini, section, key, value));
  }
  Configuration config() { return Configuration(env, params, desktop); }

  testsupport::TempFolder temp;
  platform::Environment env;
  startup::AppParams params;
  platform::ScriptedDesktop desktop;
  std::string ini;
};

}  // namespace

TEST_F(ConfigurationTest, FileSearchOrder) {
  EXPECT_FALSE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("etc/Statistiche.ini"));  // the last candidate
  desktop.shown.clear();
  std::ofstream(temp.file("etc/Statistiche.ini")) << "";
  EXPECT_TRUE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("etc/Statistiche.ini"));
  std::ofstream(temp.file("etc/statind.ini")) << "";
  EXPECT_TRUE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("etc/statind.ini"));
  std::ofstream(temp.file("prog/STATIND.INI")) << "";  // copied from Windows
  EXPECT_TRUE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("prog/STATIND.INI"));
  EXPECT_TRUE(desktop.shown.empty());

  env.configFileOverride = temp.file("other.ini");
  EXPECT_FALSE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("other.ini"));
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "File di configurazione inesistente");
}

// A folder that cannot be read (here a link that points at itself) is not "missing": the user
// is told, may retry, and Cancel goes on with the next candidate.
TEST_F(ConfigurationTest, UnreadableCandidatesAskBeforeCountingAsMissing) {
  fs::create_symlink(temp.file("loop"), temp.file("loop"));
  env.programFolder = temp.file("loop");
  std::ofstream(temp.file("etc/statind.ini")) << "";
  EXPECT_TRUE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("etc/statind.ini"));
  ASSERT_EQ(desktop.shown.size(), 2u);  // one box for each candidate in the loop
  EXPECT_EQ(desktop.shown[0].text, "Questo percorso non esiste.");
  EXPECT_EQ(desktop.shown[0].title, "Errori su  " + temp.file("loop/statind.ini"));
  EXPECT_EQ(desktop.shown[0].buttons, platform::Buttons::RetryCancel);
  EXPECT_EQ(desktop.shown[0].icon, platform::Icon::Exclamation);

  // Retry after the fault has cleared finds the file in the program folder.
  desktop.shown.clear();
  desktop.answers = {platform::Answer::Retry};
  desktop.onMessage = [&](const platform::Message&) {
    fs::remove(temp.file("loop"));
    fs::create_directories(temp.path() / "loop");
    std::ofstream(temp.file("loop/statind.ini")) << "";
  };
  EXPECT_TRUE(config().findConfigFile());
  EXPECT_EQ(params.ownIniPath, temp.file("loop/statind.ini"));
  EXPECT_EQ(desktop.shown.size(), 1u);
}

TEST_F(ConfigurationTest, UnreadableBaseFolderIsToldAndTheSearchGoesOn) {
  fs::create_symlink(temp.file("loop"), temp.file("loop"));
  fs::create_directories(temp.path() / "Suite2");
  std::ofstream(temp.file("afile")) << "";
  write("PATH", "FILE", temp.file("loop") + "/");
  write("PATH1", "FILE", temp.file("afile"));  // a file is no folder, and no fault either
  write("PATH2", "FILE", temp.file("Suite2"));
  ASSERT_TRUE(config().loadBasePaths());
  EXPECT_EQ(params.positionSuffix, "2");
  ASSERT_FALSE(desktop.shown.empty());
  for (const auto& shown : desktop.shown) {
    EXPECT_EQ(shown.text, "Questo percorso non esiste.");
    EXPECT_EQ(shown.title, "Errori su  " + temp.file("loop"));
  }
}

TEST_F(ConfigurationTest, NetworkSectionAndDatabaseNames) {
  write("PARAMETRI", "Finanziaria", "2");
  write("AZM", "DATI", "7");
  write("AZM", "VISITE", "0");
  write("RAS", "INDICI", "9");
  config().readNetworkSection();
  config().readDatabaseNames();
  EXPECT_EQ(params.networkSection, "AZM");
  EXPECT_EQ(params.dataDbName, "Dati7.mdb");
  EXPECT_EQ(params.visitsDbName, "VisiteDV.mdb");
  EXPECT_EQ(params.indexDbName, "IndiciDV.mdb");
  EXPECT_EQ(params.workDbName, "WorkDV.mdb");

  for (const auto& [value, section] :
       {std::pair{"1", "FEF"}, {"abc", "RAS"}, {"3", "RAS"}, {"", "RAS"}}) {
    write("PARAMETRI", "Finanziaria", value);
    config().readNetworkSection();
    EXPECT_EQ(params.networkSection, section) << value;
  }
  config().readDatabaseNames();
  EXPECT_EQ(params.indexDbName, "Indici9.mdb");
}

TEST_F(ConfigurationTest, BaseFolderFallsBackToTheFirstExistingPathSection) {
  fs::create_directories(temp.path() / "Suite3");
  write("PATH", "FILE", "");
  write("PATH2", "FILE", temp.file("gone"));
  write("PATH3", "FILE", temp.path().string() + "\\SUITE3");
  write("PATH3", "WORK", temp.file("work"));
  write("BASE", "OPERATORE", " rossi ");
  write("PARAMETRI", "SOC_ACTIV", "02");
  ASSERT_TRUE(config().loadBasePaths());
  EXPECT_EQ(params.positionSuffix, "3");
  EXPECT_EQ(platform::readIni(ini, "BASE", "POSIZ"), "3");
  EXPECT_EQ(params.pathSection, "PATH3");
  EXPECT_EQ(params.baseFolder, temp.file("Suite3") + "/");
  EXPECT_EQ(params.workFolder, temp.file("work") + "/");
  EXPECT_EQ(params.operatorCode, "ROSSI");
  EXPECT_EQ(params.movementsTable, "Movimenti02");
  EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(ConfigurationTest, NoBaseFolderIsReported) {
  write("PATH", "FILE", temp.file("gone"));
  params.operatorCode = "XXX";
  EXPECT_FALSE(config().loadBasePaths());
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "CARTELLA BASE DI VELTAR INESISTENTE");
  EXPECT_EQ(params.baseFolder, "");
}

TEST_F(ConfigurationTest, WorkingFoldersAreCreated) {
  write("PATH", "FILE", temp.file(""));
  write("PATH", "TEMP", temp.file("tmp") + "%");
  write("EURO", "CODBASE", "USD");
  params.windowsUser = "utent";
  ASSERT_TRUE(config().loadBasePaths());
  EXPECT_EQ(params.operatorCode, "UTENT");
  config().loadParameters();
  const std::string base = temp.file("");
  EXPECT_EQ(params.dataDbPath, base + "UTENT/DatiDV.mdb");
  EXPECT_EQ(params.workDbPath, "/UTENT/WorkDV.mdb");  // WORK missing: the drive root
  EXPECT_EQ(params.saveFolder, base + "save/");
  EXPECT_TRUE(fs::is_directory(base + "save/UTENT"));
  EXPECT_EQ(params.tempFolder, base + "tmp/UTENT/");
  EXPECT_EQ(params.impExpFolder, params.tempFolder);
  EXPECT_EQ(params.textsFolder, base);
  EXPECT_EQ(params.sheetsFolder, base);
  EXPECT_EQ(params.euroCode, "EUR");
  EXPECT_EQ(params.baseCurrency, "USD");
  EXPECT_EQ(params.valueFormat, "#,###,###,##0.00");
  EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(ConfigurationTest, FolderFailuresAreShownAndEveryStepStillRuns) {
  write("PATH", "FILE", temp.file(""));
  write("PATH", "SAVE", temp.file("no/save"));
  write("PATH", "TESTI", temp.file("no/texts"));
  write("EURO", "CODEUR", "EU");
  write("PARAMETRI", "DECIMALI", "3");
  ASSERT_TRUE(config().loadBasePaths());
  config().loadParameters();
  ASSERT_EQ(desktop.shown.size(), 3u);
  EXPECT_EQ(desktop.shown[0].text,
            "ERRORE SAVE\n" + temp.file("no/save/") + "\n76-Impossibile trovare il percorso");
  EXPECT_EQ(desktop.shown[1].text.substr(0, 12), "ERRORE SAVE\n");
  EXPECT_EQ(desktop.shown[2].text.substr(0, 13), "ERRORE TESTI\n");
  EXPECT_EQ(params.textsFolder, "");
  EXPECT_EQ(params.sheetsFolder, "");  // follows the texts folder, never the file-system root
  EXPECT_EQ(params.euroCode, "EU");
  EXPECT_EQ(params.baseCurrency, "EU");
  EXPECT_EQ(params.valueFormat, "#,###,###,##0.000");
}

TEST(ConfigurationFormat, ValueFormatFromDecimals) {
  EXPECT_EQ(Configuration::valueFormatFor("3"), "#,###,###,##0.000");
  EXPECT_EQ(Configuration::valueFormatFor("0"), "###,###,##0.000");
  EXPECT_EQ(Configuration::valueFormatFor("-1"), "###,###,##0.000");
  EXPECT_EQ(Configuration::valueFormatFor("abc"), "#,###,###,##0.00");
  EXPECT_EQ(Configuration::valueFormatFor(""), "#,###,###,##0.00");
  EXPECT_EQ(Configuration::valueFormatFor("2.5"), "#,###,###,##0.00");
  EXPECT_EQ(Configuration::valueFormatFor("3,5"), "#,###,###,##0.0000");
  EXPECT_EQ(Configuration::valueFormatFor("0.4"), "###,###,##0.000");
  EXPECT_EQ(Configuration::valueFormatFor("1000000000"), "#,###,###,##0." + std::string(15, '0'));
}
