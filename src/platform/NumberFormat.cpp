// Number half of Format.h: figures to Italian text through a VB-style pattern and back.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/Format.h"

namespace platform {

namespace {

constexpr int kSignificant = 15;  // digits of a double that are shown as exact

struct NumberPattern {
  int decimals = 0;       // "0" after the "."
  int minIntDigits = 0;   // "0" before the ".": integer digits always written
  bool grouping = false;  // a "," in the integer part
};

NumberPattern readPattern(std::string_view pattern) {
  NumberPattern result;
  bool fraction = false;
  for (const char c : pattern) {
    if (c == '.') {
      fraction = true;
    } else if (c == '0') {
      ++(fraction ? result.decimals : result.minIntDigits);
    } else if (c == ',' && !fraction) {
      result.grouping = true;
    }
  }
  return result;
}

// The magnitude 0.d1d2...dcount x 10^(exponent + 1), rounded half away from zero to the
// pattern's decimals; count == 0 means it rounded to zero.
struct RoundedDigits {
  char digits[kSignificant + 1] = {};
  int count = 0;
  int exponent = 0;
};

// Rounds the 15-significant-digit decimal form of magnitude, not the binary double, so that
// 2.675 (stored as 2.67499999...) rounds to 2.68 as the user who typed it expects.
RoundedDigits roundDecimal(double magnitude, int decimals) {
  RoundedDigits result;
  if (magnitude == 0) return result;
  char text[40];
  // to_chars prints the same correctly rounded "d.ddd...e+XX" as printf's "%.14e", faster.
  const auto printed = std::to_chars(text, text + sizeof text - 1, magnitude,
                                     std::chars_format::scientific, kSignificant - 1);
  *printed.ptr = '\0';
  result.digits[0] = text[0];
  for (int i = 1; i < kSignificant; ++i) result.digits[i] = text[i + 1];
  result.exponent = std::atoi(text + kSignificant + 2);

  const long keep = static_cast<long>(result.exponent) + 1 + decimals;
  if (keep >= kSignificant) {
    result.count = kSignificant;
    return result;
  }
  if (keep < 0 || (keep == 0 && result.digits[0] < '5')) return result;  // rounds to zero
  if (keep == 0) {  // only the carry is left: one unit in the last decimal
    result.digits[0] = '1';
    result.count = 1;
    result.exponent = -decimals;
    return result;
  }
  result.count = static_cast<int>(keep);
  if (result.digits[keep] >= '5') {
    int i = result.count - 1;
    for (; i >= 0 && result.digits[i] == '9'; --i) result.digits[i] = '0';
    if (i >= 0) {
      ++result.digits[i];
    } else {  // 999.995 -> 1000.00
      result.digits[0] = '1';
      result.count = 1;
      ++result.exponent;
    }
  }
  return result;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern) {
  if (!std::isfinite(value)) return {};
  const NumberPattern format = readPattern(pattern);
  const RoundedDigits rounded = roundDecimal(std::fabs(value), format.decimals);
  // A value that rounds to zero carries no minus: "-0,000" would read as a loss to the
  // promoter and be painted red by the grids, although VB writes it.
  const bool minus = std::signbit(value) && rounded.count > 0;
  const int intDigits = rounded.count > 0 ? std::max(rounded.exponent + 1, 0) : 0;
  const int shownInt = std::max(intDigits, format.minIntDigits);
  const int separators = format.grouping && shownInt > 3 ? (shownInt - 1) / 3 : 0;
  const size_t length =
      (minus ? 1 : 0) + shownInt + separators + (format.decimals > 0 ? 1 + format.decimals : 0);

  std::string out(length, '0');
  size_t pos = 0;
  if (minus) out[pos++] = '-';
  auto digitAt = [&rounded](long index) {
    return index >= 0 && index < rounded.count ? rounded.digits[index] : '0';
  };
  for (int i = 0; i < shownInt; ++i) {
    const int fromRight = shownInt - i;
    out[pos++] = digitAt(static_cast<long>(intDigits) - fromRight);
    if (separators > 0 && fromRight > 1 && fromRight % 3 == 1) out[pos++] = '.';
  }
  if (format.decimals > 0) {
    out[pos++] = ',';
    for (int j = 0; j < format.decimals; ++j) {
      out[pos++] = digitAt(static_cast<long>(rounded.exponent) + 1 + j);
    }
  }
  return out;
}

std::optional<double> parseNumber(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  std::string plain;  // the same number in the C form from_chars reads
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    if (text[pos] == '-') plain += '-';
    ++pos;
  }
  // Integer digits, with "." between groups: 1 to 3 digits first, then exactly 3 per group.
  int digits = 0, groupLength = 0;
  bool grouped = false;
  for (; pos < text.size() && (isDigit(text[pos]) || text[pos] == '.'); ++pos) {
    if (text[pos] == '.') {
      if (groupLength == 0 || groupLength > 3 || (grouped && groupLength != 3)) return std::nullopt;
      grouped = true;
      groupLength = 0;
    } else {
      plain += text[pos];
      ++digits;
      ++groupLength;
    }
  }
  if (grouped && groupLength != 3) return std::nullopt;
  if (pos < text.size() && text[pos] == ',') {
    plain += '.';
    for (++pos; pos < text.size() && isDigit(text[pos]); ++pos, ++digits) plain += text[pos];
  }
  if (digits == 0 || pos != text.size()) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return value == 0 ? 0.0 : value;  // "-0,000" is plain zero
}

double roundThrough(double value, std::string_view pattern) {
  // The number formatNumber's text stands for, read from its digits without writing the text
  // out and parsing it back: every lookup rounds its answer so.
  if (!std::isfinite(value)) return 0.0;
  const RoundedDigits rounded = roundDecimal(std::fabs(value), readPattern(pattern).decimals);
  if (rounded.count == 0) return 0.0;
  char text[kSignificant + 16];
  char* end = text;
  if (std::signbit(value)) *end++ = '-';
  *end++ = '.';
  end = std::copy(rounded.digits, rounded.digits + rounded.count, end);
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text, rounded.exponent + 1).ptr;
  double number = 0;
  std::from_chars(text, end, number);
  return number;
}

}  // namespace platform
