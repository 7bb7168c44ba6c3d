#include "statind/PeriodLookups.h"

#include <algorithm>
#include <cctype>

#include "indexdata/Helpers.h"

namespace statind {

namespace {

constexpr double kNoValueMark = 999999;  // stored where a value is unknown; the lookup reads 1

}  // namespace

PeriodLookups::PeriodLookups(indexdata::IndexLookup& lookup, const std::string& product,
                             StartRule rule, platform::DayNumber first, platform::DayNumber last)
    : product_(trimmed(product)),
      series_(lookup.indexTable().remote()
                  ? std::make_unique<indexdata::SeriesCursor>(
                        lookup.indexTable(), product_, platform::isoDate(first - 1),
                        platform::isoDate(last), platform::isoDate(platform::kFixedValueDate))
                  : nullptr),
      lookup_(lookup.dataDb(), series_ ? *series_ : lookup.indexTable(), lookup.valueFormat(),
              true),
      rule_(rule) {}

double PeriodLookups::valueAt(platform::DayNumber day) {
  auto found = values_.find(day);
  if (found != values_.end()) return found->second;
  double value = lookup_.indexValueAt(product_, day);
  values_.emplace(day, value);
  return value;
}

double PeriodLookups::startValueAt(platform::DayNumber day) {
  if (rule_ == StartRule::Previous) return valueAt(day);
  return statind::startValueAt(lookup_, product_, day, rule_);
}

std::optional<double> PeriodLookups::ownValueOn(platform::DayNumber day) {
  // Read before the seek below: finding the rule moves the shared cursor.
  if (!byRuleKnown_) {
    byRule_ = lookup_.valueByRule(product_);
    byRuleKnown_ = true;
  }
  auto& cursor = lookup_.indexTable();
  if (!cursor.seek(platform::SeekOp::Equal, product_, platform::isoDate(day))) return std::nullopt;
  // The record's value as the lookup reads it, so that the day's row agrees with the summary
  // and the chart: the rule's value for a product fixed or without a series, 999999 as 1.
  double value = byRule_.value_or(indexdata::nzNumber(cursor.field("IndValoreMon")));
  if (!byRule_) {
    value = value == kNoValueMark ? 1 : platform::roundThrough(value, lookup_.valueFormat());
  }
  if (value > 1) return value;
  return std::nullopt;
}

std::string trimmed(const std::string& text) {
  auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool recordBelongsTo(const platform::SeekCursor& cursor, const std::string& product) {
  return sameProduct(platform::valueText(cursor.field("IndProdotto")), product);
}

bool sameProduct(const std::string& storedCode, const std::string& product) {
  std::string stored = trimmed(storedCode);
  std::string wanted = trimmed(product);
  return std::equal(
      stored.begin(), stored.end(), wanted.begin(), wanted.end(),
      [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

}  // namespace statind
