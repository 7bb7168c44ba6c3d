#include "indexdata/IndexLookup.h"

#include <utility>

#include "indexdata/Helpers.h"
#include "platform/Strings.h"

namespace indexdata {

namespace {

using platform::DayNumber;
using platform::SeekOp;

constexpr double kNothingFound = 999999;
constexpr const char* kFixedValueIso = "2199-12-31";  // kFixedValueDate as stored

// Codes compare as the index collates them: without regard to (ASCII) case.
bool sameCode(std::string_view stored, const std::string& code) {
  while (!stored.empty() && stored.front() == ' ') stored.remove_prefix(1);
  while (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
  return platform::equalsNoCase(stored, code);
}

// A field's text read in place; other values as valueText writes them, into `buffer`.
std::string_view textOf(const platform::Value& value, std::string& buffer) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  buffer = platform::valueText(value);
  return buffer;
}

// The record under the cursor as the lookup sees it.
struct Record {
  enum Kind { Unusable, Blank, Zero, Usable } kind = Unusable;
  DayNumber date = 0;
  double value = 0;
};

// Classifies the current record of `cursor`. It is Unusable unless it belongs to `code` and is
// dated after `after` and on or before `upTo`, the window the search has reached (a date the
// seeks' text order put out of place ends the search). A usable record whose
// value is Null (or a text that is no number) is Blank: it carries no value, so the searches
// step over it as if it were not there, and leave it in the table.
Record inspect(platform::SeekCursor& cursor, const std::string& code, DayNumber after,
               DayNumber upTo) {
  Record record;
  std::string buffer;
  if (!sameCode(textOf(cursor.field("IndProdotto"), buffer), code)) return record;
  const auto date = platform::parseIsoDate(textOf(cursor.field("IndData"), buffer));
  if (!date || *date <= after || *date > upTo) return record;
  record.date = *date;
  const platform::Value& value = cursor.field("IndValoreMon");
  if (const auto* real = std::get_if<double>(&value)) {
    record.value = *real;
  } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
    record.value = static_cast<double>(*whole);
  } else {
    record.kind = Record::Blank;
    return record;
  }
  record.kind = record.value == 0 ? Record::Zero : Record::Usable;
  return record;
}

// Deletes the zero record under the cursor. The deletion is housekeeping: when the index
// database cannot be written now (another program is writing it, or it is read-only), the record
// stays, false is returned and the search steps over it as if it were gone. Any other failure
// throws.
bool removeZeroRecord(platform::SeekCursor& cursor) {
  try {
    cursor.deleteCurrent();
    return true;
  } catch (const platform::StoreError& e) {
    if (!e.writeRefused()) throw;
    return false;
  }
}

}  // namespace

IndexLookup::IndexLookup(platform::Database& dataDb, platform::SeekCursor& indexTable,
                         std::string valueFormat, bool oneRun)
    : dataDb_(dataDb),
      indexTable_(indexTable),
      valueFormat_(std::move(valueFormat)),
      oneRun_(oneRun),
      productQuery_(dataDb.kept(
          "SELECT NoIndici, Categoria FROM TabProdotti WHERE Codice IN (?1, cp1252(?1))")),
      categoryQuery_(
          dataDb.kept("SELECT Tipo FROM TabCategorie WHERE Codice IN (?1, cp1252(?1))")) {}

double IndexLookup::indexValueAt(const std::string& product, platform::DayNumber date) {
  const std::string code = trimBlanks(product);
  if (code.empty()) return 0;
  // One lock of each file for the whole lookup instead of one per statement.
  platform::Database::ReadScope dataScope(dataDb_);
  const auto indexHold = indexTable_.hold();
  // The product tables do not change while the lookup runs, so a restart need not read them.
  if (hasNoSeries(code)) return 1;
  for (;;) {  // one more round after each zero record deleted, so this ends with the records
    double value = fixedValue(code);
    if (value == 0) {
      const auto found = searchBackward(code, date);
      if (!found) continue;
      // Only a stored value too small for valueFormat comes back as 0 here: starting again would
      // find the same record forever, so the rounded 0 is the answer.
      if (*found == 0) return 0;
      value = *found;
    }
    if (value == kNothingFound) value = 1;
    return platform::roundThrough(value, valueFormat_);
  }
}

