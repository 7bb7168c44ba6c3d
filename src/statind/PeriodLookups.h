// The index reads of one statistics run for one product: the lookup, the start value by the
// chosen rule and the product's own record on a day. A run asks the lookup for some days more
// than once (a month's end is also the chart's closing point); those repeats are answered from
// memory. That is safe because the lookup only ever deletes zero-valued records, which never
// changes its answer for any day: a repeated call would return the same value and delete
// nothing.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "indexdata/IndexLookup.h"
#include "statind/PeriodStatistics.h"
#include "statind/PeriodValues.h"

namespace statind {

class PeriodLookups : public PeriodValues {
 public:
  // `product` is used trimmed. The object lives for one run only.
  PeriodLookups(indexdata::IndexLookup& lookup, const std::string& product, StartRule rule);

  const std::string& product() const { return product_; }
  const std::string& valueFormat() const { return lookup_.valueFormat(); }
  // indexValueAt for the product on `day`. Storage errors throw StoreError.
  double valueAt(platform::DayNumber day) override;
  // The start value of a period beginning on `day`, by the run's rule.
  double startValueAt(platform::DayNumber day) override;
  // The value of the product's own record dated exactly `day`, when there is one and its value
  // is above 1 (lower values are not real index values); nullopt otherwise.
  std::optional<double> ownValueOn(platform::DayNumber day);

 private:
  indexdata::IndexLookup& lookup_;
  std::string product_;
  StartRule rule_;
  std::unordered_map<platform::DayNumber, double> values_;
};

// `text` without blanks (spaces and tabs) at either end.
std::string trimmed(const std::string& text);
// Whether the cursor's current record belongs to `product` (its code trimmed; codes compare
// without regard to case, as the index collates them).
bool recordBelongsTo(const platform::TableCursor& cursor, const std::string& product);

}  // namespace statind
