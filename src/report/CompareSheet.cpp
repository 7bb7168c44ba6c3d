#include "report/CompareSheet.h"

#include "platform/Format.h"
#include "platform/Version.h"
#include "statind/GraphModel.h"
#include "statind/StatText.h"

namespace report {

namespace {

SheetTable yearRows(const compare::CompareResult& result) {
  SheetTable table{"Anno per anno", {"ANNO", "INIZIO", "FINE", "%"}, {2, 3, 3, 2}, {}};
  for (const auto& row : result.rows) {
    table.rows.push_back({{std::to_string(row.year), false, false, true},
                          gridCell(row.start),
                          gridCell(row.end),
                          gridCell(compare::changeText(row.change))});
  }
  return table;
}

// The chart's points laid out by year and month, in the order the comparison wrote them: from
// the first month of the span inside the history to the last.
SheetTable monthGrid(const CompareData& data) {
  const compare::CompareResult& r = data.result;
  SheetTable table{"Indice a fine mese", {"ANNO"}, {10}, {}};
  for (int m = 1; m <= 12; ++m) {
    table.header.push_back(statind::monthAbbreviation(m));
    table.widths.push_back(11);
  }
  std::size_t k = 0;
  for (int year = r.fromYear; year <= r.toYear; ++year) {
    std::vector<SheetCell> row{{std::to_string(year), false, false, true}};
    for (int month = 1; month <= 12; ++month) {
      const bool before = year == data.range.firstYear && month < data.range.firstMonth;
      const bool after = year == data.range.lastYear && month > data.range.lastMonth;
      SheetCell cell;
      if (!before && !after && k < r.chart.points.size()) {
        const auto& value = r.chart.points[k++].value;
        if (value) cell = gridCell(platform::formatNumber(*value, data.valueFormat));
      }
      row.push_back(cell);
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace

std::string comparePeriodText(const CompareData& data) {
  const auto& r = data.result;
  return "dal " + std::to_string(r.fromYear) + " al " + std::to_string(r.toYear) + ", " +
         (r.month > 0 ? statind::monthName(r.month) : std::string("tutti i mesi"));
}

ClientSheet comparisonSheet(const CompareData& data, const SheetOptions& options) {
  const auto& r = data.result;
  const std::string last = platform::formatDate(data.range.lastIndexDate);
  ClientSheet sheet;
  sheet.title = "Statistiche sugli Indici: comparazioni";
  sheet.maker = std::string("statind ") + platform::kVersionText;
  sheet.product = data.product + " - " + data.description;
  sheet.facts = {{"creato il", platform::formatDate(data.range.firstIndexDate)},
                 {"ultimo indice", last},
                 {"confronto", comparePeriodText(data)},
                 {"valore iniziale", startRuleText(data.startRule)},
                 {"preparato il", platform::formatDate(options.madeOn) + " dall'operatore " +
                                      options.operatorCode}};
  if (!r.chart.drawn) {
    sheet.facts.push_back({"", "nessun confronto: un solo anno"});
  } else {
    statind::GraphModel graph;
    options.chart.applyTo(graph);
    compare::loadChart(graph, r.chart);
    sheet.chart = sheetChart(graph, r.month > 0 ? "#0.00" : options.valueFormat);
    sheet.chart->title = r.month > 0 ? "Variazione % di " + statind::monthName(r.month)
                                     : std::string("Indice a fine mese");
    sheet.tables.push_back(r.month > 0 ? yearRows(r) : monthGrid(data));
  }
  sheet.closing =
      "indici fino al " + last + "; le variazioni passate non sono indicative di quelle future";
  sheet.footer = data.product + " - " + comparePeriodText(data);
  sheet.fileStem = fileNamePart(data.product) + "_" + std::to_string(r.fromYear) + "-" +
                   std::to_string(r.toYear);
  if (r.month > 0) sheet.fileStem += (r.month < 10 ? "-0" : "-") + std::to_string(r.month);
  return sheet;
}

}  // namespace report
