#include "cli/VersusOutput.h"

#include <algorithm>

#include "cli/RiskOutput.h"
#include "cli/TextColumns.h"
#include "versus/VersusText.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

Json productJson(const versus::ProductFigures& p) {
  Json years = Json::array();
  for (const auto& y : p.years)
    years.push_back({{"year", y.year}, {"change", y.change}, {"partial", y.partial}});
  Json vs = nullptr;
  if (p.vsBenchmark) {
    const versus::PairFigures& pair = p.vsBenchmark->pair;
    vs = {{"correlation", jsonNumber(pair.correlation)},
          {"beta", jsonNumber(pair.beta)},
          {"trackingError", jsonNumber(pair.trackingError)},
          {"informationRatio", jsonNumber(p.vsBenchmark->informationRatio)},
          {"returns", pair.returns}};
  }
  return {{"product", p.product},
          {"description", p.description},
          {"change", p.figures.change},
          {"annualisedReturn", jsonNumber(p.figures.annualisedReturn)},
          {"volatility", jsonNumber(p.figures.volatility)},
          {"maxDrawdown", drawdownJson(p.figures.maxDrawdown)},
          {"sharpe", jsonNumber(p.sharpe)},
          {"years", years},
          {"vsBenchmark", vs}};
}

// A year's "P" in a column of its own, so that the years stand aligned as the numbers they are.
std::vector<Line> yearsApart(std::vector<Line> lines) {
  const auto partial = [](const Line& line) {
    return line.front().size() > 2 && line.front().ends_with(" P");
  };
  if (std::none_of(lines.begin() + 1, lines.end(), partial)) return lines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Line& line = lines[i];
    const bool mark = i > 0 && partial(line);
    if (mark) line.front().resize(line.front().size() - 2);
    line.insert(line.begin() + 1, mark ? "P" : "");
  }
  return lines;
}

}  // namespace

Json versusJson(const versus::VersusResult& result) {
  Json out;
  out["from"] = platform::formatDate(result.period.from);
  out["to"] = platform::formatDate(result.period.to);
  const versus::RiskFree& rf = result.riskFree;
  out["riskFree"] = {{"product", rf.product.empty() ? Json(nullptr) : Json(rf.product)},
                     {"annualisedReturn", jsonNumber(rf.annualisedReturn)}};
  out["benchmark"] =
      result.benchmark ? Json(result.products[*result.benchmark].product) : Json(nullptr);
  out["products"] = Json::array();
  for (const auto& p : result.products) out["products"].push_back(productJson(p));
  out["correlation"] = Json::array();
  for (const auto& line : result.correlation) {
    Json row = Json::array();
    for (const auto& value : line) row.push_back(jsonNumber(value));
    out["correlation"].push_back(row);
  }
  Json dates = Json::array(), series = Json::array();
  for (auto day : result.chart.dates) dates.push_back(platform::formatDate(day));
  for (std::size_t p = 0; p < result.products.size(); ++p)
    series.push_back({{"product", result.products[p].product}, {"values", result.chart.values[p]}});
  out["chart"] = {{"dates", dates}, {"series", series}};
  return out;
}

void writeVersusText(const versus::VersusResult& result, std::ostream& out, bool colour) {
  out << "Confronto prodotti " << versus::periodText(result) << "\n"
      << "benchmark: " << versus::benchmarkText(result) << "\n"
      << "tasso senza rischio: " << versus::riskFreeText(result.riskFree) << "\n\n";
  std::size_t width = 0;
  for (const auto& p : result.products) width = std::max(width, p.product.size());
  for (const auto& p : result.products)
    out << p.product << std::string(width - p.product.size() + 2, ' ') << p.description << "\n";
  for (const auto& table : {versus::figuresTable(result), versus::yearsTable(result),
                            versus::correlationTable(result)}) {
    out << "\n" << table.title << "\n";
    writeColumns(yearsApart(versus::tableLines(table)), out, colour);
  }
}

}  // namespace cli
