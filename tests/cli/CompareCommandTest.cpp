#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Format.h"
#include "support/CliRun.h"
#include "support/SmallInstallation.h"
#include "support/TempFolder.h"

namespace {

using testsupport::CliRun;

// CM1 "Comparato": from 01/03/2008 to 31/12/2011, one record on the first and one on the last
// day of every month (100 + months since March 2008, half a point more at the month's end).
// CM0 is listed without any index value.
class CompareCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    SQLite::Database data(install_.base + "OPER/DatiDV.mdb", SQLite::OPEN_READWRITE);
    data.exec(
        "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, NoIndici) VALUES "
        "('CM1', 'Comparato', 'EUR', 0), ('CM0', 'Vuoto', 'EUR', 0)");
    SQLite::Database index(install_.base + "IndiciDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Statement insert(index,
                             "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) "
                             "VALUES ('CM1', ?1, ?2)");
    for (int i = 0; i < 46; ++i) {
      const int month = (2 + i) % 12 + 1, year = 2008 + (2 + i) / 12;
      for (auto [date, value] : {std::pair{platform::dayNumber(year, month, 1), 100.0 + i},
                                 {platform::lastDayOfMonth(month, year), 100.5 + i}}) {
        insert.bind(1, platform::isoDate(date));
        insert.bind(2, value);
        insert.exec();
        insert.reset();
      }
    }
  }

  CliRun compare(const std::string& arguments) {
    return CliRun::of("compare --ini '" + install_.ini + "' " + arguments, "2>/dev/null");
  }

  testsupport::SmallInstallation install_;
};

// The comparison sheet of one month lists every year of the JSON report on a line of its own.
TEST_F(CompareCommand, PdfSheetOfOneMonth) {
#ifndef STATIND_CLI_PDF
  GTEST_SKIP() << "statind-cli built without the ui library writes no PDF";
#endif
  testsupport::TempFolder out;
  const std::string pdf = out.file("confronto.pdf");
  const std::string args = "--product CM1 --from 2008 --to 2011 --month 3 ";
  ASSERT_EQ(compare(args + "--format pdf --output " + pdf).exitCode, 0);
  const auto json = nlohmann::json::parse(compare(args + "--format json").output);
  std::FILE* pipe = popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
  const std::string text = CliRun::finish(pipe).output;
  EXPECT_NE(text.find("CM1 - Comparato"), std::string::npos) << text;
  EXPECT_NE(text.find("dal 2008 al 2011, MARZO"), std::string::npos);
  EXPECT_NE(text.find("pagina 1 di 1"), std::string::npos);
  for (const auto& row : json["rows"]) {
    const std::vector<std::string> cells{row["INIZIO"], row["FINE"],
                                         platform::formatNumber(row["%"].get<double>(), "#0.00")};
    // The line holding the year and then its figures, in order.
    bool found = false;
    std::istringstream lines(text);
    for (std::string line; !found && std::getline(lines, line);) {
      std::size_t at = line.find(std::to_string(row["ANNO"].get<int>()) + " ");
      for (const auto& cell : cells) at = at == std::string::npos ? at : line.find(cell, at);
      found = at != std::string::npos;
    }
    EXPECT_TRUE(found) << row.dump();
  }
}

TEST_F(CompareCommand, JsonOfOneMonthAsBars) {
  const CliRun run = compare(
      "--product cm1 --from 2011 --to 2008 --month 3 --chart bars "
      "--format json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto out = nlohmann::json::parse(run.output);
  EXPECT_EQ(out["product"], "cm1");
  EXPECT_EQ(out["from"], 2008);
  EXPECT_EQ(out["to"], 2011);
  EXPECT_EQ(out["month"], 3);
  ASSERT_EQ(out["rows"].size(), 4u);
  EXPECT_EQ(out["rows"][0]["ANNO"], 2008);
  EXPECT_EQ(out["rows"][0]["INIZIO"], "100,00");
  EXPECT_EQ(out["rows"][0]["FINE"], "100,50");
  EXPECT_EQ(out["rows"][0]["%"], 0.5);
  EXPECT_EQ(out["rows"][1]["%"], 0.45);  // 112 -> 112,5
  const auto& chart = out["chart"];
  EXPECT_EQ(chart["type"], 3);
  EXPECT_EQ(chart["title"], "MARZO");
  ASSERT_EQ(chart["pointCount"], 4);
  EXPECT_EQ(chart["points"][0]["label"], "         2008");
  EXPECT_EQ(chart["points"][0]["value"], 0.5);
  EXPECT_EQ(chart["points"][0]["legend"], "  0,5%");
}

TEST_F(CompareCommand, AllMonthsAndWhatDrawsNothing) {
  auto out =
      nlohmann::json::parse(compare("--product CM1 --from 2008 --to 2011 --format json").output);
  EXPECT_EQ(out["chart"]["type"], 6);
  EXPECT_EQ(out["chart"]["title"], "");
  ASSERT_EQ(out["chart"]["pointCount"], 46);
  EXPECT_EQ(out["chart"]["points"][0]["label"], "M");
  EXPECT_EQ(out["chart"]["points"][0]["value"], 100.5);
  EXPECT_TRUE(out["chart"]["points"][0]["legend"].is_null());
  EXPECT_TRUE(out["rows"].empty());

  const CliRun single = compare("--product CM1 --from 2009 --to 2009 --month 5 --format json");
  ASSERT_EQ(single.exitCode, 0);
  out = nlohmann::json::parse(single.output);
  EXPECT_EQ(out["chart"]["pointCount"], 0);
  EXPECT_TRUE(out["chart"]["points"].empty());

  const CliRun csv = compare("--product CM1 --from 2008 --to 2009 --month 3 --format csv");
  EXPECT_EQ(csv.output, "ANNO;INIZIO;FINE;%\n2008;100,00;100,50;0,50\n2009;112,00;112,50;0,45\n");
}

TEST_F(CompareCommand, ExitCodesForWhatCannotBeCompared) {
  EXPECT_EQ(compare("--product NONE --from 2008 --to 2009").exitCode, 3);
  EXPECT_EQ(compare("--product CM0 --from 2008 --to 2009").exitCode, 3);
  EXPECT_EQ(compare("--product CM1 --from due --to 2009").exitCode, 64);
  EXPECT_EQ(compare("--product CM1 --from 2008 --to 2009 --month 13").exitCode, 64);
  EXPECT_EQ(compare("--product CM1 --from 2007 --to 2009").exitCode, 64);
}

}  // namespace
