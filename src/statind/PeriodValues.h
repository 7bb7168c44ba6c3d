// Where the figures of a period take the product's index values from: the lookup on the shared
// database during a statistics run, or the product's records read once when a whole history is
// measured. Both answer by the same rules, so the same period code serves both.
#pragma once

#include "platform/Format.h"

namespace statind {

class PeriodValues {
 public:
  virtual ~PeriodValues() = default;
  // The product's index value on `day` (indexValueAt). Storage errors throw StoreError.
  virtual double valueAt(platform::DayNumber day) = 0;
  // The start value of a period beginning on `day`, by the chosen start rule.
  virtual double startValueAt(platform::DayNumber day) = 0;
};

}  // namespace statind
