#include "utilities/DemoIndexSeries.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "utilities/BusinessDays.h"
#include "utilities/IndexWriter.h"
#include "utilities/PriceWalk.h"

namespace utilities {

namespace {

using platform::DayNumber;

constexpr double kFixedValue = 100.0;
constexpr double kMaxValue = 999999.0;

double rounded(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

// Money market and policy values move in small steps: they keep four decimals, funds three.
int decimalsOf(const DemoProduct& product) {
  return product.group == "M" || product.group == "P" ? 4 : 3;
}

DayNumber on(int year, int month, int day) {
  return firstBusinessDayFrom(platform::dayNumber(year, month, day));
}

// The value stored for `day` in place of the walk's, for the products that carry an anomaly.
std::optional<double> anomalyOn(const DemoProduct& product, DayNumber day) {
  if (product.special == DemoSpecial::ZeroValues) {
    const DayNumber first = on(2012, 3, 14);
    if (day == first || day == firstBusinessDayFrom(first + 1) || day == on(2018, 11, 7))
      return 0.0;
  }
  if (product.special == DemoSpecial::MaxValue && day == on(2014, 6, 11)) return kMaxValue;
  return std::nullopt;
}

}  // namespace

DayNumber DemoIndexSeries::historyStart() {
  return platform::dayNumber(1999, 1, 4);
}

DemoIndexSeries::DemoIndexSeries(DayNumber lastDay, std::uint32_t seed)
    : lastDay_(lastDay),
      seed_(seed),
      market_(historyStart(), std::max(lastDay, historyStart()),
              PortableRandom::seedFor(seed, "market")) {
  WalkParams rate{.startValue = 1.17,
                  .annualDrift = 0.0,
                  .annualVolatility = 0.08,
                  .marketSensitivity = 0.0,
                  .lowerBound = 1.0,
                  .upperBound = 1.5};
  PriceWalk walk(rate, PortableRandom::seedFor(seed, "EUR/USD"));
  for (DayNumber day = historyStart(); day <= lastDay; ++day)
    dollarsPerEuro_.push_back(isBusinessDay(day) && day > historyStart() ? walk.step(0.0)
                                                                         : walk.value());
}

double DemoIndexSeries::eurosPerUnit(const DemoProduct& product, DayNumber day) const {
  if (product.currency != "USD" || day < historyStart()) return 1.0;
  const auto index = static_cast<std::size_t>(day - historyStart());
  return index < dollarsPerEuro_.size() ? 1.0 / dollarsPerEuro_[index] : 1.0;
}

SeriesSummary DemoIndexSeries::write(const DemoProduct& product, IndexWriter& writer) const {
  SeriesSummary summary;
  if (product.special == DemoSpecial::NoRecords) return summary;
  const std::string code(product.code);
  const int decimals = decimalsOf(product);
  if (product.special == DemoSpecial::UndatedRecord) {
    writer.add(code, platform::kNoDateLimit, 1.0, 1.0);
    ++summary.records;
  }
  DayNumber last = lastDay_;
  if (product.special == DemoSpecial::EndsEarly) last = std::min(last, on(2016, 9, 30));
  PriceWalk walk(DemoCatalogue::walkFor(product), PortableRandom::seedFor(seed_, product.fund));
  const DayNumber first = on(product.startYear, product.startMonth, product.startDay);
  for (DayNumber day = first; day <= last; ++day) {
    if (!isBusinessDay(day)) continue;
    const double value = day == first ? walk.value() : walk.step(market_.returnOn(day));
    const double stored = anomalyOn(product, day).value_or(rounded(value, decimals));
    const double inEuro = stored == kMaxValue ? stored : stored * eurosPerUnit(product, day);
    writer.add(code, day, stored, rounded(inEuro, decimals));
    if (summary.firstDay == 0) summary.firstDay = day;
    summary.lastDay = day;
    ++summary.records;
  }
  if (product.special == DemoSpecial::FixedValue) {
    writer.add(code, platform::kFixedValueDate, kFixedValue, kFixedValue);
    ++summary.records;
  }
  return summary;
}

}  // namespace utilities
