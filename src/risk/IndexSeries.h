// A product's index records read in one range read, and the index lookup's answers given from
// them. Measuring a whole history takes thousands of values; one read of the product's records
// serves them all, where a lookup per day would cost a round trip each. Nothing is written: the
// zero records the lookup would delete are passed over, which leaves every answer unchanged.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "statind/PeriodStatistics.h"
#include "statind/PeriodValues.h"

namespace risk {

struct SeriesPoint {
  platform::DayNumber date = 0;
  double value = 0;
};

class IndexSeries : public statind::PeriodValues {
 public:
  // Reads every record of `product` (trimmed; codes compare as the index collates them) in date
  // order, and the value the product has by rule, holding each file's lock once. `rule` is the
  // start-value rule of startValueAt. Storage errors throw StoreError.
  static IndexSeries read(indexdata::IndexLookup& lookup, const std::string& product,
                          statind::StartRule rule);

  // The points the risk figures use, in date order: the records dated after 01/01/1900 and
  // before 31/12/2199 whose value is a positive number other than 999999, as stored. A product
  // whose index is fixed by rule has its rule's value on each of those dates.
  const std::vector<SeriesPoint>& usable() const { return usable_; }
  // The value the product has on every date by rule (no series, or a fixed value); nullopt
  // when its records answer date by date.
  std::optional<double> valueByRule() const { return byRule_; }

  // indexValueAt of the product on `day`, rounded through the value format.
  double valueAt(platform::DayNumber day) override;
  // The start value by the rule: the first record on or after `day` as stored (0 when there is
  // none), or valueAt under "indice precedente"; the rule's value for a product fixed by rule.
  double startValueAt(platform::DayNumber day) override;

 private:
  struct Record {
    platform::DayNumber date = 0;
    std::optional<double> number;  // nullopt for Null or a text: the lookup passes over it
    double startNumber = 0;        // the value as the start rule reads it (nzNumber)
  };

  IndexSeries(std::vector<Record> records, std::optional<double> byRule, std::string valueFormat,
              statind::StartRule rule);
  // The value the lookup would answer, before rounding: the last record on or before `day`,
  // else the first one after it, else 999999.
  double searched(platform::DayNumber day) const;

  std::vector<Record> records_;    // every dated record, in date order
  std::vector<Record> answering_;  // those the lookup can answer with
  std::vector<SeriesPoint> usable_;
  std::optional<double> byRule_;
  std::string valueFormat_;
  statind::StartRule rule_;
};

}  // namespace risk
