#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Format.h"
#include "support/CliRun.h"
#include "support/SmallInstallation.h"

namespace {

using testsupport::CliRun;

// Runs statind-cli report on the installation; stdout only.
CliRun report(const testsupport::SmallInstallation& install, const std::string& arguments) {
  return CliRun::of("report --ini '" + install.ini + "' " + arguments, "2>/dev/null");
}

// PR1 "Fondo; prova" in EUR, business days from Monday 31/05/2010 to Wednesday 30/06/2010;
// PR0 is listed without any index value.
class PeriodStatisticsReportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    SQLite::Database data(install_.base + "OPER/DatiDV.mdb", SQLite::OPEN_READWRITE);
    data.exec(
        "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, NoIndici) VALUES "
        "('PR1', 'Fondo; prova', 'EUR', 0), ('PR0', 'Vuoto', 'EUR', 0)");
    SQLite::Database index(install_.base + "IndiciDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Statement insert(index,
                             "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) "
                             "VALUES ('PR1', ?1, ?2)");
    for (auto d = platform::dayNumber(2010, 5, 31); d <= platform::dayNumber(2010, 6, 30); ++d) {
      if (platform::weekday(d) > 5) continue;
      insert.bind(1, platform::isoDate(d));
      insert.bind(2, 10 + platform::civilDate(d).day / 100.0);
      insert.exec();
      insert.reset();
    }
  }

  testsupport::SmallInstallation install_;
};

TEST_F(PeriodStatisticsReportCommand, JsonOfASingleDayMonth) {
  const CliRun run = report(install_, "--product pr1 --year 2010 --month 3 --format json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto out = nlohmann::json::parse(run.output);
  EXPECT_EQ(out["product"], "PR1");
  EXPECT_EQ(out["description"], "Fondo; prova");
  EXPECT_EQ(out["currency"], "EUR");
  EXPECT_EQ(out["firstIndexDate"], "31/05/2010");
  EXPECT_EQ(out["lastIndexDate"], "30/06/2010");
  EXPECT_EQ(out["month"], 5);  // March lies before the history: its first month instead
  ASSERT_EQ(out["summary"].size(), 3u);
  EXPECT_EQ(out["summary"][2]["LbAnno"], "MAG '10");
  EXPECT_EQ(out["summary"][2]["LbDiffRed"], false);
  EXPECT_EQ(out["summary"][0]["LbVal1"], "");
  EXPECT_EQ(out["captions"][0], "MAGGIO");
  ASSERT_EQ(out["rows"].size(), 1u);
  EXPECT_EQ(out["rows"][0]["Data"], "31 Lun");
  EXPECT_EQ(out["rows"][0]["Percento2"], "");
  EXPECT_EQ(out["chart"]["pointCount"], 2);
  EXPECT_EQ(out["chart"]["points"][0]["label"], "31");
  EXPECT_TRUE(out["chart"]["points"][1]["label"].is_null());
  EXPECT_TRUE(out["chart"]["points"][1]["value"].is_null());
}

TEST_F(PeriodStatisticsReportCommand, CsvQuotesWhatASpreadsheetWouldChange) {
  const CliRun run = report(install_, "--product PR1 --month 6 --format csv");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "GIUGNO;indice;% giorn.;% sett.;% 15 gg");
  EXPECT_NE(run.output.find("\n\"05 S  \";;;;\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\n02 Mer;10,02;0,100;;\n"), std::string::npos) << run.output;
}

// The text of a PDF as pdftotext lays it out, page by page ("\f" between pages).
std::string pdfText(const std::string& path) {
  std::FILE* pipe = popen(("pdftotext -layout '" + path + "' - 2>/dev/null").c_str(), "r");
  return CliRun::finish(pipe).output;
}

// The line of `text` that holds every one of `cells` in their order, or "".
std::string lineWith(const std::string& text, const std::vector<std::string>& cells) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::size_t at = 0;
    for (const auto& cell : cells) at = at == std::string::npos ? at : line.find(cell, at);
    if (at != std::string::npos) return line;
  }
  return "";
}

