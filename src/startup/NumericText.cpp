#include "startup/NumericText.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/Strings.h"

namespace startup {

std::optional<double> numericValue(std::string_view text) {
  std::string t = platform::trim(text, " \t");
  std::size_t pos = 0;
  if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) ++pos;
  bool digits = false;
  bool separator = false;
  for (; pos < t.size(); ++pos) {
    const char c = t[pos];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
      t[pos] = '.';
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  // from_chars ignores the process locale (a window toolkit may have set an Italian one) and
  // takes no leading '+'.
  const std::size_t start = (!t.empty() && t[0] == '+') ? 1 : 0;
  double value = 0;
  const auto [end, ec] = std::from_chars(t.data() + start, t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

int roundHalfEven(double value, int low, int high) {
  if (std::isnan(value)) return low;
  if (value <= low) return low;
  if (value >= high) return high;
  return static_cast<int>(std::nearbyint(value));  // the default rounding mode is to even
}

}  // namespace startup
