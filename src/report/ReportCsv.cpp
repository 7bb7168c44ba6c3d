#include "report/ReportCsv.h"

#include "platform/Format.h"

namespace report {

std::string csvField(const std::string& text) {
  const bool quote = text.find_first_of(";\"\r\n") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void writeCsvLine(const std::vector<std::string>& line, std::ostream& out) {
  for (std::size_t i = 0; i < line.size(); ++i) out << (i ? ";" : "") << csvField(line[i]);
  out << "\n";
}

void writeReportCsv(const ReportData& data, std::ostream& out) {
  const auto& c = data.result.captions;
  writeCsvLine({c.begin(), c.end()}, out);
  for (const auto& r : data.result.rows)
    writeCsvLine({r.Data, r.indice, r.Percento1, r.Percento2, r.Percento3}, out);
}

std::vector<std::vector<std::string>> compareLines(const CompareData& data) {
  const auto& r = data.result;
  if (!r.chart.drawn) return {};
  if (r.month > 0) {
    std::vector<std::vector<std::string>> lines{{"ANNO", "INIZIO", "FINE", "%"}};
    for (const auto& row : r.rows)
      lines.push_back(
          {std::to_string(row.year), row.start, row.end, compare::changeText(row.change)});
    return lines;
  }
  std::vector<std::vector<std::string>> lines{{"punto", "etichetta", "valore"}};
  for (std::size_t i = 0; i < r.chart.points.size(); ++i) {
    const auto& p = r.chart.points[i];
    lines.push_back({std::to_string(i + 1), p.label.value_or(""),
                     p.value ? platform::formatNumber(*p.value, data.valueFormat) : ""});
  }
  return lines;
}

void writeCompareCsv(const CompareData& data, std::ostream& out) {
  for (const auto& line : compareLines(data)) writeCsvLine(line, out);
}

}  // namespace report
