// What an import does to one product's series: each date of the file compared with what is
// stored. A date not stored is added; one stored with the same value (to the file's own
// precision) is left alone; one stored with another value is a conflict, left as stored unless
// the user asked to overwrite. A record stored with no value (Null, or the suite's 0 "to be
// deleted") holds nothing to lose and takes the file's value.
#pragma once

#include <string>
#include <vector>

#include "indeximport/FileRead.h"
#include "indeximport/IndexTarget.h"

namespace indeximport {

// The same date twice in the file with different values.
struct RepeatedDate {
  std::string code;
  platform::DayNumber day = 0;
  int line = 0, earlierLine = 0;
  double value = 0, earlierValue = 0;
};

// A date whose stored value differs from the file's.
struct Conflict {
  platform::DayNumber day = 0;
  double stored = 0, file = 0;
  int line = 0;
};

struct SeriesPlan {
  long long added = 0, unchanged = 0, replaced = 0, conflicts = 0;
  std::vector<Conflict> conflictList;  // the first kListedLines
  std::vector<const ReadRecord*> inserts;
  std::vector<std::pair<platform::Value, double>> updates;  // stored identity, new value
};

// Sorts `records` by date and merges a date repeated with the same value into its first line.
// Each date repeated with another value is appended to `repeated` (the first kListedLines;
// `repeatedCount` counts them all). Returns the number of equal repeats merged.
long long mergeRepeats(std::vector<ReadRecord>& records, const std::string& code,
                       std::vector<RepeatedDate>& repeated, long long& repeatedCount);

// Compares `records` (sorted, without repeats) with `stored` (any order).
SeriesPlan planSeries(const std::vector<ReadRecord>& records, std::vector<StoredRecord> stored,
                      bool overwrite);

// True when `stored`, rounded to `decimals` places, is `value`.
bool sameValue(double stored, double value, int decimals);

}  // namespace indeximport
