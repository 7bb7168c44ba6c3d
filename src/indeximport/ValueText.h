// Index values as an import shows them to a person: Italian figures ("1.234,5678") with the
// decimals the file wrote, or, for a stored value, every decimal it holds, so that two values
// that differ never look alike in a report.
#pragma once

#include <string>

namespace indeximport {

// `value` with exactly `decimals` decimals (0 to 15); "non numerico" for a value that is no
// finite number (a stored text).
std::string valueText(double value, int decimals);
// `value` with the fewest decimals that still read back as the same double (at most 15).
std::string valueText(double value);

}  // namespace indeximport
