// The statistics of one product over a year or a month: the product's index range, the
// three-year summary, the grid rows (written to WkStatInd and read back) and the chart series.
// One function, parameters in and result out, for the window, statind-cli and the tests.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "platform/Desktop.h"
#include "platform/Format.h"
#include "platform/Store.h"

namespace statind {

enum class StartRule { FirstUseful = 0, Previous = 1 };  // Option1(0) "1° indice utile", (1)

// The option's caption: "1° indice utile" or "indice precedente".
std::string startRuleCaption(StartRule rule);

struct ProductRange {
  platform::DayNumber firstIndexDate = 0;
  platform::DayNumber lastIndexDate = 0;
  int firstYear = 0, firstMonth = 0, lastYear = 0, lastMonth = 0;
  std::vector<int> years() const;  // first year .. last year
};

// The product's first record dated after day 100 and its last record on or before `today`
// (else `today`). nullopt when the product has no such first record ("Nessun indice per il
// prodotto").
std::optional<ProductRange> productRange(indexdata::IndexLookup& lookup, const std::string& product,
                                         platform::DayNumber today);

// Start value of a period by the chosen rule.
double startValueAt(indexdata::IndexLookup& lookup, const std::string& product,
                    platform::DayNumber date, StartRule rule);

struct SummarySlot {
  std::string LbAnno, LbVal1, LbVal2, LbDiff;
  bool LbDiffRed = false;
  std::string LbPerc, LbParz;
};

struct GridRow {
  std::string Data, indice, Percento1, Percento2, Percento3;
};

// A chart point; nullopt where the run never wrote the label or the value.
struct ChartPoint {
  std::optional<std::string> label;
  std::optional<double> value;
  std::string when = {};  // the point's date as dd/mm/yyyy ("" for a point never written)
};

struct ChartSeries {
  int pointCount = 2;
  std::vector<ChartPoint> points;  // pointCount entries
};

struct StatParams {
  std::string product;
  int year = 0;
  int month = 0;  // 0 = year view, 1..12 = month view
  StartRule startRule = StartRule::FirstUseful;
  ProductRange range;
};

struct StatResult {
  bool yearView = true;
  std::array<SummarySlot, 3> summary;  // slot 0 = year - 2
  std::array<std::string, 5> captions;
  std::vector<GridRow> rows;  // this run's rows read back from WkStatInd, in display order
  ChartSeries chart;
  platform::DayNumber periodFirst = 0;  // the period's first and last dates
  platform::DayNumber periodLast = 0;
};

struct StatContext {
  indexdata::IndexLookup& lookup;
  platform::Database& workDb;
  platform::Desktop& desktop;  // wait pointer
};

inline constexpr const char* kWorkTable = "WkStatInd";

// One statistics run. Empties WkStatInd and fills it in one transaction (after a failure the
// table keeps the previous run's rows), and reads the rows back inside that transaction, so
// that they are this run's rows even while other programs run on the same work database. The wait
// pointer is on while it runs and off on every way out. Storage errors throw StoreError. A blank
// product throws std::invalid_argument and touches nothing (the window shows its choice pane
// instead); so does a month above 12.
StatResult runStatistics(StatContext& context, const StatParams& params);

}  // namespace statind
