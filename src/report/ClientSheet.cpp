#include "report/ClientSheet.h"

#include <cctype>

#include "platform/Format.h"

namespace report {

std::string pageText(int page, int pageCount) {
  return "pagina " + std::to_string(page) + " di " + std::to_string(pageCount);
}

SheetCell gridCell(const std::string& text) {
  SheetCell cell{text};
  if (const auto number = platform::parseNumber(text)) {
    cell.number = true;
    cell.negative = *number < 0;
  }
  return cell;
}

SheetChart sheetChart(const statind::GraphModel& graph, const std::string& valueFormat) {
  using statind::GraphModel;
  SheetChart chart;
  chart.type = graph.type();
  chart.title = graph.title();
  chart.points = graph.points();
  chart.overlays = graph.overlays();
  chart.overlayMask = chart.overlays.count > 0 ? graph.overlayMask() : 0;
  chart.yFromZero = graph.yAxisMode() == 0;
  chart.gridStyle = graph.gridStyle();
  for (const auto& entry : statind::chartLegend(graph, valueFormat))
    chart.legend.push_back(entry.text);
  return chart;
}

std::string fileNamePart(const std::string& text) {
  std::string part;
  for (const char c : text) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) && (c & 0x80) == 0;
    part += plain || c == '-' || c == '_' ? c : '_';
  }
  return part;
}

}  // namespace report
