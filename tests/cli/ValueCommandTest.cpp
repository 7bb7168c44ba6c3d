#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/Store.h"
#include "support/SmallInstallation.h"

namespace {

struct CliRun {
  int exitCode = 0;
  std::string output;  // stdout and stderr
};

CliRun value(const std::string& arguments) {
  CliRun run;
  std::FILE* pipe =
      popen((std::string(STATIND_CLI_PATH) + " value " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, ""};
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  run.exitCode = WEXITSTATUS(pclose(pipe));
  return run;
}

TEST(IndexLookupCli, AnswersAsTextOrJsonAndReportsWhatItCannot) {
  testsupport::SmallInstallation install;
  install.set("PARAMETRI", "DECIMALI", "3");
  platform::Database::open(install.base + "OPER/DatiDV.mdb")
      ->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES ('KNOWN', 0)");
  platform::Database::open(install.base + "IndiciDV.mdb")
      ->execute(
          "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES "
          "('P', '2010-03-10', 1234.5678)");
  const std::string ini = " --ini '" + install.ini + "'";

  EXPECT_EQ(value("--product P --date 12/03/2010" + ini).output, "1.234,568\n");
  const CliRun json = value("--format json --date 1/3/2010 --product ' P '" + ini);
  ASSERT_EQ(json.exitCode, 0) << json.output;
  EXPECT_EQ(nlohmann::json::parse(json.output),
            nlohmann::json::parse(R"({"product":"P","date":"01/03/2010","value":1234.568})"));
  EXPECT_EQ(value("--product KNOWN --date 12/03/2010" + ini).output, "1,000\n");

  EXPECT_EQ(value("--product NOWHERE --date 12/03/2010" + ini).exitCode, 3);
  EXPECT_EQ(value("--product P --date 31/02/2010" + ini).exitCode, 64);
  EXPECT_EQ(value("--product ' ' --date 12/03/2010" + ini).exitCode, 64);
  EXPECT_EQ(value("--product P --date 12/03/2010 --ini /nonexistent/x.ini").exitCode, 2);
}

}  // namespace
