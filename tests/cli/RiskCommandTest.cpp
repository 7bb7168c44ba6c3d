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

// RK "Fondo rischio": business days from Wednesday 15/04/2009 to Friday 30/09/2011, worth 10 in
// April 2009 and 1 more each month, but 3 less in June and July 2010 (August wins it back).
class RiskCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    SQLite::Database data(install_.base + "OPER/DatiDV.mdb", SQLite::OPEN_READWRITE);
    data.exec(
        "INSERT INTO TabProdotti (Codice, Descrizione, NoIndici) VALUES ('RK', 'Fondo rischio', "
        "0)");
    SQLite::Database index(install_.base + "IndiciDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Transaction tx(index);
    SQLite::Statement insert(index,
                             "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) "
                             "VALUES ('RK', ?1, ?2)");
    for (auto d = platform::dayNumber(2009, 4, 15); d <= platform::dayNumber(2011, 9, 30); ++d) {
      if (platform::weekday(d) > 5) continue;
      const auto c = platform::civilDate(d);
      const int months = (c.year - 2009) * 12 + c.month - 4;
      const bool fallen = c.year == 2010 && (c.month == 6 || c.month == 7);
      insert.bind(1, platform::isoDate(d));
      insert.bind(2, 10.0 + months - (fallen ? 3 : 0));
      insert.exec();
      insert.reset();
    }
    tx.commit();
  }

  CliRun cli(const std::string& arguments) {
    return CliRun::of(arguments + " --ini '" + install_.ini + "'", "2>/dev/null");
  }

  testsupport::SmallInstallation install_;
};

TEST_F(RiskCommands, RiskJsonGivesTheCoveredWindowsAndTheClass) {
  const CliRun run = cli("risk --product rk --year 2010 --holding-years 3 --format json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto out = nlohmann::json::parse(run.output);
  EXPECT_EQ(out["product"], "RK");
  ASSERT_EQ(out["windows"].size(), 3u);  // anno, 1a, storico: the history is too short for 3a
  const auto& year = out["windows"][0];
  EXPECT_EQ(year["name"], "anno");
  // As the year view: from the first record of 2010 (Friday 01/01, 19) to 31/12 (30).
  EXPECT_EQ(year["from"], "01/01/2010");
  EXPECT_EQ(year["to"], "31/12/2010");
  EXPECT_EQ(year["startRule"], "first");
  EXPECT_NEAR(year["change"].get<double>(), 30.0 / 19 - 1, 1e-15);
  EXPECT_NEAR(year["annualisedReturn"].get<double>(), std::pow(30.0 / 19, 365.25 / 365) - 1, 1e-12);
  EXPECT_NEAR(year["maxDrawdown"]["value"].get<double>(), 21.0 / 23 - 1, 1e-15);
  EXPECT_EQ(year["maxDrawdown"]["peak"], "03/05/2010");  // first at 23
  EXPECT_EQ(year["maxDrawdown"]["trough"], "01/06/2010");
  EXPECT_EQ(year["maxDrawdown"]["recovery"], "02/08/2010");
  // Each month is flat from its first useful index: the year view shows no monthly change.
  EXPECT_EQ(year["worstMonth"], 0.0);
  EXPECT_EQ(year["positiveMonths"], 0.0);
  EXPECT_EQ(out["windows"][1]["name"], "1a");
  EXPECT_EQ(out["windows"][2]["from"], "15/04/2009");
  EXPECT_TRUE(out["windows"][2]["annualisedReturn"].is_number());
  EXPECT_EQ(out["mrm"]["holdingYears"], 3.0);
  EXPECT_TRUE(out["mrm"]["class"].is_number());

  // 2011 opens on a Saturday: "indice precedente" starts from Friday's 30, "1° indice utile"
  // from Monday's 31; both end on the last value, 39 (30/09/2011).
  const auto rule = [&](const char* name) {
    return nlohmann::json::parse(
        cli(std::string("risk --product rk --year 2011 --format json --start-rule ") + name)
            .output)["windows"][0];
  };
  EXPECT_EQ(rule("previous")["startRule"], "previous");
  EXPECT_NEAR(rule("previous")["change"].get<double>(), 39.0 / 30 - 1, 1e-15);
  EXPECT_NEAR(rule("first")["change"].get<double>(), 39.0 / 31 - 1, 1e-15);
  EXPECT_FALSE(out["windows"][1].contains("startRule"));
}

TEST_F(RiskCommands, ReturnsMapAndWhatCannotBeShown) {
  const CliRun run = cli("returns --product RK --format json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto out = nlohmann::json::parse(run.output);
  ASSERT_EQ(out["years"].size(), 3u);
  const auto& first = out["years"][0];
  EXPECT_EQ(first["year"], 2009);
  EXPECT_TRUE(first["months"][2].is_null());
  EXPECT_EQ(first["partial"][3], true);  // from Wednesday the 15th
  EXPECT_EQ(out["years"][1]["months"][5], 0.0);
  EXPECT_EQ(out["years"][1]["yearChange"], 57.895);  // 19 on 04/01/2010 to 30
  // From the index before the month instead: May 2010, which begins on a Saturday, counts from
  // 22 on Friday 30/04/2010.
  const auto previous =
      nlohmann::json::parse(cli("returns --product RK --start-rule previous --format json").output);
  EXPECT_EQ(previous["years"][1]["months"][4], 4.545);

  const CliRun csv = cli("returns --product RK --format csv");
  EXPECT_EQ(csv.output.substr(0, csv.output.find('\n')),
            "anno;GEN;FEB;MAR;APR;MAG;GIU;LUG;AGO;SET;OTT;NOV;DIC;% anno");
  EXPECT_NE(csv.output.find("\n2011;0,000;"), std::string::npos) << csv.output;

  EXPECT_EQ(cli("risk --product NONE").exitCode, 3);
  EXPECT_EQ(cli("returns --product NONE").exitCode, 3);
  EXPECT_EQ(cli("risk --product RK --year 2008").exitCode, 64);
  // A holding period is checked where it is read: a finite number of years in (0, 50].
  for (const char* years : {"0", "-1", "nan", "inf", "1e308", "50.5", "abc"})
    EXPECT_EQ(cli("risk --product RK --holding-years " + std::string(years)).exitCode, 64) << years;
  const CliRun months = cli("risk --product RK --holding-years 0.5 --format json");
  ASSERT_EQ(months.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(months.output)["mrm"]["holdingYears"], 0.5);
}

}  // namespace
