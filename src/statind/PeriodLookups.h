// The index reads of one statistics run for one product: the lookup, the start value by the
// chosen rule and the product's own record on a day. On a server the product's records over
// the days the run covers are read once at the start, and every lookup of the run runs its
// usual rules on them (see SeriesCursor); a file is sought record by record, which is faster
// there. The product's classification is read once either way. A run asks the lookup for some days
// more than once (a month's end is also the chart's closing point); those repeats are answered from
// memory. That is safe because the lookup only ever deletes zero-valued records, which never
// changes its answer for any day: a repeated call would return the same value and delete nothing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "indexdata/IndexLookup.h"
#include "indexdata/SeriesCursor.h"
#include "statind/PeriodStatistics.h"
#include "statind/PeriodValues.h"

namespace statind {

class PeriodLookups : public PeriodValues {
 public:
  // `product` is used trimmed. The object lives for one run only, inside the run's hold on the
  // index database; on a server it reads the product's records from `first` to `last` at once
  // (lookups outside those days are answered too, from the store). Storage errors throw
  // StoreError.
  PeriodLookups(indexdata::IndexLookup& lookup, const std::string& product, StartRule rule,
                platform::DayNumber first, platform::DayNumber last);

  const std::string& product() const { return product_; }
  const std::string& valueFormat() const { return lookup_.valueFormat(); }

  // indexValueAt for the product on `day`. Storage errors throw StoreError.
  double valueAt(platform::DayNumber day) override;
  // The start value of a period beginning on `day`, by the run's rule.
  double startValueAt(platform::DayNumber day) override;
  // The value of the product's own record dated exactly `day` read by the lookup's rules (the
  // product's value by rule when it has one, 999999 as 1, rounded through the value format),
  // when there is such a record and that value is above 1 (lower values are not real index
  // values); nullopt otherwise.
  std::optional<double> ownValueOn(platform::DayNumber day);

 private:
  std::string product_;
  std::unique_ptr<indexdata::SeriesCursor> series_;  // null on a file
  indexdata::IndexLookup lookup_;  // the run's own lookup, over series_ or the file
  StartRule rule_;
  std::unordered_map<platform::DayNumber, double> values_;
  std::optional<double> byRule_;  // the product's value by rule, once byRuleKnown_
  bool byRuleKnown_ = false;
};

// `text` without blanks (spaces and tabs) at either end.
std::string trimmed(const std::string& text);
// Whether the cursor's current record belongs to `product` (its code trimmed; codes compare
// without regard to case, as the index collates them).
bool recordBelongsTo(const platform::SeekCursor& cursor, const std::string& product);
// Whether a stored code `storedCode` is that of `product`, by the same rule.
bool sameProduct(const std::string& storedCode, const std::string& product);

}  // namespace statind
