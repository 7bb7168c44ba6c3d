#include "cli/ReportOutput.h"

#include <vector>

#include "cli/TextColumns.h"
#include "platform/Format.h"

namespace cli {

namespace {

nlohmann::ordered_json nullable(const std::optional<std::string>& text) {
  return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

std::string periodText(const ReportData& data) {
  if (data.month <= 0) return std::to_string(data.year);
  return data.result.captions[0] + " " + std::to_string(data.year);
}

}  // namespace

nlohmann::ordered_json reportJson(const ReportData& data) {
  nlohmann::ordered_json out;
  out["product"] = data.product;
  out["description"] = data.description;
  out["currency"] = data.currency;
  out["firstIndexDate"] = platform::formatDate(data.range.firstIndexDate);
  out["lastIndexDate"] = platform::formatDate(data.range.lastIndexDate);
  out["year"] = data.year;
  out["month"] = data.month;
  out["summary"] = nlohmann::ordered_json::array();
  for (const auto& s : data.result.summary) {
    out["summary"].push_back({{"LbAnno", s.LbAnno},
                              {"LbVal1", s.LbVal1},
                              {"LbVal2", s.LbVal2},
                              {"LbDiff", s.LbDiff},
                              {"LbDiffRed", s.LbDiffRed},
                              {"LbPerc", s.LbPerc},
                              {"LbParz", s.LbParz}});
  }
  out["captions"] = data.result.captions;
  out["rows"] = nlohmann::ordered_json::array();
  for (const auto& r : data.result.rows) {
    out["rows"].push_back({{"Data", r.Data},
                           {"indice", r.indice},
                           {"Percento1", r.Percento1},
                           {"Percento2", r.Percento2},
                           {"Percento3", r.Percento3}});
  }
  auto points = nlohmann::ordered_json::array();
  for (const auto& p : data.result.chart.points) {
    points.push_back({{"label", nullable(p.label)},
                      {"value", p.value ? nlohmann::ordered_json(*p.value) : nullptr}});
  }
  out["chart"] = {{"pointCount", data.result.chart.pointCount}, {"points", points}};
  return out;
}

void writeReportText(const ReportData& data, std::ostream& out, bool colour) {
  out << data.product << " - " << data.description << " (" << data.currency << ")\n";
  out << "indici dal " << platform::formatDate(data.range.firstIndexDate) << " al "
      << platform::formatDate(data.range.lastIndexDate) << "; periodo " << periodText(data)
      << "\n\n";
  std::vector<Line> summary = {{""}, {"inizio"}, {"fine"}, {"variazione %"}, {"parziale"}};
  for (const auto& s : data.result.summary) {
    summary[0].push_back(s.LbAnno);
    summary[1].push_back(s.LbVal1);
    summary[2].push_back(s.LbVal2);
    summary[3].push_back(s.LbDiff);
    summary[4].push_back(s.LbParz);
  }
  writeColumns(summary, out, colour, 8);  // empty slots keep their place
  out << "\n";
  const auto& c = data.result.captions;
  std::vector<Line> grid = {{c[0], c[1], c[2], c[3], c[4]}};
  for (const auto& r : data.result.rows)
    grid.push_back({r.Data, r.indice, r.Percento1, r.Percento2, r.Percento3});
  writeColumns(grid, out, colour);
}

}  // namespace cli
