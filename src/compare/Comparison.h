// One product's index compared with itself over a span of years: with no month chosen its
// month-end index across the whole span, with a month chosen that month's change year by year
// (the grid rows) and the chart of those changes. One function, parameters in and result out,
// for the comparison window, statind-cli and the tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "statind/GraphModel.h"
#include "statind/PeriodStatistics.h"

namespace compare {

struct CompareParams {
  std::string product;
  int fromYear = 0;  // the two years may come in either order
  int toYear = 0;
  int month = 0;  // 0 = all months, 1..12 = that month in every year
  statind::StartRule startRule = statind::StartRule::FirstUseful;  // Option1
  bool bars = false;                                               // OptionS(1) "Barre"
  statind::ProductRange range;  // the product's index history (statind::productRange)
  int usableWidth = 0;          // screen width in twips + 120: narrow screens indent labels less
};

// A grid row: "ANNO", "INIZIO", "FINE", "%".
struct CompareRow {
  int year = 0;
  std::string start, end;        // formatted with the index value format
  std::optional<double> change;  // rounded to two decimals; empty when the start value is 0
};

// The series' names: the month-end index of all months, one month's change year by year.
inline constexpr const char* kIndexSeries = "Indice";
inline constexpr const char* kChangeSeries = "Variazione %";

// The chart as the run leaves it. `drawn` is false when the run ended without drawing (one month
// over a single year): then there are no points.
struct CompareChart {
  int type = statind::GraphModel::kLine;
  std::string title;
  std::string seriesName = kIndexSeries;
  int pointCount = 0;
  std::vector<statind::GraphPoint> points;  // pointCount entries, unwritten ones empty
  bool drawn = false;
};

struct CompareResult {
  int fromYear = 0, toYear = 0;  // in order
  int month = 0;
  std::vector<CompareRow> rows;  // one month only: the years compared
  CompareChart chart;
};

// One comparison run. Years outside the product's history are the caller's to refuse. A year
// whose start value is 0 gets an empty change and no chart value (nor legend), never a division
// by zero. A blank product or a month outside 0..12 throws std::invalid_argument; storage errors
// throw StoreError.
CompareResult runComparison(indexdata::IndexLookup& lookup, const CompareParams& params);

// The grid's and the text outputs' "%" cell: "#0.00", "" for an empty change.
std::string changeText(const std::optional<double>& change);

// Rebuilds `graph` from a run: data set and advance settings, reset, type, title, points; then a
// redraw, unless the run drew nothing. Display options (overlays, axis, grid) are left alone.
void loadChart(statind::GraphModel& graph, const CompareChart& chart);

}  // namespace compare
