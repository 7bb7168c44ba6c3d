#include "jet/JetField.h"

#include <cmath>
#include <cstdio>

#include "platform/Format.h"

namespace jet {

namespace {

// 01/01/0100 and 31/12/9999 as day numbers: the range of Jet's date type.
constexpr double kFirstDay = -657434;
constexpr double kLastDay = 2958465;
constexpr long long kSecondsPerDay = 86400;

}  // namespace

std::optional<std::string> jetDateText(double value) {
  if (!std::isfinite(value) || value < kFirstDay || value >= kLastDay + 1) return std::nullopt;
  const double whole = std::trunc(value);
  long long day = static_cast<long long>(whole);
  long long seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
  if (seconds == kSecondsPerDay) {
    // Rounded up to midnight: the next day, whichever side of 1899 the value lies.
    ++day;
    seconds = 0;
  }
  if (day > static_cast<long long>(kLastDay)) return std::nullopt;
  std::string text = platform::isoDate(static_cast<platform::DayNumber>(day));
  if (seconds != 0) {
    char time[64];
    std::snprintf(time, sizeof time, " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    text += time;
  }
  return text;
}

}  // namespace jet
