#include "report/StatSheet.h"

#include <cctype>

#include "platform/Version.h"
#include "statind/GraphModel.h"
#include "statind/StatText.h"

namespace report {

namespace {

SheetTable summaryTable(const statind::StatResult& result, bool& partial) {
  SheetTable table{"Riepilogo", {"", "inizio", "fine", "var.", "", ""}, {4, 4, 4, 4, 1, 1}, {}};
  partial = false;
  for (const auto& slot : result.summary) {
    if (slot.LbAnno.empty()) continue;  // a year before the history: the window leaves it blank
    SheetCell change = gridCell(slot.LbDiff);
    change.negative = slot.LbDiffRed;
    table.rows.push_back({{slot.LbAnno, false, false, true},
                          gridCell(slot.LbVal1),
                          gridCell(slot.LbVal2),
                          change,
                          {slot.LbPerc},
                          {slot.LbParz, false, false, true}});
    partial = partial || !slot.LbParz.empty();
  }
  return table;
}

SheetTable gridTable(const ReportData& data) {
  const statind::StatResult& result = data.result;
  SheetTable table;
  table.title = result.yearView ? "Mese per mese" : "Giorno per giorno";
  table.header.assign(result.captions.begin(), result.captions.end());
  table.widths = {3, 3, 2, 2, 2};
  for (const auto& row : result.rows) {
    std::vector<SheetCell> cells;
    for (const std::string* text :
         {&row.Data, &row.indice, &row.Percento1, &row.Percento2, &row.Percento3}) {
      cells.push_back(gridCell(*text));
    }
    // Day labels ("05 Lun") stand right as the grid shows them; month names are bold headings.
    const bool label = !row.Data.empty() && std::isdigit(static_cast<unsigned char>(row.Data[0]));
    cells[0].number = cells[0].number || label;
    cells[0].negative = false;
    cells[0].bold = result.yearView && !cells[0].number && !row.Data.empty();
    table.rows.push_back(std::move(cells));
  }
  return table;
}

}  // namespace

std::string periodText(const ReportData& data) {
  if (data.month <= 0) return "anno " + std::to_string(data.year);
  return statind::monthName(data.month) + " " + std::to_string(data.year);
}

std::string startRuleText(statind::StartRule rule) {
  if (rule == statind::StartRule::Previous)
    return "indice precedente (l'ultimo indice noto all'inizio del periodo)";
  return "1° indice utile (il primo indice dall'inizio del periodo)";
}

ClientSheet statisticsSheet(const ReportData& data, const SheetOptions& options) {
  const std::string first = platform::formatDate(data.range.firstIndexDate);
  const std::string last = platform::formatDate(data.range.lastIndexDate);
  ClientSheet sheet;
  sheet.title = "Statistiche sugli Indici";
  sheet.maker = std::string("statind ") + platform::kVersionText;
  sheet.product = data.product + " - " + data.description;
  sheet.facts = {{"valuta", data.currency},
                 {"creato il", first},
                 {"ultimo indice", last},
                 {"periodo", periodText(data)},
                 {"valore iniziale", startRuleText(data.startRule)},
                 {"preparato il", platform::formatDate(options.madeOn) + " dall'operatore " +
                                      options.operatorCode}};
  bool partial = false;
  sheet.summary = summaryTable(data.result, partial);
  if (partial) sheet.summaryNote = "P = parziale: periodo incompleto";

  statind::GraphModel graph;
  options.chart.applyTo(graph);
  statind::loadSeries(graph, data.result.chart);
  sheet.chart = sheetChart(graph, options.valueFormat);
  if (sheet.chart->title.empty()) sheet.chart->title = "Andamento dell'indice";

  sheet.tables.push_back(gridTable(data));
  sheet.closing =
      "indici fino al " + last + "; le variazioni passate non sono indicative di quelle future";
  sheet.footer = data.product + " - " + periodText(data);
  sheet.fileStem = fileNamePart(data.product) + "_" + std::to_string(data.year);
  if (data.month > 0) sheet.fileStem += (data.month < 10 ? "-0" : "-") + std::to_string(data.month);
  return sheet;
}

}  // namespace report
