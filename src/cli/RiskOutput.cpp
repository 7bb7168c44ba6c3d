#include "cli/RiskOutput.h"

#include <cmath>

#include "cli/TextColumns.h"
#include "risk/RiskText.h"
#include "statind/StatText.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

// A month's change is the grid's percentage to three decimals: as a fraction it has five, and
// no more.
Json monthRate(const std::optional<risk::MonthFigure>& month) {
  return month ? Json(std::round(month->change * 1000) / 100000) : Json(nullptr);
}

std::vector<Line> riskLines(const risk::RiskResult& result) {
  const risk::FigureTable table = risk::figureTable(result);
  std::vector<Line> lines{{""}};
  lines[0].insert(lines[0].end(), table.header.begin(), table.header.end());
  for (const auto& figure : table.lines) {
    lines.push_back({figure.caption});
    lines.back().insert(lines.back().end(), figure.cells.begin(), figure.cells.end());
  }
  return lines;
}

std::vector<Line> returnsLines(const risk::ReturnsMap& map) {
  std::vector<Line> lines{{"anno"}};
  for (int m = 1; m <= 12; ++m) lines[0].push_back(statind::monthAbbreviation(m));
  lines[0].push_back("% anno");
  for (const auto& row : map.years) {
    Line line{std::to_string(row.year)};
    for (const auto& cell : row.months) line.push_back(risk::cellText(cell));
    line.push_back(row.yearText);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

Json jsonNumber(const std::optional<double>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json drawdownJson(const risk::Drawdown& drawdown) {
  const auto date = [](const std::optional<platform::DayNumber>& day) {
    return day ? Json(platform::formatDate(*day)) : Json(nullptr);
  };
  return {{"value", drawdown.value},
          {"peak", date(drawdown.peak)},
          {"trough", date(drawdown.trough)},
          {"recovery", date(drawdown.recovery)}};
}

Json riskJson(const ProductHeading& heading, const risk::RiskResult& result) {
  Json out;
  out["product"] = heading.product;
  out["windows"] = Json::array();
  for (const auto& w : result.windows) {
    if (!w.covered) continue;
    out["windows"].push_back({{"name", w.name},
                              {"from", platform::formatDate(w.from)},
                              {"to", platform::formatDate(w.to)},
                              {"change", w.change},
                              {"annualisedReturn", jsonNumber(w.annualisedReturn)},
                              {"volatility", jsonNumber(w.volatility)},
                              {"maxDrawdown", drawdownJson(w.maxDrawdown)},
                              {"bestMonth", monthRate(w.bestMonth)},
                              {"worstMonth", monthRate(w.worstMonth)},
                              {"positiveMonths", jsonNumber(w.positiveMonths)}});
    if (w.startRule) {
      out["windows"].back()["startRule"] =
          *w.startRule == statind::StartRule::Previous ? "previous" : "first";
    }
  }
  const auto& mrm = result.mrm;
  out["mrm"] = {{"class", mrm.riskClass ? Json(*mrm.riskClass) : Json(nullptr)},
                {"vev", jsonNumber(mrm.vev)},
                {"sigma", jsonNumber(mrm.sigma)},
                {"skewness", jsonNumber(mrm.skewness)},
                {"excessKurtosis", jsonNumber(mrm.excessKurtosis)},
                {"returns", mrm.returns},
                {"holdingYears", mrm.holdingYears}};
  return out;
}

void writeRiskText(const ProductHeading& heading, const risk::RiskResult& result, std::ostream& out,
                   bool colour) {
  out << heading.product << " - " << heading.description << "\n\n";
  writeColumns(riskLines(result), out, colour);
  out << "\nclasse di rischio (MRM): " << risk::riskClassText(result.mrm) << "  ("
      << risk::riskDetailText(result.mrm) << ")\n"
      << risk::kMarketRiskCaption << "\n";
}

void writeRiskCsv(const risk::RiskResult& result, std::ostream& out) {
  for (const Line& line : riskLines(result)) writeCsvLine(line, out);
  writeCsvLine({"classe di rischio (MRM)", risk::riskClassText(result.mrm),
                risk::riskDetailText(result.mrm), risk::kMarketRiskCaption},
               out);
}

Json returnsJson(const ProductHeading& heading, const risk::ReturnsMap& map) {
  Json out;
  out["product"] = heading.product;
  out["years"] = Json::array();
  for (const auto& row : map.years) {
    Json months = Json::array(), partial = Json::array();
    for (const auto& cell : row.months) {
      months.push_back(jsonNumber(cell.change));
      partial.push_back(cell.partial);
    }
    out["years"].push_back({{"year", row.year},
                            {"months", months},
                            {"partial", partial},
                            {"yearChange", jsonNumber(row.yearChange)}});
  }
  return out;
}

void writeReturnsText(const ProductHeading& heading, const risk::ReturnsMap& map, std::ostream& out,
                      bool colour) {
  out << heading.product << " - " << heading.description << ": variazioni % mensili\n\n";
  writeColumns(returnsLines(map), out, colour);
}

void writeReturnsCsv(const risk::ReturnsMap& map, std::ostream& out) {
  for (const Line& line : returnsLines(map)) writeCsvLine(line, out);
}

}  // namespace cli
