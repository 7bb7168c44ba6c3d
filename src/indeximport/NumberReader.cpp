#include "indeximport/NumberReader.h"

#include <charconv>
#include <string>

#include "indeximport/CsvFields.h"

namespace indeximport {

namespace {

// More characters than any price needs; longer texts are refused rather than rounded.
constexpr std::size_t kMaxNumberLength = 40;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view unsigned_(std::string_view text) {
  text = trimmedField(text);
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  return text;
}

}  // namespace

NumberHint numberHint(std::string_view text) {
  text = unsigned_(text);
  if (text.empty() || text.size() > kMaxNumberLength) return NumberHint::None;
  std::size_t commas = 0, dots = 0, lastSeparator = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ',') {
      ++commas;
      lastSeparator = i;
    } else if (c == '.') {
      ++dots;
      lastSeparator = i;
    } else if (!isDigit(c)) {
      return NumberHint::None;
    }
  }
  if (commas + dots == 0) return NumberHint::Whole;
  const bool lastIsComma = text[lastSeparator] == ',';
  if (commas > 0 && dots > 0) return lastIsComma ? NumberHint::Italian : NumberHint::English;
  // One kind of separator only: more than one of it can only be thousands.
  if (commas + dots > 1) return lastIsComma ? NumberHint::English : NumberHint::Italian;
  const NumberHint asDecimal = lastIsComma ? NumberHint::Italian : NumberHint::English;
  const std::string_view whole = text.substr(0, lastSeparator);
  const std::size_t after = text.size() - lastSeparator - 1;
  // Only "1,234"-like texts can be thousands: three digits after, one to three before, not 0.
  if (after != 3 || whole.empty() || whole.size() > 3 || whole[0] == '0') return asDecimal;
  return NumberHint::Ambiguous;
}

void NumberDecision::add(NumberHint hint) {
  if (hint == NumberHint::Italian) ++italian_;
  if (hint == NumberHint::English) ++english_;
  if (hint == NumberHint::Ambiguous) ++ambiguous_;
}

std::optional<DecimalStyle> NumberDecision::decide(bool& undecided) const {
  undecided = false;
  if (italian_ > english_) return DecimalStyle::Italian;
  if (english_ > italian_) return DecimalStyle::English;
  if (italian_ == 0 && ambiguous_ == 0) return DecimalStyle::Italian;
  undecided = true;
  return std::nullopt;
}

std::optional<double> readNumber(std::string_view text, DecimalStyle style, int& decimals) {
  text = trimmedField(text);
  if (text.empty() || text.size() > kMaxNumberLength) return std::nullopt;
  const char decimal = style == DecimalStyle::Italian ? ',' : '.';
  const char thousands = style == DecimalStyle::Italian ? '.' : ',';
  std::string plain;
  std::size_t pos = 0;
  if (text[0] == '-' || text[0] == '+') {
    if (text[0] == '-') plain += '-';
    ++pos;
  }
  // Whole part: digits, grouped in threes after the first group when grouped at all.
  std::size_t groupDigits = 0, wholeDigits = 0;
  bool grouped = false;
  for (; pos < text.size() && text[pos] != decimal; ++pos) {
    const char c = text[pos];
    if (isDigit(c)) {
      plain += c;
      ++groupDigits;
      ++wholeDigits;
    } else if (c == thousands) {
      if (groupDigits == 0 || (grouped && groupDigits != 3) || (!grouped && groupDigits > 3))
        return std::nullopt;
      grouped = true;
      groupDigits = 0;
    } else {
      return std::nullopt;
    }
  }
  if (wholeDigits == 0 || (grouped && groupDigits != 3)) return std::nullopt;
  decimals = 0;
  if (pos < text.size()) {
    plain += '.';
    for (++pos; pos < text.size(); ++pos) {
      if (!isDigit(text[pos])) return std::nullopt;
      plain += text[pos];
      ++decimals;
    }
    if (decimals == 0) return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return value;
}

}  // namespace indeximport