// The client sheet of a month and of a year holds what the JSON report gives, every grid row on
// a line of its own, on one page.
TEST_F(PeriodStatisticsReportCommand, PdfSheetHoldsTheReportsFigures) {
#ifndef STATIND_CLI_PDF
  GTEST_SKIP() << "statind-cli built without the ui library writes no PDF";
#endif
  testsupport::TempFolder out;
  for (const char* period : {"--year 2010 --month 6", "--year 2010"}) {
    const std::string pdf = out.file("sheet.pdf");
    const CliRun run =
        report(install_, "--product PR1 " + std::string(period) + " --format pdf --output " + pdf);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto json = nlohmann::json::parse(
        report(install_, "--product PR1 " + std::string(period) + " --format json").output);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("PR1 - Fondo; prova"), std::string::npos) << text;
    EXPECT_NE(text.find(json["month"] == 6 ? "GIUGNO 2010" : "anno 2010"), std::string::npos);
    EXPECT_NE(text.find("pagina 1 di 1"), std::string::npos);
    EXPECT_EQ(text.find('\f'), text.size() - 1);  // one page
    for (const auto& slot : json["summary"]) {
      if (slot["LbAnno"] == "") continue;
      EXPECT_NE(lineWith(text, {slot["LbAnno"], slot["LbVal1"], slot["LbVal2"], slot["LbDiff"]}),
                "")
          << slot.dump();
    }
    for (const auto& row : json["rows"]) {
      std::vector<std::string> cells;
      for (const char* column : {"Data", "indice", "Percento1", "Percento2", "Percento3"})
        if (row[column] != "") {
          // A weekend label's padding ("05 S  ") does not show at the end of a right-aligned cell.
          const std::string cell = row[column];
          cells.push_back(cell.substr(0, cell.find_last_not_of(' ') + 1));
        }
      EXPECT_NE(lineWith(text, cells), "") << row.dump();
    }
  }
}

// A file where a folder should be, or a missing folder: exit 2, a message naming the file, and
// no file left behind.
TEST_F(PeriodStatisticsReportCommand, PdfToAnUnwritableTargetLeavesNothing) {
#ifndef STATIND_CLI_PDF
  GTEST_SKIP() << "statind-cli built without the ui library writes no PDF";
#endif
  testsupport::TempFolder out;
  testsupport::TempFolder::write(out.file("blocking"), "x");
  for (const std::string& target :
       {out.file("blocking/sheet.pdf"), out.file("missing/sheet.pdf")}) {
    const CliRun run = CliRun::of(
        "report --ini '" + install_.ini + "' --product PR1 --format pdf --output " + target,
        "2>&1 >/dev/null");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("impossibile scrivere " + target + ": "), std::string::npos)
        << run.output;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1);
  EXPECT_EQ(report(install_, "--product PR1 --format pdf").exitCode, 64);  // no --output
}

