#include "cli/CompareOutput.h"

#include <vector>

#include "cli/ReportOutput.h"
#include "cli/TextColumns.h"
#include "platform/Format.h"
#include "statind/StatText.h"

namespace cli {

namespace {

template <typename T>
nlohmann::ordered_json nullable(const std::optional<T>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

}  // namespace

nlohmann::ordered_json compareJson(const CompareData& data) {
  const auto& r = data.result;
  nlohmann::ordered_json out;
  out["product"] = data.product;
  out["from"] = r.fromYear;
  out["to"] = r.toYear;
  out["month"] = r.month;
  out["rows"] = nlohmann::ordered_json::array();
  for (const auto& row : r.rows) {
    out["rows"].push_back({{"ANNO", row.year},
                           {"INIZIO", row.start},
                           {"FINE", row.end},
                           {"%", nullable(row.change)}});
  }
  auto points = nlohmann::ordered_json::array();
  for (const auto& p : r.chart.points) {
    points.push_back({{"label", nullable(p.label)},
                      {"value", nullable(p.value)},
                      {"legend", nullable(p.legend)}});
  }
  out["chart"] = {{"type", r.chart.type},
                  {"title", r.chart.title},
                  {"pointCount", r.chart.pointCount},
                  {"points", points}};
  return out;
}

void writeCompareText(const CompareData& data, std::ostream& out, bool colour) {
  const auto& r = data.result;
  out << data.product << " - " << data.description << "\n";
  out << "indici dal " << platform::formatDate(data.range.firstIndexDate) << " al "
      << platform::formatDate(data.range.lastIndexDate) << "; confronto " << r.fromYear << "-"
      << r.toYear << ", " << (r.month > 0 ? statind::monthName(r.month) : "tutti i mesi") << "\n\n";
  if (!r.chart.drawn) {
    out << "nessun confronto: un solo anno\n";
    return;
  }
  writeColumns(report::compareLines(data), out, colour);
}

}  // namespace cli
