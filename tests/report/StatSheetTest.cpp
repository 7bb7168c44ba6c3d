#include <filesystem>

#include "report/ReportCsv.h"
#include "report/SheetFile.h"
#include "report/StatSheet.h"
#include "statind/StatFixture.h"

namespace statind::testing {
namespace {

class StatSheetTest : public StatFixture {
 protected:
  report::ReportData data(const std::string& code, int year, int month,
                          StartRule rule = StartRule::FirstUseful) {
    report::ReportData d{code, "Fondo " + code, "EUR", {}, year, month, rule, {}};
    d.range = *productRange(*lookup_, code, today_);
    d.result = run(code, year, month, rule);
    return d;
  }
  report::SheetOptions options(const std::string& boxes = "00000100") {
    return {"OPER", day(6, 12, 2026), "#,###,###,##0.00",
            WindowOptions::restore(boxes, kIndstatDefault, false)};
  }
};

// Row texts of a sheet table, cells joined by "|".
std::vector<std::string> lines(const report::SheetTable& table) {
  std::vector<std::string> all;
  for (const auto& row : table.rows) {
    std::string line;
    for (const auto& cell : row) line += (line.empty() ? "" : "|") + cell.text;
    all.push_back(line);
  }
  return all;
}

// A history from Wednesday 15/04/2009: the year sheet of 2009 has one summary row, marked
// partial and explained, and the grid's 18 rows with bold month names.
TEST_F(StatSheetTest, PartialYearSheet) {
  addSeries("APR", day(15, 4, 2009), day(31, 12, 2010));
  const auto sheet = report::statisticsSheet(data("APR", 2009, 0), options());
  EXPECT_EQ(sheet.title, "Statistiche sugli Indici");
  EXPECT_EQ(sheet.maker.rfind("statind ", 0), 0u);
  EXPECT_EQ(sheet.product, "APR - Fondo APR");
  std::string facts;
  for (const auto& f : sheet.facts) facts += f.label + "=" + f.value + ";";
  EXPECT_EQ(facts,
            "valuta=EUR;creato il=15/04/2009;ultimo indice=31/12/2010;periodo=anno 2009;"
            "valore iniziale=1° indice utile (il primo indice dall'inizio del periodo);"
            "preparato il=06/12/2026 dall'operatore OPER;");
  ASSERT_TRUE(sheet.summary);
  EXPECT_EQ(lines(*sheet.summary), std::vector<std::string>{"2009|100,15|180,31|80,040|%|P"});
  EXPECT_EQ(sheet.summaryNote, "P = parziale: periodo incompleto");
  ASSERT_EQ(sheet.tables.size(), 1u);
  const auto& grid = sheet.tables[0];
  EXPECT_EQ(grid.header,
            (std::vector<std::string>{"2009", "indice", "% mese", "% trim.", "% sem."}));
  ASSERT_EQ(grid.rows.size(), 18u);
  EXPECT_EQ(lines(grid)[0], "APRILE||||");
  EXPECT_TRUE(grid.rows[0][0].bold);
  EXPECT_EQ(lines(grid)[1], "100,15|100,30|0,150||");
  EXPECT_TRUE(grid.rows[1][0].number && !grid.rows[1][0].bold);
  EXPECT_EQ(
      sheet.closing,
      "indici fino al 31/12/2010; le variazioni passate non sono indicative di quelle future");
  EXPECT_EQ(sheet.footer, "APR - anno 2009");
  EXPECT_EQ(sheet.fileStem, "APR_2009");
  ASSERT_TRUE(sheet.chart);
  EXPECT_EQ(sheet.chart->points.size(), 10u);
  EXPECT_EQ(sheet.chart->legend, std::vector<std::string>{"Indice"});  // no box ticked
  EXPECT_TRUE(sheet.chart->yFromZero);
}

// A month sheet over a falling history: three summary rows with red changes and no note, one
// row per day with right-standing day labels, red daily changes; the ticked overlays carry
// their figures.
TEST_F(StatSheetTest, MonthSheetOfAFallingHistory) {
  const DayNumber first = day(2, 1, 2008);
  addSeries("DOWN", first, day(31, 12, 2010), [&](DayNumber d) { return 200 - (d - first) * 0.1; });
  const auto d = data("DOWN", 2010, 5, StartRule::Previous);
  const auto sheet = report::statisticsSheet(d, options("01001000"));
  EXPECT_EQ(sheet.facts[3].value, "MAGGIO 2010");
  EXPECT_EQ(sheet.facts[4].value,
            "indice precedente (l'ultimo indice noto all'inizio del periodo)");
  ASSERT_EQ(sheet.summary->rows.size(), 3u);
  for (const auto& row : sheet.summary->rows) EXPECT_TRUE(row[3].negative) << row[3].text;
  EXPECT_EQ(sheet.summary->rows[0][0].text, "MAG '08");
  EXPECT_EQ(sheet.summaryNote, "");
  const auto& grid = sheet.tables[0];
  ASSERT_EQ(grid.rows.size(), 31u);
  EXPECT_EQ(grid.header[0], "MAGGIO");
  EXPECT_EQ(grid.rows[2][0].text, "03 Lun");
  EXPECT_TRUE(grid.rows[2][0].number && !grid.rows[2][0].bold && !grid.rows[2][0].negative);
  EXPECT_TRUE(grid.rows[3][2].negative) << grid.rows[3][2].text;
  EXPECT_EQ(sheet.fileStem, "DOWN_2010-05");

  const auto& chart = *sheet.chart;
  EXPECT_EQ(chart.overlayMask, 1 | 8);
  EXPECT_FALSE(chart.yFromZero);
  EXPECT_EQ(chart.gridStyle, 0);
  ASSERT_EQ(chart.legend.size(), 3u);
  EXPECT_EQ(chart.legend[1].rfind("Media ", 0), 0u);
  EXPECT_EQ(chart.legend[2].rfind("BestFit da ", 0), 0u);
}

// A product with a fixed index: the same value everywhere, no change anywhere, nothing red;
// the standard deviation band collapses onto the mean.
TEST_F(StatSheetTest, FixedIndexSheet) {
  addSeries("FISSO", day(2, 1, 2009), day(31, 12, 2010));
  addRecord("FISSO", platform::kFixedValueDate, 7.5);
  const auto sheet = report::statisticsSheet(data("FISSO", 2010, 0), options("00110100"));
  EXPECT_EQ(lines(*sheet.summary)[1], "2010|7,50|7,50|0,000|%|");
  for (const auto& row : sheet.tables[0].rows)
    for (const auto& cell : row) EXPECT_FALSE(cell.negative) << cell.text;
  EXPECT_EQ(sheet.chart->legend,
            (std::vector<std::string>{"Indice", "StdDev 7,50 - 7,50", "Min 7,50", "Max 7,50"}));
}

// A target that cannot be written leaves nothing behind, not even the temporary file; a good
// one is replaced whole.
TEST(SheetFileTest, SavesWholeOrNothing) {
  testsupport::TempFolder folder;
  testsupport::TempFolder::write(folder.file("file"), "x");
  for (const std::string& target : {folder.file("file/out.pdf"), folder.file("none/out.pdf")}) {
    EXPECT_THROW(report::saveFile(target, "bytes"), report::SaveError) << target;
  }
  try {
    report::saveFile(folder.file("none/out.pdf"), "bytes");
  } catch (const report::SaveError& e) {
    EXPECT_EQ(std::string(e.what()),
              "impossibile scrivere " + folder.file("none/out.pdf") + ": la cartella non esiste");
  }
  report::saveFile(folder.file("out.csv"), "old");
  report::saveFile(folder.file("out.csv"), "new");
  EXPECT_EQ(testsupport::TempFolder::read(folder.file("out.csv")), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

}  // namespace
}  // namespace statind::testing
