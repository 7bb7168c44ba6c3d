#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/Format.h"
#include "support/CliRun.h"
#include "support/SmallInstallation.h"

namespace {

using testsupport::CliRun;

// Eight products P1..P8 over 25 years of business days (2000 to 2024), each swinging at its own
// pace, the money-market index MON over the same years, and LATE, which starts in 2025.
class VersusCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    SQLite::Database data(install_.base + "OPER/DatiDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Database index(install_.base + "IndiciDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Transaction tx(index);
    SQLite::Statement insert(index,
                             "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) "
                             "VALUES (?1, ?2, ?3)");
    SQLite::Statement product(
        data,
        "INSERT INTO TabProdotti (Codice, Descrizione, NoIndici) VALUES (?1, 'Fondo ' || ?1, 0)");
    const auto add = [&](const std::string& code, platform::DayNumber first,
                         platform::DayNumber last, double pace) {
      product.bind(1, code);
      product.exec();
      product.reset();
      int n = 0;
      for (auto d = first; d <= last; ++d) {
        if (platform::weekday(d) > 5) continue;
        insert.bind(1, code);
        insert.bind(2, platform::isoDate(d));
        insert.bind(3, 100 * std::exp(0.0002 * n + 0.05 * std::sin(n * pace)));
        insert.exec();
        insert.reset();
        ++n;
      }
    };
    for (const char* code : {"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8"})
      add(code, platform::dayNumber(2000, 1, 3), platform::dayNumber(2024, 12, 31),
          0.01 * (code[1] - '0'));
    add("MON", platform::dayNumber(2000, 1, 3), platform::dayNumber(2024, 12, 31), 0);
    add("LATE", platform::dayNumber(2025, 2, 3), platform::dayNumber(2025, 6, 30), 0.1);
    tx.commit();
  }

  CliRun versus(const std::string& arguments, const std::string& streams = "2>/dev/null") {
    return CliRun::of("versus " + arguments + " --ini '" + install_.ini + "'", streams);
  }

  testsupport::SmallInstallation install_;
};

TEST_F(VersusCommand, JsonHoldsFiguresChartAndMatrixWithTheRiskFreeSaid) {
  CliRun run = versus("--products p1,P2 --benchmark p2 --period 3a --format json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  auto out = nlohmann::json::parse(run.output);
  std::vector<std::string> keys;
  const auto ordered = nlohmann::ordered_json::parse(run.output);
  for (const auto& item : ordered.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"from", "to", "riskFree", "benchmark", "products",
                                            "correlation", "chart"}));
  EXPECT_EQ(out["from"], "31/12/2021");
  EXPECT_EQ(out["to"], "31/12/2024");
  EXPECT_EQ(out["riskFree"], (nlohmann::json{{"product", nullptr}, {"annualisedReturn", 0.0}}));
  EXPECT_EQ(out["benchmark"], "P2");
  const auto& p1 = out["products"][0];
  EXPECT_EQ(p1["product"], "P1");
  EXPECT_EQ(p1["description"], "Fondo P1");
  EXPECT_NEAR(p1["sharpe"].get<double>(),
              p1["annualisedReturn"].get<double>() / p1["volatility"].get<double>(), 1e-12);
  ASSERT_EQ(p1["years"].size(), 3u);  // from the close of 2021: 2022 to 2024, all whole
  EXPECT_EQ(
      p1["years"][0],
      (nlohmann::json{{"year", 2022}, {"change", p1["years"][0]["change"]}, {"partial", false}}));
  EXPECT_EQ(p1["vsBenchmark"]["returns"], 782);  // the business days of 2022 to 2024
  EXPECT_TRUE(p1["maxDrawdown"]["peak"].is_string());
  EXPECT_TRUE(out["products"][1]["vsBenchmark"].is_null());
  EXPECT_EQ(out["correlation"][0][1], p1["vsBenchmark"]["correlation"]);
  const auto& chart = out["chart"];
  EXPECT_EQ(chart["dates"][0], "31/12/2021");
  EXPECT_EQ(chart["dates"][1], "31/01/2022");
  EXPECT_EQ(chart["series"][1]["product"], "P2");
  EXPECT_EQ(chart["series"][1]["values"][0], 100.0);
  EXPECT_NEAR(chart["series"][0]["values"].back().get<double>(),
              100 * (1 + p1["change"].get<double>()), 1e-9);

  install_.set("PARAMETRI", "INDICE_MONETARIO", "mon");
  out = nlohmann::json::parse(versus("--products P1,P2 --period 3a --format json").output);
  EXPECT_EQ(out["riskFree"]["product"], "MON");
  EXPECT_GT(out["riskFree"]["annualisedReturn"].get<double>(), 0);
  EXPECT_TRUE(out["benchmark"].is_null());
  run = versus("--products P1,P2 --period 3a --format csv");
  EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "periodo;dal 31/12/2021 al 31/12/2024");
  EXPECT_NE(run.output.find("\ntasso senza rischio;MON - Fondo MON: "), std::string::npos);
}

TEST_F(VersusCommand, RefusalsAndUsageErrors) {
  CliRun run = versus("--products P1,LATE", "2>&1");
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.output.find("nessun periodo comune ai prodotti: LATE ha indici dal 03/02/2025"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("P1 dal 03/01/2000 al 31/12/2024"), std::string::npos);
  EXPECT_EQ(versus("--products P1,NOPE").exitCode, 3);
  for (const char* wrong :
       {"--products P1", "--products P1,P2,P3,P4,P5,P6,P7,P8,MON", "--products P1,p1",
        "--products P1,P2 --benchmark P3", "--products P1,P2 --from 31/02/2020",
        "--products P1,P2 --from 01/01/2020 --period 5a",
        "--products P1,P2 --to 01/01/2020 --period 5a", "--products P1,P2 --period 2a",
        "--products P1,P2 --from 01/01/2030", "--products P1,P2 --from 01/01/2020 --to 01/01/2019"})
    EXPECT_EQ(versus(wrong).exitCode, 64) << wrong;
}

// Eight products over 25 years: the chart, every figure and year and the matrix on one page.
TEST_F(VersusCommand, SheetOfEightProductsOverTwentyFiveYearsIsOnePage) {
#ifndef STATIND_CLI_PDF
  GTEST_SKIP() << "statind-cli built without the ui library writes no PDF";
#endif
  testsupport::TempFolder out;
  const std::string pdf = out.file("versus.pdf");
  const CliRun run =
      versus("--products P1,P2,P3,P4,P5,P6,P7,P8 --benchmark P8 --format pdf --output " + pdf);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  std::FILE* pipe = popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
  const std::string page = CliRun::finish(pipe).output;
  EXPECT_EQ(page.find('\f'), page.size() - 1) << page;
  for (const char* part : {"Confronto di 8 prodotti", "pagina 1 di 1", "0 % (INDICE_MONETARIO",
                           "information ratio", "2000 P", "2024", "Correlazioni"})
    EXPECT_NE(page.find(part), std::string::npos) << part;
}

}  // namespace
