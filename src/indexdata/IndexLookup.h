// What is the index value of product P on date D? The lookup with its fixed rules (products
// without a series, fixed values, on-or-before, first-after, zero records removed), over the
// shared Indici recordset and the product tables of the data database.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "platform/Format.h"
#include "platform/Store.h"

namespace indexdata {

class IndexLookup {
 public:
  // `indexTable` is the shared recordset on Indici with index "primaria" (or the index table of
  // a server, or one run's series read once); `valueFormat` the display format of index values.
  // The product and category statements are prepared once. `oneRun`: the lookup serves a single
  // run, held in one transaction on each file, during which the product tables and the records
  // do not change but for the zero records the lookup deletes, so each product's classification
  // and fixed value are read once (a zero record gives no fixed value, deleted or not).
  IndexLookup(platform::Database& dataDb, platform::SeekCursor& indexTable, std::string valueFormat,
              bool oneRun = false);

  // The index value of `product` (trimmed) on `date`, rounded through valueFormat. 0 for a blank
  // code; 1 for a product without a series (NoIndici = 1, category Tipo "S") or without any
  // usable record. Deletes the zero-valued records it meets and nothing else; a zero record it
  // cannot delete (the index database is being written by another program, or is read-only)
  // is passed over as if deleted, with the same answer. Records whose value is Null are passed
  // over as if absent and kept; a stored value too small for valueFormat answers 0. Always
  // ends. Storage errors throw StoreError.
  double indexValueAt(const std::string& product, platform::DayNumber date);
  // The value a product has on every date by rule: 1 when it has no index series (NoIndici = 1
  // or a category of Tipo "S"), its fixed value when it has a non-zero one; nullopt when its
  // series answers date by date (and for a blank code).
  std::optional<double> valueByRule(const std::string& product);
  // The forward search: the first usable record after `date`, 999999 when there is none.
  double indexValueAfter(const std::string& product, platform::DayNumber date);

  platform::SeekCursor& indexTable() { return indexTable_; }
  platform::Database& dataDb() { return dataDb_; }
  const std::string& valueFormat() const { return valueFormat_; }

 private:
  // True when the product or its category says there is no index series (answer 1).
  bool hasNoSeries(const std::string& code);
  bool readNoSeries(const std::string& code);
  // The fixed value (31/12/2199) rounded through valueFormat; 0 when there is none.
  double fixedValue(const std::string& code);
  double readFixedValue(const std::string& code);
  // The last usable value on or before `date`, else the forward search; nullopt after deleting
  // a zero record, when the whole lookup has to start again.
  std::optional<double> searchBackward(const std::string& code, platform::DayNumber date);
  // indexValueAfter on an already trimmed code.
  double searchForward(const std::string& code, platform::DayNumber date);

  platform::Database& dataDb_;
  platform::SeekCursor& indexTable_;
  std::string valueFormat_;
  bool oneRun_ = false;
  std::unordered_map<std::string, bool> noSeries_;       // oneRun_: hasNoSeries by code
  std::unordered_map<std::string, double> fixedValues_;  // oneRun_: fixedValue by code
  // Kept by the connection: a run makes a lookup of its own.
  platform::PreparedQuery& productQuery_;
  platform::PreparedQuery& categoryQuery_;
};

}  // namespace indexdata
