// Business days as the generated index series use them: Monday to Friday, no holidays (funds
// publish a value on almost every weekday, and the statistics must meet weekends in the data).
#pragma once

#include "platform/Format.h"

namespace utilities {

// True from Monday to Friday.
bool isBusinessDay(platform::DayNumber day);
// `day` itself when it is a business day, otherwise the following Monday.
platform::DayNumber firstBusinessDayFrom(platform::DayNumber day);
// The last business day strictly before `day`.
platform::DayNumber lastBusinessDayBefore(platform::DayNumber day);

}  // namespace utilities
