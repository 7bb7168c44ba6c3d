// One value of a Jet row as the copy hands it to SQLite: Null, a whole number, a number, a text
// (UTF-8) or bytes. Reused from row to row so that a text keeps its buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jet {

struct JetField {
  enum class Kind { Null, Integer, Real, Text, Blob };
  Kind kind = Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string bytes;  // the text or the bytes
};

// A Jet date and time (days since 30/12/1899, the fraction the time of day; before that day the
// whole part counts back and the fraction still forward) as "YYYY-MM-DD", or "YYYY-MM-DD
// HH:MM:SS" when the time, to the nearest second, is not midnight. Nullopt for a value outside
// the years 100 to 9999 that Jet can hold, or not a number.
std::optional<std::string> jetDateText(double value);

}  // namespace jet
