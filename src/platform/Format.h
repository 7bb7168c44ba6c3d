// Calendar on serial day numbers and number formatting under Italian regional settings: the
// one place where dates and figures become text and text becomes dates and figures again.
// Day numbers count whole days from 30/12/1899 = 0 (01/01/1900 = 2, 31/12/2199 = 109574).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

using DayNumber = int;

inline constexpr DayNumber kNoDateLimit = 2;  // 01/01/1900: records on or before it carry no date
inline constexpr DayNumber kFixedValueDate = 109574;  // 31/12/2199: the fixed-value record

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

// Day number of a civil date. The date must be valid (see parseDate for checked input).
DayNumber dayNumber(int year, int month, int day);
// Civil date of a day number (proleptic Gregorian, any day number).
CivilDate civilDate(DayNumber day);
// Weekday, Monday = 1 ... Sunday = 7.
int weekday(DayNumber day);
inline constexpr int kMonday = 1;
inline constexpr int kFriday = 5;
inline constexpr int kSunday = 7;
// Last day of the month: 31/12/year for month 12, otherwise the day before 01/(month+1)/year.
DayNumber lastDayOfMonth(int month, int year);
bool isValidDate(int year, int month, int day);
// Today's date on this computer's clock.
DayNumber today();

// Strict "dd/mm/yyyy" (one- or two-digit day and month accepted, four-digit year): 31/02/2010
// is not a date. Blanks around the text are ignored.
std::optional<DayNumber> parseDate(std::string_view text);
// "YYYY-MM-DD" as stored in the databases (a time part after the date is ignored).
std::optional<DayNumber> parseIsoDate(std::string_view text);
std::string isoDate(DayNumber day);
// The day of a text exactly as isoDate writes it for years 0 to 9999, whose text order is its
// date order; nullopt for any other text.
std::optional<DayNumber> parseExactIsoDate(std::string_view text);

// VB Format emulation under Italian regional settings (thousands ".", decimals ","). Patterns:
// "#,###,###,##0." + n zeros, "###,###,##0.000", "#0.000", "#0.00", "#" for numbers, rounding
// half away from zero on the value's 15-significant-digit decimal form; "dd/mm/yyyy" and "dd"
// for day numbers.
std::string formatNumber(double value, std::string_view pattern);
std::string formatDate(DayNumber day, std::string_view pattern = "dd/mm/yyyy");

// Reads a number written with Italian regional settings ("1.234,56", "-0,5", "12"); nullopt
// when the text is not a number.
std::optional<double> parseNumber(std::string_view text);
// "Rounding through a format": formatNumber then parseNumber.
double roundThrough(double value, std::string_view pattern);

}  // namespace platform
