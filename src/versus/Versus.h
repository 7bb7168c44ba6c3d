// Products side by side: two to eight products over the period they share, each rebased to 100
// on one chart, with the risk figures' change, annualised return, volatility and deepest fall,
// the Sharpe ratio, the calendar years, and how each followed a benchmark chosen among them.
// Every figure rests on the products' usable index records as the risk figures read them (zero,
// Null, fixed-value and 999999 records left out), read once per product; nothing is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "risk/SeriesMath.h"
#include "versus/PairReturns.h"
#include "versus/VersusPeriod.h"

namespace versus {

inline constexpr std::size_t kMinProducts = 2, kMaxProducts = 8;

struct VersusParams {
  std::vector<std::string> products;  // codes, trimmed; compared without regard to case
  std::string benchmark;              // one of `products`; "" for none
  PeriodChoice period;
  // The product whose index stands for the risk-free rate (INDICE_MONETARIO); "" for a rate of 0.
  std::string riskFree;
};

struct YearChange {
  int year = 0;
  double change = 0;     // fraction, from the year before's close (or the period's start)
  bool partial = false;  // the period covers only part of the year
};

struct VsBenchmark {
  PairFigures pair;
  std::optional<double> informationRatio;  // (return - benchmark's return) / tracking error
};

struct ProductFigures {
  std::string product;  // the code as TabProdotti holds it
  std::string description;
  risk::PeriodFigures figures;
  std::optional<double> sharpe;
  std::vector<YearChange> years;
  std::optional<VsBenchmark> vsBenchmark;  // none for the benchmark itself or without one
};

struct RiskFree {
  std::string product;  // "" when none is named: the rate is 0
  std::string description;
  // Over the period; nullopt when the named product does not cover the whole period, has no
  // usable index, or the period is under a year (no annualised return).
  std::optional<double> annualisedReturn;
  std::string note;  // why there is no rate; "" otherwise
};

struct RebasedChart {
  std::vector<platform::DayNumber> dates;   // the period's start, then month ends (or every
                                            // record date for a year or less), then its end
  std::vector<std::vector<double>> values;  // per product, one per date; 100 on the first
};

struct VersusResult {
  Period period;
  platform::DayNumber sharedFirst = 0, sharedLast = 0;  // the history all products share
  RiskFree riskFree;
  std::optional<std::size_t> benchmark;  // its place in `products`
  std::vector<ProductFigures> products;  // in the order asked for
  // products × products, on the dates each pair shares; nullopt where a correlation has none.
  std::vector<std::vector<std::optional<double>>> correlation;
  RebasedChart chart;
};

// Why `code` (trimmed) cannot join the `products` a user is gathering: already among them, or
// the list full (Italian); "" when it can.
std::string refusalToAdd(const std::vector<std::string>& products, const std::string& code);

// Checks what a caller can get wrong before anything is read: 2 to 8 products, none blank or
// named twice, a benchmark among them. Throws std::invalid_argument with the Italian reason.
void checkParams(const VersusParams& params);

// The comparison of `params`, all products read inside one hold of the databases. Throws
// std::invalid_argument as checkParams, Refusal when a product is unknown or has no usable index
// (NoData), when the products share no period (NoOverlap, naming the two whose histories do not
// meet) or when the chosen dates leave nothing (Period); storage errors throw StoreError.
VersusResult computeVersus(indexdata::IndexLookup& lookup, const VersusParams& params);

}  // namespace versus
