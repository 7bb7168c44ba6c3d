#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "startup/Databases.h"
#include "support/CliRun.h"
#include "support/SmallInstallation.h"

using testsupport::CliRun;

TEST(StartupInfoCommand, ReportsTheStartedInstallation) {
  testsupport::SmallInstallation install;
  install.set("PATH", "TEMP", install.folder.file("tmp%"));
  install.set("PARAMETRI", "DECIMALI", "3");
  const CliRun run = CliRun::of("info --format json --ini " + install.ini, "2>/dev/null");
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

  const CliRun text = CliRun::of("info --ini " + install.ini, "2>/dev/null");
  EXPECT_NE(text.output.find("folders.base:"), std::string::npos) << text.output;
}

TEST(StartupInfoCommand, FailedStartExitsWithTheMessage) {
  testsupport::TempFolder temp;
  const CliRun run = CliRun::of("info --ini " + temp.file("none.ini"), "2>&1 >/dev/null");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.output, "STATIND -ERRORE: File di configurazione inesistente\n");

  // A FIFO under the name would block every read: a clear error at once.
  const std::string fifo = temp.file("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const CliRun odd = CliRun::of("info --ini " + fifo, "2>&1 >/dev/null");
  EXPECT_EQ(odd.exitCode, 2);
  EXPECT_EQ(odd.output, "STATIND -ERRORE: File di configurazione " + fifo +
                            " non utilizzabile: non è un file\n");

  // A configuration that cannot be read is told as such before it counts as missing.
  std::filesystem::create_symlink(temp.file("loop"), temp.file("loop"));
  const CliRun loop = CliRun::of("info --ini " + temp.file("loop/statind.ini"), "2>&1 >/dev/null");
  EXPECT_EQ(loop.exitCode, 2);
  EXPECT_EQ(loop.output, "Errori su  " + temp.file("loop/statind.ini") +
                             ": Questo percorso non esiste.\n"
                             "STATIND -ERRORE: File di configurazione inesistente\n");
}
