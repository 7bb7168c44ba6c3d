#include <gtest/gtest.h>

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
