#include "report/VersusSheet.h"

#include "platform/Version.h"
#include "risk/MapColours.h"
#include "versus/VersusText.h"

namespace report {

namespace {

using versus::TextTable;

void addLines(SheetTable& table, const TextTable& text) {
  for (const versus::TextLine& line : text.lines) {
    std::vector<SheetCell>& row = table.rows.emplace_back();
    row.push_back({line.caption});
    for (const versus::TextCell& cell : line.cells)
      row.push_back({cell.text, true, cell.negative, cell.best});
  }
}

SheetTable sheetTable(const TextTable& text, int captionWidth) {
  SheetTable table{text.title, text.header, {captionWidth}, {}};
  table.widths.resize(text.header.size(), 10);
  addLines(table, text);
  return table;
}

// The figures, then the calendar years' changes: one table under one header of product codes
// keeps a long history on the page.
SheetTable figuresAndYears(const versus::VersusResult& result) {
  SheetTable table = sheetTable(versus::figuresTable(result), 24);
  table.title = "Cifre del periodo e variazioni % anno per anno";
  const TextTable years = versus::yearsTable(result);
  addLines(table, years);
  return table;
}

SheetTable matrix(const versus::VersusResult& result) {
  SheetTable table = sheetTable(versus::correlationTable(result), 12);
  table.title = "Correlazioni";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    table.rows[i][0].bold = true;
    for (std::size_t j = 0; j < result.correlation[i].size(); ++j)
      if (const auto& value = result.correlation[i][j])
        table.rows[i][j + 1].fill = risk::mapColour(*value, 1);
  }
  return table;
}

SheetChart chart(const versus::VersusResult& result) {
  SheetChart chart;
  chart.title = "Valore di 100 investiti il " + platform::formatDate(result.period.from);
  chart.yFromZero = false;
  chart.gridStyle = 1;
  chart.level = 100;
  for (const auto& label : versus::chartLabels(result.chart))
    chart.points.push_back({std::nullopt, label, std::nullopt});
  for (std::size_t p = 0; p < result.products.size(); ++p) {
    SheetLine line{versus::legendText(result.products[p]), static_cast<int>(p), {}};
    for (double value : result.chart.values[p]) line.values.emplace_back(value);
    chart.lines.push_back(std::move(line));
  }
  return chart;
}

std::string codes(const versus::VersusResult& result, const char* separator) {
  std::string text;
  for (const auto& p : result.products) text += (text.empty() ? "" : separator) + p.product;
  return text;
}

}  // namespace

ClientSheet versusSheet(const versus::VersusResult& result, const SheetOptions& options) {
  ClientSheet sheet;
  sheet.title = "Confronto prodotti";
  sheet.maker = std::string("statind ") + platform::kVersionText;
  sheet.product = "Confronto di " + std::to_string(result.products.size()) + " prodotti";
  sheet.factsTitle = "Prodotti";
  sheet.facts = {{"periodo", versus::periodText(result)},
                 {"benchmark", versus::benchmarkText(result)},
                 {"senza rischio", versus::riskFreeText(result.riskFree, false)}};
  for (const auto& p : result.products)
    sheet.facts.push_back({p.product, p.description.empty() ? "************" : p.description});
  sheet.summary = matrix(result);
  sheet.summaryNote = "sui rendimenti giornalieri delle date comuni a ogni coppia";
  sheet.chart = chart(result);
  sheet.tables.push_back(figuresAndYears(result));
  sheet.closing = "Preparato il " + platform::formatDate(options.madeOn) + " dall'operatore " +
                  options.operatorCode +
                  ". In grassetto il migliore della riga; P: anno in parte nel periodo. Le "
                  "variazioni passate non sono indicative di quelle future.";
  sheet.footer = "Confronto prodotti " + codes(result, ", ") + " - " + versus::periodText(result);
  sheet.fileStem = fileNamePart("CONFRONTO_" + codes(result, "-") + "_" +
                                platform::formatDate(result.period.from, "yyyymmdd") + "-" +
                                platform::formatDate(result.period.to, "yyyymmdd"));
  sheet.onePage = true;
  return sheet;
}

}  // namespace report
