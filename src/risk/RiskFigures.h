// How much a product moved and how much it can lose: change, annualised return, volatility,
// deepest fall and best and worst month over the shown year, the last 1, 3 and 5 years and the
// whole history, with its indicative market-risk class and the map of every month. Everything
// comes from one read of the product's records; nothing is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "risk/MarketRisk.h"
#include "risk/ReturnsMap.h"
#include "risk/SeriesMath.h"
#include "statind/PeriodStatistics.h"

namespace risk {

struct RiskParams {
  std::string product;
  int year = 0;  // the shown year; 0 = the year of the last usable record
  double holdingYears = kDefaultHoldingYears;
  // of the monthly changes and of the shown year's start value
  statind::StartRule startRule = statind::StartRule::FirstUseful;
  statind::ProductRange range;  // as productRange gives it
};

struct MonthFigure {
  int year = 0;
  int month = 0;      // 1..12
  double change = 0;  // percent, as the year view shows it
};

struct WindowFigures {
  std::string name;      // "anno", "1a", "3a", "5a", "storico"
  bool covered = false;  // false when the history is shorter than the window: nothing else set
  platform::DayNumber from = 0, to = 0;
  double change = 0;                       // fraction
  std::optional<double> annualisedReturn;  // windows of a year or more
  std::optional<double> volatility;        // at least two returns
  Drawdown maxDrawdown;
  std::optional<MonthFigure> bestMonth, worstMonth;
  std::optional<double> positiveMonths;  // share of the months with a change above 0
  // The shown year's start-value rule ("anno" only): its change is the year view's under it.
  std::optional<statind::StartRule> startRule;
};

struct RiskResult {
  std::string product;                 // trimmed
  int year = 0;                        // the shown year
  std::vector<WindowFigures> windows;  // always the five, in the order of their names above
  MarketRisk mrm;
  std::vector<SeriesPoint> history;  // the usable points of the whole history
  std::vector<double> underwater;    // one per history point
  ReturnsMap map;
};

// The figures of `params.product`. A blank product or a non-positive holding period throws
// std::invalid_argument; storage errors throw StoreError.
RiskResult computeRisk(indexdata::IndexLookup& lookup, const RiskParams& params);

}  // namespace risk