double IndexLookup::indexValueAfter(const std::string& product, platform::DayNumber date) {
  const std::string code = trimBlanks(product);
  if (code.empty()) return kNothingFound;
  return searchForward(code, date);
}

std::optional<double> IndexLookup::valueByRule(const std::string& product) {
  const std::string code = trimBlanks(product);
  if (code.empty()) return std::nullopt;
  if (hasNoSeries(code)) return 1.0;
  const double fixed = fixedValue(code);
  if (fixed == 0) return std::nullopt;
  return fixed == kNothingFound ? 1.0 : fixed;
}

bool IndexLookup::hasNoSeries(const std::string& code) {
  if (!oneRun_) return readNoSeries(code);
  const auto known = noSeries_.find(code);
  if (known != noSeries_.end()) return known->second;
  return noSeries_[code] = readNoSeries(code);
}

bool IndexLookup::readNoSeries(const std::string& code) {
  const auto product = productQuery_.first({code});
  if (!product) return false;
  if (nzNumber(product->at(0)) == 1) return true;
  const std::string category = trimBlanks(nzText(product->at(1)));
  if (category.empty()) return false;
  const auto row = categoryQuery_.first({category});
  return row && trimBlanks(nzText(row->at(0), "N")) == "S";
}

double IndexLookup::fixedValue(const std::string& code) {
  if (!oneRun_) return readFixedValue(code);
  const auto known = fixedValues_.find(code);
  if (known != fixedValues_.end()) return known->second;
  return fixedValues_[code] = readFixedValue(code);
}

double IndexLookup::readFixedValue(const std::string& code) {
  if (!indexTable_.seek(SeekOp::Equal, code, std::string(kFixedValueIso))) return 0;
  // A Null fixed value is no fixed value: the ordinary series answers.
  return platform::roundThrough(nzNumber(indexTable_.field("IndValoreMon")), valueFormat_);
}

// A Blank, or a zero left in place, is stepped over to the record next to it, which may carry
// the same date: a real value and a zero stored on one day must give the value, as when the
// zero could be deleted.
std::optional<double> IndexLookup::searchBackward(const std::string& code,
                                                  platform::DayNumber date) {
  DayNumber upTo = date;
  bool found = indexTable_.seek(SeekOp::LessEqual, code, platform::isoDate(date));
  while (found) {
    const Record record = inspect(indexTable_, code, platform::kNoDateLimit, upTo);
    if (record.kind == Record::Unusable) break;
    if (record.kind == Record::Usable) return record.value;
    const platform::Value here = indexTable_.identity();
    if (record.kind == Record::Zero && removeZeroRecord(indexTable_)) return std::nullopt;
    upTo = record.date;
    found = indexTable_.seekPast(here, true);
  }
  return searchForward(code, date);
}

double IndexLookup::searchForward(const std::string& code, platform::DayNumber date) {
  double value = kNothingFound;
  const DayNumber key = date > platform::kNoDateLimit ? date : platform::kNoDateLimit;
  DayNumber after = key;
  std::optional<platform::Value> steppedOver;  // the last record left in place
  const auto next = [&] {
    return steppedOver ? indexTable_.seekPast(*steppedOver, false)
                       : indexTable_.seek(SeekOp::Greater, code, platform::isoDate(key));
  };
  for (bool found = next(); found; found = next()) {
    const Record record = inspect(indexTable_, code, after, platform::kFixedValueDate - 1);
    if (record.kind == Record::Unusable) break;
    if (record.kind == Record::Usable) {
      value = record.value;
      break;
    }
    const platform::Value here = indexTable_.identity();
    // After a deletion the same search lands on the record after it.
    if (record.kind == Record::Zero && removeZeroRecord(indexTable_)) continue;
    after = record.date - 1;
    steppedOver = here;
  }
  return platform::roundThrough(value, valueFormat_);
}

}  // namespace indexdata
