// Where an import reads the stored records of its products and writes its own: the
// installation's index file or the office's server. One run is one transaction on it, taken
// for writing at once (so that nothing another desk writes comes between the comparison and
// the write) or, for a trial, only for reading.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Format.h"
#include "platform/SeekCursor.h"

namespace indeximport {

struct StoredRecord {
  platform::Value identity;  // what update() takes to change exactly this record
  platform::DayNumber day = 0;
  std::optional<double> value;  // IndValoreMon; nullopt when Null, NaN when no number
};

class IndexTarget {
 public:
  virtual ~IndexTarget() = default;
  // Starts the run's transaction. Throws StoreError when the store cannot be locked in time.
  virtual void begin(bool forWriting) = 0;
  // Makes everything written permanent. Throws StoreError (the transaction is then rolled back).
  virtual void commit() = 0;
  // Abandons the transaction, if one is open. Never throws; also done on destruction.
  virtual void rollback() noexcept = 0;
  // Every record of `code` (as the key compares codes) with a readable date.
  virtual std::vector<StoredRecord> records(const std::string& code) = 0;
  // A new record with `value` in IndValoreMon and IndValore alike.
  virtual void insert(const std::string& code, platform::DayNumber day, double value) = 0;
  // Sets both values of the record `identity`.
  virtual void update(const platform::Value& identity, double value) = 0;
  // The store as a message names it.
  virtual std::string name() const = 0;
};

}  // namespace indeximport
