#include "risk/IndexSeries.h"

#include <SQLiteCpp/Database.h>

#include <algorithm>
#include <utility>

#include "indexdata/Helpers.h"
#include "platform/SqlStatement.h"
#include "platform/Strings.h"

namespace risk {

namespace {

using platform::DayNumber;

constexpr double kNothingFound = 999999;  // also the stored mark of a value that is not one
constexpr const char* kEarliest = "0001-01-01";
constexpr const char* kLatest = "9999-12-31";

std::optional<double> storedNumber(const platform::Value& value) {
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  return std::nullopt;
}

}  // namespace

IndexSeries IndexSeries::read(indexdata::IndexLookup& lookup, const std::string& product,
                              statind::StartRule rule) {
  const std::string code = indexdata::trimBlanks(product);
  platform::SeekCursor& index = lookup.indexTable();
  platform::Database::ReadScope dataScope(lookup.dataDb());
  const auto indexHold = index.hold();
  const std::optional<double> byRule = lookup.valueByRule(code);
  std::vector<Record> records;
  const auto keep = [&](const platform::Value& storedDate, const platform::Value& stored) {
    const auto* text = std::get_if<std::string>(&storedDate);
    const auto date = platform::parseIsoDate(text ? *text : platform::valueText(storedDate));
    if (!date) return;  // no seek can land on a record without a date
    records.push_back(Record{*date, storedNumber(stored), indexdata::nzNumber(stored)});
  };
  if (auto* file = dynamic_cast<platform::TableCursor*>(&index)) {
    // A file answers the two columns it is asked for faster than a whole range read, and read
    // row by row into the same two fields nothing is copied or allocated per record.
    platform::SqlStatement scan(
        file->database().engine().getHandle(),
        "SELECT IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1 ORDER BY IndData");
    scan.bindAll({file->storedKey(code)});
    platform::Value date, value;
    while (scan.step()) {
      scan.read(0, date);
      scan.read(1, value);
      keep(date, value);
    }
    return IndexSeries(std::move(records), byRule, lookup.valueFormat(), rule);
  }
  // Every dated record of the product, in date order: the span of all dates a record can have.
  // A server hands them over lean (one statement, nothing to parse).
  const auto lean = index.readSeries(code, kEarliest, kLatest, kLatest);
  if (!lean) throw platform::StoreError("the index store cannot read a product's records", 0);
  for (const auto& r : lean->inside)
    records.push_back(Record{r.day, r.valueMonNull ? std::nullopt : std::optional(r.valueMon),
                             r.valueMonNull ? 0 : r.valueMon});
  return IndexSeries(std::move(records), byRule, lookup.valueFormat(), rule);
}

IndexSeries::IndexSeries(std::vector<Record> records, std::optional<double> byRule,
                         std::string valueFormat, statind::StartRule rule)
    : records_(std::move(records)),
      byRule_(byRule),
      valueFormat_(std::move(valueFormat)),
      rule_(rule) {
  answering_.reserve(records_.size());
  usable_.reserve(records_.size());
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
