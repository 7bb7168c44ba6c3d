// Calendar half of Format.h: serial day numbers, date texts in both orders and today's date.
#include <cstdio>
#include <ctime>

#include "platform/Format.h"

namespace platform {

namespace {

// Days from 01/01/1970 to 30/12/1899, the origin of our day numbers.
constexpr int kEpochShift = 25569;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads between minDigits and maxDigits decimal digits at text[pos]; advances pos.
bool readNumber(std::string_view text, size_t& pos, int minDigits, int maxDigits, int& out) {
  int count = 0;
  out = 0;
  while (pos < text.size() && count < maxDigits && isDigit(text[pos])) {
    out = out * 10 + (text[pos] - '0');
    ++pos;
    ++count;
  }
  return count >= minDigits && (pos == text.size() || !isDigit(text[pos]));
}

// Writes value as exactly `width` digits (value must fit).
void putDigits(char* out, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

int floorDiv(int a, int b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

// Closed form after the well-known "days from civil" construction: eras of 400 years of
// 146097 days, years starting in March so that the leap day is the last of the year.
DayNumber dayNumber(int year, int month, int day) {
  if (month < 1 || month > 12) {  // fold an out-of-range month into the year, as a date builder
    const int shift = floorDiv(month - 1, 12);
    year += shift;
    month -= shift * 12;
  }
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int monthFromMarch = month > 2 ? month - 3 : month + 9;
  const int dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + kEpochShift;
}

CivilDate civilDate(DayNumber day) {
  const int z = day - kEpochShift + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int dayOfEra = z - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int monthFromMarch = (5 * dayOfYear + 2) / 153;
  CivilDate date;
  date.day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
  date.month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
  return date;
}

int weekday(DayNumber day) {
  // Day 0 was a Saturday (6).
  const int offset = (day + 5) % 7;
  return (offset < 0 ? offset + 7 : offset) + 1;
}

DayNumber lastDayOfMonth(int month, int year) {
  if (month == 12) return dayNumber(year, 12, 31);
  return dayNumber(year, month + 1, 1) - 1;
}

bool isValidDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

DayNumber today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::optional<DayNumber> parseDate(std::string_view text) {
  text = trimBlanks(text);
  size_t pos = 0;
  int day = 0, month = 0, year = 0;
  if (!readNumber(text, pos, 1, 2, day) || pos >= text.size() || text[pos++] != '/') {
    return std::nullopt;
  }
  if (!readNumber(text, pos, 1, 2, month) || pos >= text.size() || text[pos++] != '/') {
    return std::nullopt;
  }
  if (!readNumber(text, pos, 4, 4, year) || pos != text.size()) return std::nullopt;
  if (!isValidDate(year, month, day)) return std::nullopt;
  return dayNumber(year, month, day);
}

std::optional<DayNumber> parseIsoDate(std::string_view text) {
  // The form every stored date has, read digit by digit: a range read parses thousands.
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    int digits[8];
    int n = 0;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
      if (!isDigit(text[i])) break;
      digits[n++] = text[i] - '0';
    }
    if (n == 8) {
      const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
      const int month = digits[4] * 10 + digits[5], day = digits[6] * 10 + digits[7];
      if (!isValidDate(year, month, day)) return std::nullopt;
      return dayNumber(year, month, day);
    }
  }
  text = trimBlanks(text);
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (text.size() > 10 && text[10] != ' ' && text[10] != 'T') return std::nullopt;
  size_t pos = 0;
  int year = 0, month = 0, day = 0;
  if (!readNumber(text, pos, 4, 4, year)) return std::nullopt;
  pos = 5;
  if (!readNumber(text, pos, 2, 2, month)) return std::nullopt;
  pos = 8;
  if (!readNumber(text, pos, 2, 2, day)) return std::nullopt;
  if (!isValidDate(year, month, day)) return std::nullopt;
  return dayNumber(year, month, day);
}

std::string isoDate(DayNumber day) {
  const CivilDate date = civilDate(day);
  char text[32];
  if (date.year < 0 || date.year > 9999) {
    const int length =
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return std::string(text, static_cast<size_t>(length));
  }
  putDigits(text, date.year, 4);
  text[4] = '-';
  putDigits(text + 5, date.month, 2);
  text[7] = '-';
  putDigits(text + 8, date.day, 2);
  return std::string(text, 10);  // fits the short-string buffer: no allocation
}

std::optional<DayNumber> parseExactIsoDate(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  const auto day = parseIsoDate(text);
  if (!day || isoDate(*day) != text) return std::nullopt;
  return day;
}

std::string formatDate(DayNumber day, std::string_view pattern) {
  const CivilDate date = civilDate(day);
  if (pattern == "dd/mm/yyyy" && date.year >= 0 && date.year <= 9999) {  // every grid date
    char text[10];
    putDigits(text, date.day, 2);
    text[2] = '/';
    putDigits(text + 3, date.month, 2);
    text[5] = '/';
    putDigits(text + 6, date.year, 4);
    return std::string(text, 10);
  }
  std::string out;
  char number[16];
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    int length = -1;
    if (c == 'd' || c == 'D') {
      length = std::snprintf(number, sizeof number, run >= 2 ? "%02d" : "%d", date.day);
    } else if (c == 'm' || c == 'M') {
      length = std::snprintf(number, sizeof number, run >= 2 ? "%02d" : "%d", date.month);
    } else if (c == 'y' || c == 'Y') {
      length = run >= 3
                   ? std::snprintf(number, sizeof number, "%04d", date.year)
                   : std::snprintf(number, sizeof number, "%02d", ((date.year % 100) + 100) % 100);
    }
    if (length >= 0) {
      out.append(number, static_cast<size_t>(length));
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

}  // namespace platform
