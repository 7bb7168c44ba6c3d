#include "indeximport/SeriesPlan.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace indeximport {

long long mergeRepeats(std::vector<ReadRecord>& records, const std::string& code,
                       std::vector<RepeatedDate>& repeated, long long& repeatedCount) {
  std::stable_sort(records.begin(), records.end(),
                   [](const ReadRecord& a, const ReadRecord& b) { return a.day < b.day; });
  long long merged = 0;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (kept > 0 && records[kept - 1].day == records[i].day) {
      const ReadRecord& first = records[kept - 1];
      if (first.value == records[i].value) {
        ++merged;
      } else {
        ++repeatedCount;
        if (repeated.size() < kListedLines)
          repeated.push_back(
              {code, first.day, records[i].line, first.line, records[i].value, first.value});
      }
      continue;
    }
    records[kept++] = records[i];
  }
  records.resize(kept);
  return merged;
}

bool sameValue(double stored, double value, int decimals) {
  // Beyond twelve places a double no longer holds the digits of a price apart.
  const double scale = std::pow(10.0, std::min(decimals, 12));
  return std::round(stored * scale) == std::round(value * scale);
}

SeriesPlan planSeries(const std::vector<ReadRecord>& records, std::vector<StoredRecord> stored,
                      bool overwrite) {
  std::sort(stored.begin(), stored.end(),
            [](const StoredRecord& a, const StoredRecord& b) { return a.day < b.day; });
  SeriesPlan plan;
  auto at = stored.begin();
  for (const ReadRecord& record : records) {
    while (at != stored.end() && at->day < record.day) ++at;
    auto end = at;
    while (end != stored.end() && end->day == record.day) ++end;
    if (at == end) {
      ++plan.added;
      plan.inserts.push_back(&record);
      continue;
    }
    // Several records of one date (the file allows it) are left alone when none differs; one
    // that differs is a conflict; records with no value give way to the file's.
    bool anyValue = false;
    std::optional<double> differing;
    for (auto it = at; it != end; ++it) {
      if (!it->value || *it->value == 0) continue;
      anyValue = true;
      if (!differing && !sameValue(*it->value, record.value, record.decimals))
        differing = *it->value;
    }
    if (anyValue && !differing) {
      ++plan.unchanged;
    } else if (!differing || overwrite) {
      ++plan.replaced;
      for (auto it = at; it != end; ++it) plan.updates.emplace_back(it->identity, record.value);
    } else {
      ++plan.conflicts;
      if (plan.conflictList.size() < kListedLines)
        plan.conflictList.push_back({record.day, *differing, record.value, record.line});
    }
    at = end;
  }
  return plan;
}

}  // namespace indeximport
