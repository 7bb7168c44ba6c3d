#include "utilities/BusinessDays.h"

namespace utilities {

bool isBusinessDay(platform::DayNumber day) {
  return platform::weekday(day) <= 5;
}

platform::DayNumber firstBusinessDayFrom(platform::DayNumber day) {
  while (!isBusinessDay(day)) ++day;
  return day;
}

platform::DayNumber lastBusinessDayBefore(platform::DayNumber day) {
  do {
    --day;
  } while (!isBusinessDay(day));
  return day;
}

}  // namespace utilities
