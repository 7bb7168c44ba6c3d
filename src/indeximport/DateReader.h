// The dates of a price file: day, month and four-digit year in one of the orders people write
// them (31/01/2024, 31-1-2024, 31.01.2024, 2024-01-31, and month first as in 01/31/2024), with
// one- or two-digit days and months and, as spreadsheets add it, a time of day that is ignored.
// The order is decided once for the whole file, so that 03/04/2024 never means two different
// days in one import.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Format.h"

namespace indeximport {

struct DateFormat {
  enum class Order { DayMonthYear, MonthDayYear, YearMonthDay };
  Order order = Order::DayMonthYear;
  char separator = '/';
  // "dd/mm/yyyy", "mm-dd-yyyy", "yyyy-mm-dd"...
  std::string name() const;
  // Reads a format named as name() writes it; nullopt for anything else.
  static std::optional<DateFormat> parse(std::string_view name);
  bool operator==(const DateFormat&) const = default;
};

// What a date text looks like before the file's order is known.
struct DateShape {
  char separator = 0;
  bool yearFirst = false;
  int first = 0, second = 0;  // the two parts besides the year, as written
};

// The shape of `text`, or nullopt when it is no date in any accepted form.
std::optional<DateShape> dateShape(std::string_view text);

// Decides the file's format from the shapes of its date texts (in file order).
class DateDecision {
 public:
  void add(const DateShape& shape);
  // The separator and year position most texts use; the order by the parts above 12: a first
  // part above 12 is a day, a second part above 12 is a day too but of a month-first file.
  // With no such part (or as many of each) the order is day first and ambiguous() is true.
  // Nullopt when no date was added.
  std::optional<DateFormat> decide() const;
  // True when the decided day-first order rests on no evidence.
  bool ambiguous() const;

 private:
  int counts_[3][2] = {};  // [separator /,-,.][year first]
  int dayFirst_ = 0, monthFirst_ = 0;
};

// The day of `text` in `format`: a valid calendar date, else nullopt.
std::optional<platform::DayNumber> readDate(std::string_view text, const DateFormat& format);

}  // namespace indeximport
