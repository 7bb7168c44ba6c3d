// The values of a price file, written the Italian way (1.234,5678) or the English way
// (1,234.5678). Which one is decided once for the whole file: a lone "1,234" could be either,
// and reading it the wrong way would store a value a thousand times off.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace indeximport {

// The decimal separator of a file: ',' (Italian, thousands '.') or '.' (English, thousands ',').
enum class DecimalStyle { Italian, English };

// What one value text tells about the file's style.
enum class NumberHint {
  None,       // no number at all
  Whole,      // digits only: either style
  Italian,    // only the Italian style reads it as written ("12,5", "1.234.567", "1.234,5")
  English,    // only the English style ("12.5", "1,234,567", "1,234.5")
  Ambiguous,  // both read it, differently: one separator before exactly three digits ("1,234")
};

NumberHint numberHint(std::string_view text);

// Decides the file's style from the hints of its values.
class NumberDecision {
 public:
  void add(NumberHint hint);
  // The style most values call for. Nullopt when it cannot be told: values that only the
  // ambiguous form decides, or as many of each style. `undecided` is false when every value is
  // a whole number (either style reads them alike: Italian is then taken).
  std::optional<DecimalStyle> decide(bool& undecided) const;

 private:
  long long italian_ = 0, english_ = 0, ambiguous_ = 0;
};

// A value read in `style`: optional sign, digits grouped by thousands separators in threes (or
// not grouped), optional decimals; blanks around it ignored. `decimals` gets the number of
// digits after the separator. Nullopt for anything else, and for numbers too long to be a price.
std::optional<double> readNumber(std::string_view text, DecimalStyle style, int& decimals);

}  // namespace indeximport
