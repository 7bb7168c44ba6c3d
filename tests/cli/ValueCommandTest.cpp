#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/Store.h"
#include "support/CliRun.h"
#include "support/SmallInstallation.h"

namespace {

using testsupport::CliRun;

CliRun value(const std::string& arguments) {
  return CliRun::of("value " + arguments);
}

TEST(ValueCommand, AnswersAsTextOrJsonAndReportsWhatItCannot) {
  testsupport::SmallInstallation install;
  install.set("PARAMETRI", "DECIMALI", "3");
  platform::Database::open(install.base + "OPER/DatiDV.mdb")
      ->execute(
          "INSERT INTO TabProdotti (Codice, NoIndici) VALUES ('KNOWN', 0), "
          "(CAST(X'5049D93031' AS TEXT), 0)");
  // PIÙ01 as the suite's older programs stored it, in Windows-1252.
  platform::Database::open(install.base + "IndiciDV.mdb")
      ->execute(
          "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES "
          "('P', '2010-03-10', 1234.5678), (CAST(X'5049D93031' AS TEXT), '2010-03-10', 7.25)");
  const std::string ini = " --ini '" + install.ini + "'";

  EXPECT_EQ(value("--product P --date 12/03/2010" + ini).output, "1.234,568\n");
  const CliRun json = value("--format json --date 1/3/2010 --product ' P '" + ini);
  ASSERT_EQ(json.exitCode, 0) << json.output;
  EXPECT_EQ(nlohmann::json::parse(json.output),
            nlohmann::json::parse(R"({"product":"P","date":"01/03/2010","value":1234.568})"));
  EXPECT_EQ(value("--product KNOWN --date 12/03/2010" + ini).output, "1,000\n");
  // Found by the code the program shows, and by those bytes typed on a Windows-1252 console.
  EXPECT_EQ(value("--product PIÙ01 --date 12/03/2010" + ini).output, "7,250\n");
  EXPECT_EQ(value("--product \"$(printf 'PI\\33101')\" --date 12/03/2010" + ini).output, "7,250\n");

  EXPECT_EQ(value("--product NOWHERE --date 12/03/2010" + ini).exitCode, 3);
  EXPECT_EQ(value("--product P --date 31/02/2010" + ini).exitCode, 64);
  EXPECT_EQ(value("--product ' ' --date 12/03/2010" + ini).exitCode, 64);
  EXPECT_EQ(value("--product P --date 12/03/2010 --ini /nonexistent/x.ini").exitCode, 2);
}

// An index database left in write-ahead log mode in a folder the program cannot write: read as
// it stands while no log lies beside it; otherwise the start says why it cannot be read.
TEST(ValueCommand, AWriteAheadLogIndexInAReadOnlyFolder) {
  testsupport::SmallInstallation install;
  const std::string index = install.base + "IndiciDV.mdb";
  {
    auto db = platform::Database::open(index);
    db->execute(
        "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES ('P', '2010-03-10', 3.5)");
    db->useWriteAheadLog();
  }
  // The superuser writes anywhere: the program then runs as nobody, who may write its work folder.
  const bool root = geteuid() == 0;
  ASSERT_EQ(
      std::system(((root ? "chown -R nobody '" + install.work : "chmod a-w '" + install.base) + "'")
                      .c_str()),
      0);
  const auto run = [&](const std::string& streams) {
    return CliRun::of("value --product P --date 12/03/2010 --ini '" + install.ini + "'", streams,
                      root ? "runuser -u nobody --" : "");
  };
  const CliRun read = run("2>/dev/null");
  EXPECT_EQ(read.exitCode, 0);
  EXPECT_EQ(read.output, "3,50\n");

  testsupport::TempFolder::write(index + "-wal", "");
  const CliRun refused = run("2>&1 >/dev/null");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.output.find("DATABASE " + index +
                                " NON LEGGIBILE: IN MODALITÀ WAL IN UNA CARTELLA DI SOLA LETTURA "
                                "MENTRE UN ALTRO PROGRAMMA LO SCRIVE (IndiciDV.mdb-wal)"),
            std::string::npos)
      << refused.output;
  EXPECT_EQ(std::system(("chmod u+w '" + install.base + "'").c_str()), 0);
}

}  // namespace
