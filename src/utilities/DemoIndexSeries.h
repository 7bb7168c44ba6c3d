// Writes the index history of each demo product: business-day values from its start to the
// end of the demo's history, moved by the shared market path, with the special shapes of the
// catalogue (zeros, a 999999 value, a fixed value, an undated record...) written in. Values in
// dollars also get their euro counterpart through a generated exchange rate.
#pragma once

#include <cstdint>
#include <vector>

#include "utilities/DemoCatalogue.h"
#include "utilities/MarketPath.h"

namespace utilities {

class IndexWriter;

struct SeriesSummary {
  platform::DayNumber firstDay = 0;  // first and last dated value (0 when none)
  platform::DayNumber lastDay = 0;
  std::int64_t records = 0;  // every record written, undated and fixed-value ones included
};

class DemoIndexSeries {
 public:
  // The first day any demo history may start on; the market path starts there, so a history
  // is the same whatever day the demo is made, only longer.
  static platform::DayNumber historyStart();

  // Histories end on `lastDay` (a business day) at the latest.
  DemoIndexSeries(platform::DayNumber lastDay, std::uint32_t seed);

  // Writes the product's records through `writer`, in date order.
  SeriesSummary write(const DemoProduct& product, IndexWriter& writer) const;

 private:
  double eurosPerUnit(const DemoProduct& product, platform::DayNumber day) const;

  platform::DayNumber lastDay_;
  std::uint32_t seed_;
  MarketPath market_;
  std::vector<double> dollarsPerEuro_;  // by day from historyStart()
};

}  // namespace utilities
