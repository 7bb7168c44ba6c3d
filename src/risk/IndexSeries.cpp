#include "risk/IndexSeries.h"

#include <algorithm>
#include <utility>

#include "indexdata/Helpers.h"

namespace risk {

namespace {

using platform::DayNumber;

constexpr double kNothingFound = 999999;  // also the stored mark of a value that is not one

std::optional<double> storedNumber(const platform::Value& value) {
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  return std::nullopt;
}

}  // namespace

IndexSeries IndexSeries::read(indexdata::IndexLookup& lookup, const std::string& product,
                              statind::StartRule rule) {
  const std::string code = indexdata::trimBlanks(product);
  platform::Database& indexDb = lookup.indexTable().database();
  platform::Database::ReadScope dataScope(lookup.dataDb());
  platform::Database::ReadScope indexScope(indexDb);
  const std::optional<double> byRule = lookup.valueByRule(code);
  platform::PreparedQuery query(
      indexDb, "SELECT IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1 ORDER BY IndData");
  std::vector<Record> records;
  for (const auto& row : query.run({code})) {
    const auto date = platform::parseIsoDate(platform::valueText(row.at(0)));
    if (!date) continue;  // no seek can land on a record without a date
    records.push_back(Record{*date, storedNumber(row.at(1)), indexdata::nzNumber(row.at(1))});
  }
  return IndexSeries(std::move(records), byRule, lookup.valueFormat(), rule);
}

IndexSeries::IndexSeries(std::vector<Record> records, std::optional<double> byRule,
                         std::string valueFormat, statind::StartRule rule)
    : records_(std::move(records)),
      byRule_(byRule),
      valueFormat_(std::move(valueFormat)),
      rule_(rule) {
  for (const Record& r : records_) {
    if (r.date <= platform::kNoDateLimit || !r.number || *r.number == 0) continue;
    answering_.push_back(r);
    // A unit value is positive: a negative one carried over from old files is no value to
    // measure a return from.
    if (r.date<platform::kFixedValueDate&& * r.number != kNothingFound&& * r.number> 0)
      usable_.push_back(SeriesPoint{r.date, byRule_.value_or(*r.number)});
  }
}

double IndexSeries::searched(DayNumber day) const {
  const auto byDate = [](const Record& r, DayNumber d) { return r.date < d; };
  // The first record dated after `day`: the one before it is the last on or before `day`.
  auto after = std::lower_bound(answering_.begin(), answering_.end(), day + 1, byDate);
  if (after != answering_.begin()) return std::prev(after)->number.value();
  // Nothing on or before: the forward search, which never reaches the fixed-value date.
  if (after != answering_.end() && after->date < platform::kFixedValueDate)
    return after->number.value();
  return kNothingFound;
}

double IndexSeries::valueAt(DayNumber day) {
  if (byRule_) return *byRule_;
  const double value = searched(day);
  return platform::roundThrough(value == kNothingFound ? 1 : value, valueFormat_);
}

double IndexSeries::startValueAt(DayNumber day) {
  if (rule_ == statind::StartRule::Previous) return valueAt(day);
  if (byRule_) return *byRule_;
  auto first = std::lower_bound(records_.begin(), records_.end(), day,
                                [](const Record& r, DayNumber d) { return r.date < d; });
  return first == records_.end() ? 0 : first->startNumber;
}

}  // namespace risk
