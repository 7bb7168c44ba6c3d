#include "cli/ReportOutput.h"

#include <algorithm>
#include <vector>

#include "platform/Format.h"

namespace cli {

namespace {

using Line = std::vector<std::string>;

const char* kRed = "\033[31m";
const char* kPlain = "\033[0m";

nlohmann::ordered_json nullable(const std::optional<std::string>& text) {
  return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

// Characters on screen: UTF-8 continuation bytes take no room of their own.
std::size_t displayWidth(const std::string& text) {
  return std::count_if(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

bool startsWithDigit(const std::string& text) {
  return !text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-');
}

std::string pad(const std::string& text, std::size_t width, bool right) {
  const std::string fill(width - std::min(width, displayWidth(text)), ' ');
  return right ? fill + text : text + fill;
}

// Prints `lines` as columns two blanks apart; texts that read as numbers stand right-aligned,
// and with `colour` the negative ones are red.
void writeColumns(const std::vector<Line>& lines, std::ostream& out, bool colour,
                  std::size_t minWidth = 0) {
  std::vector<std::size_t> widths;
  for (const auto& line : lines) {
    widths.resize(std::max(widths.size(), line.size()), minWidth);
    for (std::size_t i = 0; i < line.size(); ++i)
      widths[i] = std::max(widths[i], displayWidth(line[i]));
  }
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const bool number = startsWithDigit(line[i]);
      std::string cell = pad(line[i], widths[i], number || i > 0);
      if (colour && number && line[i][0] == '-') cell = kRed + cell + kPlain;
      text += (i ? "  " : "") + cell;
    }
    out << text.substr(0, text.find_last_not_of(' ') + 1) << "\n";
  }
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