// "-" is standard output; a device is written in place and stays what it was.
TEST_F(PeriodStatisticsReportCommand, OutputToStandardOutputAndDevices) {
  const std::string args = "--product PR1 --year 2010 --month 6 --format csv";
  const std::string csv = report(install_, args).output;
  EXPECT_EQ(report(install_, args + " --output -").output, csv);
  EXPECT_EQ(report(install_, args + " --output /dev/null").exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// Texts carried over from the suite's older files are Windows-1252 bytes; every output is UTF-8.
TEST_F(PeriodStatisticsReportCommand, Windows1252TextsAreWrittenAsUtf8) {
  SQLite::Database data(install_.base + "OPER/DatiDV.mdb", SQLite::OPEN_READWRITE);
  data.exec(
      "UPDATE TabProdotti SET Descrizione = CAST(X'4C69717569646974E0' AS TEXT), "
      "Moneta = CAST(X'80' AS TEXT) WHERE Codice = 'PR1'");
  const CliRun json = report(install_, "--product PR1 --format json");
  ASSERT_EQ(json.exitCode, 0) << json.output;
  const auto out = nlohmann::json::parse(json.output);
  EXPECT_EQ(out["description"], "Liquidità");
  EXPECT_EQ(out["currency"], "€");
  EXPECT_NE(report(install_, "--product PR1").output.find("Liquidità"), std::string::npos);
  EXPECT_EQ(
      data.execAndGet("SELECT hex(Descrizione) FROM TabProdotti WHERE Codice = 'PR1'").getString(),
      "4C69717569646974E0");

  install_.set("PARAMETRI", "SOC_ACTIV", "Societ\xE0");
  const CliRun info = CliRun::of("info --format json --ini '" + install_.ini + "'", "2>/dev/null");
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_EQ(nlohmann::json::parse(info.output)["activeCompany"], "Società");
}

TEST_F(PeriodStatisticsReportCommand, ExitCodesForWhatCannotBeReported) {
  EXPECT_EQ(report(install_, "--product NONE").exitCode, 3);
  EXPECT_EQ(report(install_, "--product PR0").exitCode, 3);
  EXPECT_EQ(report(install_, "--product PR1 --year 2009").exitCode, 64);
  EXPECT_EQ(report(install_, "--product PR1 --month 13").exitCode, 64);
}

}  // namespace

// Each product also carries a zero on every date beside its real value: the runs delete them
// as they meet them, and no run's answer may depend on what another run deletes meanwhile. The
// first round starts together on an installation none of them has started on: one links the
// suite's tables into the work database, the others wait for it or find them linked.
TEST_F(PeriodStatisticsReportCommand, RunsAtOnceEachPrintTheirOwnProduct) {
  constexpr int kProducts = 8;
  const auto addZeros = [&] {
    SQLite::Database(install_.base + "IndiciDV.mdb", SQLite::OPEN_READWRITE)
        .exec(
            "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) SELECT IndProdotto, IndData, "
            "0 FROM Indici WHERE IndProdotto LIKE 'PC%' AND IndValoreMon <> 0");
  };
  {
    SQLite::Database data(install_.base + "OPER/DatiDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Database index(install_.base + "IndiciDV.mdb", SQLite::OPEN_READWRITE);
    SQLite::Transaction tx(index);
    for (int p = 0; p < kProducts; ++p) {
      const std::string code = "PC" + std::to_string(p);
      data.exec("INSERT INTO TabProdotti (Codice, Descrizione, Moneta, NoIndici) VALUES ('" + code +
                "', 'Fondo', 'EUR', 0)");
      SQLite::Statement insert(index,
                               "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon) "
                               "VALUES (?1, ?2, ?3)");
      for (auto d = platform::dayNumber(2010, 1, 1); d <= platform::dayNumber(2010, 12, 31); ++d) {
        insert.bind(1, code);
        insert.bind(2, platform::isoDate(d));
        insert.bind(3, 10.0 * (p + 1) + (d % 97) / 100.0);
        insert.exec();
        insert.reset();
      }
    }
    tx.commit();
  }
  const auto arguments = [&](int p) {
    return "report --ini '" + install_.ini + "' --product PC" + std::to_string(p) + " --format csv";
  };
  std::vector<std::vector<std::string>> rounds(3);
  for (auto& round : rounds) {
    addZeros();
    std::vector<std::FILE*> pipes;
    for (int p = 0; p < kProducts; ++p) pipes.push_back(CliRun::start(arguments(p), "2>&1"));
    for (std::FILE* pipe : pipes) {
      const CliRun run = CliRun::finish(pipe);
      EXPECT_EQ(run.exitCode, 0) << run.output;
      round.push_back(run.output);
    }
  }
  addZeros();
  for (int p = 0; p < kProducts; ++p) {
    const CliRun alone = CliRun::of(arguments(p), "2>&1");
    ASSERT_EQ(alone.exitCode, 0) << alone.output;
    for (std::size_t round = 0; round < rounds.size(); ++round)
      EXPECT_EQ(rounds[round][static_cast<std::size_t>(p)], alone.output)
          << "PC" << p << ", round " << round;
  }
  EXPECT_NE(rounds[0][0], rounds[0][1]);
}
