#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/Store.h"
#include "support/SmallInstallation.h"

namespace {

struct CliRun {
  int exitCode = 0;
  std::string output;
};

// Runs `statind-cli value` with `arguments`; stderr is kept with stdout.
CliRun value(const std::string& arguments) {
  CliRun run;
  const std::string command = std::string(STATIND_CLI_PATH) + " value " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, ""};
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  run.exitCode = WEXITSTATUS(pclose(pipe));
  return run;
}

class IndexLookupCli : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.set("PARAMETRI", "DECIMALI", "3");
    auto data = platform::Database::open(install_.base + "OPER/DatiDV.mdb");
    data->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES ('KNOWN', 0)");
    auto index = platform::Database::open(install_.base + "IndiciDV.mdb");
    index->execute(
        "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) VALUES "
        "('P', '2010-03-10', 1234.5678), ('P', '2010-03-15', 5.4)");
    ini_ = " --ini '" + install_.ini + "'";
  }

  testsupport::SmallInstallation install_;
  std::string ini_;
};

TEST_F(IndexLookupCli, PrintsTheValueAsTextOrJson) {
  const CliRun text = value("--product P --date 12/03/2010" + ini_);
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_EQ(text.output, "1.234,568\n");

  const CliRun json = value("--format json --date 1/3/2010 --product ' P '" + ini_);
  ASSERT_EQ(json.exitCode, 0) << json.output;
  const auto parsed = nlohmann::json::parse(json.output);
  EXPECT_EQ(parsed["product"], "P");
  EXPECT_EQ(parsed["date"], "01/03/2010");
  EXPECT_DOUBLE_EQ(parsed["value"].get<double>(), 1234.568);

  // A product without any record still has its index, 1.
  EXPECT_EQ(value("--product KNOWN --date 12/03/2010" + ini_).output, "1,000\n");
}

TEST_F(IndexLookupCli, ReportsWhatItCannotAnswer) {
  EXPECT_EQ(value("--product NOWHERE --date 12/03/2010" + ini_).exitCode, 3);
  EXPECT_EQ(value("--product P --date 31/02/2010" + ini_).exitCode, 64);
  EXPECT_EQ(value("--product ' ' --date 12/03/2010" + ini_).exitCode, 64);
  const CliRun noConfig =
      value("--product P --date 12/03/2010 --ini '" + install_.folder.file("none.ini") + "'");
  EXPECT_EQ(noConfig.exitCode, 2);
}

}  // namespace
