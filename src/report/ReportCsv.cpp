#include "report/ReportCsv.h"

namespace report {

namespace {

std::string csvField(const std::string& text) {
  const bool quote = text.find_first_of(";\"\r\n") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

void writeReportCsv(const ReportData& data, std::ostream& out) {
  const auto& c = data.result.captions;
  out << csvField(c[0]) << ";" << csvField(c[1]) << ";" << csvField(c[2]) << ";" << csvField(c[3])
      << ";" << csvField(c[4]) << "\n";
  for (const auto& r : data.result.rows) {
    out << csvField(r.Data) << ";" << csvField(r.indice) << ";" << csvField(r.Percento1) << ";"
        << csvField(r.Percento2) << ";" << csvField(r.Percento3) << "\n";
  }
}

}  // namespace report
