#include "indeximport/DateReader.h"

#include <cstring>

#include "indeximport/CsvFields.h"

namespace indeximport {

namespace {

constexpr char kSeparators[] = {'/', '-', '.'};

int separatorIndex(char c) {
  for (int i = 0; i < 3; ++i)
    if (kSeparators[i] == c) return i;
  return -1;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A run of 1 to `most` digits at `pos`; advances `pos`. -1 when there is none or it is longer.
int digits(std::string_view text, std::size_t& pos, std::size_t least, std::size_t most) {
  const std::size_t start = pos;
  int value = 0;
  while (pos < text.size() && isDigit(text[pos]) && pos - start < most + 1)
    value = value * 10 + (text[pos++] - '0');
  const std::size_t length = pos - start;
  return length < least || length > most ? -1 : value;
}

// "hh:mm" or "hh:mm:ss", with an optional fraction of a second, after a blank or a "T".
bool isTimeOfDay(std::string_view text) {
  if (text.empty()) return true;
  if (text[0] != ' ' && text[0] != 'T') return false;
  text = trimmedField(text.substr(1));
  std::size_t pos = 0;
  for (int part = 0; part < 3; ++part) {
    const int limit = part == 0 ? 23 : 59;
    const int value = digits(text, pos, 1, 2);
    if (value < 0 || value > limit) return false;
    if (pos == text.size()) return part >= 1;
    if (part == 2) break;
    if (text[pos++] != ':') return false;
  }
  if (text[pos] != '.') return false;
  ++pos;
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos == text.size();
}

struct Parts {
  char separator = 0;
  int a = -1, b = -1, c = -1;  // in written order
  bool yearFirst = false;
};

std::optional<Parts> split(std::string_view text) {
  text = trimmedField(text);
  Parts parts;
  std::size_t pos = 0;
  const std::size_t firstStart = pos;
  parts.a = digits(text, pos, 1, 4);
  if (parts.a < 0 || pos >= text.size() || separatorIndex(text[pos]) < 0) return std::nullopt;
  parts.yearFirst = pos - firstStart == 4;
  if (!parts.yearFirst && pos - firstStart > 2) return std::nullopt;
  parts.separator = text[pos++];
  parts.b = digits(text, pos, 1, 2);
  if (parts.b < 0 || pos >= text.size() || text[pos] != parts.separator) return std::nullopt;
  ++pos;
  parts.c = parts.yearFirst ? digits(text, pos, 1, 2) : digits(text, pos, 4, 4);
  if (parts.c < 0 || !isTimeOfDay(text.substr(pos))) return std::nullopt;
  return parts;
}

}  // namespace

std::string DateFormat::name() const {
  const std::string s(1, separator);
  switch (order) {
    case Order::DayMonthYear:
      return "dd" + s + "mm" + s + "yyyy";
    case Order::MonthDayYear:
      return "mm" + s + "dd" + s + "yyyy";
    case Order::YearMonthDay:
      return "yyyy" + s + "mm" + s + "dd";
  }
  return "";
}

std::optional<DateFormat> DateFormat::parse(std::string_view name) {
  for (const char separator : kSeparators) {
    for (const auto order : {Order::DayMonthYear, Order::MonthDayYear, Order::YearMonthDay}) {
      const DateFormat format{order, separator};
      if (format.name() == name) return format;
    }
  }
  return std::nullopt;
}

std::optional<DateShape> dateShape(std::string_view text) {
  const auto parts = split(text);
  if (!parts) return std::nullopt;
  DateShape shape;
  shape.separator = parts->separator;
  shape.yearFirst = parts->yearFirst;
  shape.first = parts->yearFirst ? parts->b : parts->a;
  shape.second = parts->yearFirst ? parts->c : parts->b;
  return shape;
}

void DateDecision::add(const DateShape& shape) {
  ++counts_[separatorIndex(shape.separator)][shape.yearFirst ? 1 : 0];
  if (shape.yearFirst) return;
  if (shape.first > 12 && shape.second <= 12) ++dayFirst_;
  if (shape.second > 12 && shape.first <= 12) ++monthFirst_;
}

std::optional<DateFormat> DateDecision::decide() const {
  int best = 0, bestSeparator = 0, bestYearFirst = 0;
  for (int s = 0; s < 3; ++s)
    for (int y = 0; y < 2; ++y)
      if (counts_[s][y] > best) best = counts_[s][y], bestSeparator = s, bestYearFirst = y;
  if (best == 0) return std::nullopt;
  DateFormat format;
  format.separator = kSeparators[bestSeparator];
  if (bestYearFirst)
    format.order = DateFormat::Order::YearMonthDay;
  else if (monthFirst_ > dayFirst_)
    format.order = DateFormat::Order::MonthDayYear;
  return format;
}

bool DateDecision::ambiguous() const {
  const auto format = decide();
  return format && format->order == DateFormat::Order::DayMonthYear && dayFirst_ <= monthFirst_;
}

std::optional<platform::DayNumber> readDate(std::string_view text, const DateFormat& format) {
  const auto parts = split(text);
  if (!parts || parts->separator != format.separator) return std::nullopt;
  const bool yearFirst = format.order == DateFormat::Order::YearMonthDay;
  if (parts->yearFirst != yearFirst) return std::nullopt;
  int year = parts->c, month = parts->b, day = parts->a;
  if (yearFirst) year = parts->a, month = parts->b, day = parts->c;
  if (format.order == DateFormat::Order::MonthDayYear) month = parts->a, day = parts->b;
  if (!platform::isValidDate(year, month, day)) return std::nullopt;
  return platform::dayNumber(year, month, day);
}

}  // namespace indeximport
