#include "compare/CompareLabels.h"

#include <algorithm>
#include <cstdio>

#include "indexdata/Helpers.h"
#include "platform/Format.h"
#include "statind/StatText.h"

namespace compare {

namespace {

constexpr int kNarrowScreen = 10000;  // twips

std::string twoDigits(int year) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", ((year % 100) + 100) % 100);
  return text;
}

// Which months carry their initial over a span of 4 to 7 years.
bool initialShown(int span, int month) {
  switch (span) {
    case 4:
      return month % 2 == 0;
    case 5:
      return month % 3 == 0;
    case 6:
      return month % 4 == 0;
    case 7:
      return month == 6;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::string> monthLabel(int span, int month, int year) {
  if (span >= 8) {
    if (month == 1 || month == 12) return std::string(" ");
    if (month == 2) return twoDigits(year);
    return std::nullopt;
  }
  if (month == 1) return twoDigits(year);
  const std::string initial = statind::monthName(month).substr(0, 1);
  if (span <= 3) return initial;
  if (month == 12) return std::string(" ");
  if (initialShown(span, month)) return initial;
  return std::nullopt;
}

int labelIndent(int yearCount, int usableWidth) {
  if (yearCount >= 14) return 0;
  int indent = 13 - yearCount;
  if (usableWidth < kNarrowScreen) indent = indent > 5 ? indent - 3 : 0;
  return indent;
}

std::string yearLabel(int year, int span, int indent) {
  if (span > 8) return std::string(span < 14 ? 2 : 0, ' ') + twoDigits(year);
  return std::string(static_cast<std::size_t>(std::max(indent, 0)), ' ') + std::to_string(year);
}

std::string barLegend(double change) {
  // The shortest form: no trailing zeros, no comma for a whole number.
  std::string text = platform::formatNumber(change, "#0.00");
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == ',') text.pop_back();
  if (text == "-0" || text.empty()) text = '0';
  return indexdata::padLeft(text, 5) + "%";
}

}  // namespace compare
