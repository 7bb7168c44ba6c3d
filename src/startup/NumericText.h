// How start-up reads numbers from the command line and the configuration file. A text is
// numeric when, trimmed of blanks, it is an optional sign followed by digits with at most one
// decimal separator ("." or ","), e.g. " 12 ", "-3", "2.5", "2,5". Anything else ("12abc",
// "", "1e3", "0x10") is not numeric: callers then keep or choose their default rather than
// reading a partial number out of a mistyped value.
#pragma once

#include <optional>
#include <string_view>

namespace startup {

// The value of a numeric text, or nullopt when the text is not numeric.
std::optional<double> numericValue(std::string_view text);
// `value` rounded to a whole number, a half going to the even neighbour, then clamped to
// [low, high].
int roundHalfEven(double value, int low, int high);

}  // namespace startup
