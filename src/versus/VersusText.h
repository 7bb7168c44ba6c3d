// A comparison of products as a promoter reads it: the figures one column per product with the
// best of each line marked, the calendar years side by side, the correlation matrix, and the
// lines that say over which period, against which benchmark and with which risk-free rate.
// The window, statind-cli and the client sheet show the same texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "versus/Versus.h"

namespace versus {

struct TextCell {
  std::string text;               // "" where the figure does not exist
  bool best = false;              // the best of its line (all of them on a tie)
  bool negative = false;          // a change or ratio below 0 (shown red)
  std::optional<double> value{};  // the figure behind a matrix cell, for its colour
};

struct TextLine {
  std::string caption;
  std::vector<TextCell> cells;  // one per product
};

struct TextTable {
  std::string title;
  std::vector<std::string> header;  // a caption column, then the product codes
  std::vector<TextLine> lines;
};

// Change, annualised return, volatility, deepest fall with its dates (recovery "non ancora"
// while it has not come) and the Sharpe ratio; with a benchmark also correlation, beta,
// tracking error and information ratio. Rates in percent with two decimals, ratios with two
// decimals, dates dd/mm/yyyy.
TextTable figuresTable(const VersusResult& result);
// One line per calendar year ("2025 P" when the period covers part of it), changes in percent.
TextTable yearsTable(const VersusResult& result);
// The correlations, one line and one column per product; values kept for the colour scale.
TextTable correlationTable(const VersusResult& result);

// The labels under the chart's dates: the year at each new year's first date of a chart of
// month ends; at each new month's first date of a daily one its name, with the year at the
// first and in January ("feb", "gen 2026"); none elsewhere.
std::vector<std::optional<std::string>> chartLabels(const RebasedChart& chart);

// The table as plain lines: the header, then each line's caption and texts.
std::vector<std::vector<std::string>> tableLines(const TextTable& table);

// "dal 31/12/2019 al 28/02/2025", and " (storia comune dal ... al ...)" when the choice was cut.
std::string periodText(const VersusResult& result);
// "AZ002 - Fondo bilanciato", or "nessuno".
std::string benchmarkText(const VersusResult& result);
// The rate and where it comes from: "MON01 - Monetario: 1,23 % annuo" (without the description
// when not `described`), "MON01: non disponibile (why)", or "0 % (INDICE_MONETARIO non
// impostato)".
std::string riskFreeText(const RiskFree& riskFree, bool described = true);
// A chart legend entry: "AZ001 +12,34 %".
std::string legendText(const ProductFigures& product);
// A ratio with two decimals ("0,85"); "" for none.
std::string ratioText(const std::optional<double>& value);

}  // namespace versus
