// The ways statind-cli risk and returns print their results: JSON for scripts (rates as
// unrounded fractions, map cells in percent as the grid shows them, dates dd/mm/yyyy), a table
// for a person at a terminal and ';'-separated rows for a spreadsheet.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "risk/ReturnsMap.h"
#include "risk/RiskFigures.h"

namespace cli {

struct ProductHeading {
  std::string product;  // the code as TabProdotti holds it
  std::string description;
};

// A figure that may be missing: the number, or null.
nlohmann::ordered_json jsonNumber(const std::optional<double>& value);
// {"value", "peak", "trough", "recovery"}: dates dd/mm/yyyy, or null when there is none.
nlohmann::ordered_json drawdownJson(const risk::Drawdown& drawdown);

// {"product", "windows": [...], "mrm": {...}}; windows the history does not cover are left out.
nlohmann::ordered_json riskJson(const ProductHeading& heading, const risk::RiskResult& result);
// The figures one column per window, then the class, its detail and its caveat.
void writeRiskText(const ProductHeading& heading, const risk::RiskResult& result, std::ostream& out,
                   bool colour);
// The same table and class lines, ';'-separated.
void writeRiskCsv(const risk::RiskResult& result, std::ostream& out);

// {"product", "years": [{"year", "months": [12], "partial": [12], "yearChange"}]}.
nlohmann::ordered_json returnsJson(const ProductHeading& heading, const risk::ReturnsMap& map);
// One line per year: the months (" P" on partial ones) and the year's change.
void writeReturnsText(const ProductHeading& heading, const risk::ReturnsMap& map, std::ostream& out,
                      bool colour);
void writeReturnsCsv(const risk::ReturnsMap& map, std::ostream& out);

}  // namespace cli
