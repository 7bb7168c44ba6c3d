// A price file read whole, before anything is compared with the database: its dialect, the
// columns and formats chosen for it, every value series it holds, and every line it could not
// read, with the reason. Reading never writes and never fails on the file's content: what is
// wrong with the file is in the result.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indeximport/DateReader.h"
#include "indeximport/NumberReader.h"
#include "platform/Format.h"

namespace indeximport {

// Lines listed in a report; the rest are only counted.
inline constexpr std::size_t kListedLines = 20;

// How to read the file; whatever is not set is decided from the file.
struct ReadOptions {
  bool longForm = false;             // product;date;value on every line
  std::vector<std::string> columns;  // --columns, one per value series; none: chosen
  std::optional<char> separator;
  std::optional<DateFormat> dateFormat;
  std::optional<DecimalStyle> decimal;
};

struct ReadRecord {
  platform::DayNumber day = 0;
  double value = 0;
  int decimals = 0;  // digits after the decimal separator, as written
  int line = 0;
};

struct ReadSeries {
  std::string code;  // long form: the product code as written (trimmed); otherwise ""
  std::vector<ReadRecord> records;  // in file order
};

// A record as read, for showing the first and last ones of a file before anything is written.
struct ShownRecord {
  int line = 0;
  std::string code;  // long form: as written; otherwise the series' place, from 1
  platform::DayNumber day = 0;
  double value = 0;
  int decimals = 0;
};

struct BadLine {
  int line = 0;
  std::string text;  // the line, cut to a readable length
  std::string reason;
};

struct FileRead {
  // Why the file as a whole cannot be read ("" when it can); nothing else is then meaningful
  // beyond the dialect found so far.
  std::string refusal;
  std::string encoding;  // "UTF-8", "UTF-8 con BOM", "Windows-1252"
  char separator = ';';
  bool crlf = false;
  bool header = false;
  std::string columns;  // the columns chosen, as the report names them
  std::optional<DateFormat> dateFormat;
  bool dateFormatAssumed = false;  // no date told day-first from month-first: read day-first
  std::optional<DecimalStyle> decimal;
  long long linesRead = 0;  // lines with data (header and empty lines aside)
  long long badCount = 0;
  std::vector<BadLine> badLines;        // the first kListedLines
  std::vector<ReadSeries> series;       // one per value column, or per product code in long form
  std::vector<ShownRecord> head, tail;  // the first and the last kShownRecords records read
};

inline constexpr std::size_t kShownRecords = 5;

// Reads `bytes` as a price file. Lines whose date or value cannot be read, or whose value is
// no price (0 or less, 999999 the suite's marker, not finite), are bad lines; dates must lie
// after 09/04/1900 and before 31/12/2199. Blank lines are ignored. In a file of several value
// columns a blank cell means no value of that product on that day; with one value column it
// makes the line bad.
FileRead readPriceFile(std::string bytes, const ReadOptions& options);

// "punto e virgola", "virgola", "tabulazione".
std::string separatorName(char separator);

}  // namespace indeximport
