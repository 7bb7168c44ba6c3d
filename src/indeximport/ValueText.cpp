#include "indeximport/ValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/Format.h"

namespace indeximport {

namespace {

constexpr int kMostDecimals = 15;

}  // namespace

std::string valueText(double value, int decimals) {
  if (!std::isfinite(value)) return "non numerico";
  decimals = std::clamp(decimals, 0, kMostDecimals);
  const std::string pattern = decimals > 0 ? "#,##0." + std::string(decimals, '0') : "#,##0";
  return platform::formatNumber(value, pattern);
}

std::string valueText(double value) {
  char text[64];
  const auto printed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  int decimals = 0;
  if (printed.ec == std::errc()) {
    const std::string_view written(text, static_cast<std::size_t>(printed.ptr - text));
    const auto point = written.find('.');
    if (point != std::string_view::npos) decimals = static_cast<int>(written.size() - point - 1);
  }
  return valueText(value, decimals);
}

}  // namespace indeximport
