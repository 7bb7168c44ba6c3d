// The product's index range and the start value of a period.
#include "indexdata/Helpers.h"
#include "statind/PeriodLookups.h"
#include "statind/PeriodStatistics.h"

namespace statind {

namespace {

// Records dated on or before this day are not taken as the start of a history.
constexpr platform::DayNumber kRangeStartKey = 100;

// A landing's date when it is a record of `product` (fields IndProdotto, IndData).
std::optional<platform::DayNumber> dateOf(
    const std::optional<std::vector<platform::Value>>& landing, const std::string& product) {
  if (!landing || !sameProduct(platform::valueText(landing->at(0)), product)) return std::nullopt;
  return platform::parseIsoDate(platform::valueText(landing->at(1)));
}

}  // namespace

std::vector<int> ProductRange::years() const {
  std::vector<int> list;
  for (int year = firstYear; year <= lastYear; ++year) list.push_back(year);
  return list;
}

std::optional<ProductRange> productRange(indexdata::IndexLookup& lookup, const std::string& product,
                                         platform::DayNumber today) {
  const std::string code = trimmed(product);
  // Both ends at once: a server answers them in one round trip.
  const auto ends =
      lookup.indexTable().seekEach(code,
                                   {{platform::SeekOp::Greater, platform::isoDate(kRangeStartKey)},
                                    {platform::SeekOp::LessEqual, platform::isoDate(today)}},
                                   {"IndProdotto", "IndData"});
  const auto first = dateOf(ends[0], code);
  if (!first) return std::nullopt;
  platform::DayNumber last = today;
  // A record before the history's start (an undated one) cannot end it.
  if (const auto end = dateOf(ends[1], code); end && *end >= *first) last = *end;

  ProductRange range;
  range.firstIndexDate = *first;
  range.lastIndexDate = last;
  auto firstCivil = platform::civilDate(*first);
  auto lastCivil = platform::civilDate(last);
  range.firstYear = firstCivil.year;
  range.firstMonth = firstCivil.month;
  range.lastYear = lastCivil.year;
  range.lastMonth = lastCivil.month;
  return range;
}

double startValueAt(indexdata::IndexLookup& lookup, const std::string& product,
                    platform::DayNumber date, StartRule rule) {
  const std::string code = trimmed(product);
  if (rule == StartRule::Previous) return lookup.indexValueAt(code, date);
  // A product whose index is fixed by rule (no series, or a fixed value) has that index on its
  // first day too: a stale stored record must not show a change the product never had.
  if (const auto byRule = lookup.valueByRule(code)) return *byRule;
  auto& cursor = lookup.indexTable();
  if (!cursor.seek(platform::SeekOp::GreaterEqual, code, platform::isoDate(date))) return 0;
  if (!recordBelongsTo(cursor, code)) return 0;
  return indexdata::nzNumber(cursor.field("IndValoreMon"));
}

}  // namespace statind
