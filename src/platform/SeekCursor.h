// What the index lookup and the runs need of a keyed table, whatever holds it: seeks on a
// two-column key, the current record's fields, its neighbours (records of one key included),
// deleting it, one transaction held for a run, and the range read that lets a run answer its
// seeks from memory. A table of a database file and the index table of a database server both
// offer it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Format.h"

namespace platform {

// A field value: Null, whole number, real number or text.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

enum class SeekOp { Equal, LessEqual, Greater, GreaterEqual };

// A record as the store holds it: its identity (for deleting exactly it) and its fields in the
// order of the names given with it.
struct SpanRecord {
  Value identity;
  std::vector<Value> values;
};

// A record of a product's series as a run keeps it in memory: the date as a day number, the two
// values with their Null flags, the stored code by its place in SeriesSpan::codes (codes of one
// product differ at most in case) and the record's identity in the store.
struct SeriesRecord {
  std::int64_t identity = 0;
  DayNumber day = 0;
  std::uint32_t code = 0;
  bool valueMonNull = true, valueNull = true;
  double valueMon = 0, value = 0;
};

// What a range read found around the first key `key1`; see SeekCursor::readSeries. The records
// inside the span are lean; the three records found by the bounding and point seeks (which may
// belong to other products) are as the store holds them.
struct SeriesSpan {
  std::vector<std::string> names;  // of the edge records' fields
  std::vector<std::string> codes;
  std::optional<SpanRecord> before;  // what seek "<=" (key1, after) lands on
  std::vector<SeriesRecord> inside;  // key1 and after < key2 <= upTo, in the seeks' order
  std::optional<SpanRecord> beyond;  // what seek ">" (key1, upTo) lands on
  std::optional<SpanRecord> point;   // what seek "=" (key1, pointKey) lands on
};

class SeekCursor {
 public:
  // Keeps the cursor's database in one transaction while it lives (see hold()).
  class Hold {
   public:
    virtual ~Hold() = default;
  };

  virtual ~SeekCursor() = default;
  // Seeks on the two key columns. "=" lands on the first record with that key; "<=" on the
  // greatest key not above it; ">" on the least key above it; ">=" on the least key not below
  // it. Returns true on a match; false leaves no current record. Failures throw StoreError.
  virtual bool seek(SeekOp op, const Value& key1, const Value& key2) = 0;
  // What seek(op, key1, key2) lands on for each (op, key2) of `seeks` in turn: the landing's
  // fields named by `fields`, nullopt where a seek finds nothing. A server answers them all in
  // one round trip. Leaves no current record that can be relied on. Failures throw StoreError.
  virtual std::vector<std::optional<std::vector<Value>>> seekEach(
      const Value& key1, const std::vector<std::pair<SeekOp, Value>>& seeks,
      const std::vector<std::string>& fields) {
    std::vector<std::optional<std::vector<Value>>> landings;
    for (const auto& [op, key2] : seeks) {
      auto& landing = landings.emplace_back();
      if (!seek(op, key1, key2)) continue;
      landing.emplace();
      for (const std::string& name : fields) landing->push_back(field(name));
    }
    return landings;
  }
  virtual bool noMatch() const = 0;
  // A field of the current record by name (without regard to case); throws StoreError without
  // a current record or without such a field.
  virtual const Value& field(std::string_view name) const = 0;
  // The current record's identity, as deleteRecord and seekPast take it; throws StoreError
  // without a current record.
  virtual Value identity() const = 0;
  // Lands on the record that comes right after the record `identity` in the order "<=" meets
  // records (`backward`) or ">" meets them, the other records of the same key included: the
  // record such a seek would land on if that one were gone. Returns true on a match; false
  // leaves no current record (also when the record `identity` is no longer there). Failures
  // throw StoreError.
  virtual bool seekPast(const Value& identity, bool backward) = 0;
  // Deletes the current record; afterwards there is no current record. A write the store
  // refuses throws StoreError with writeRefused() true.
  virtual void deleteCurrent() = 0;
  // Deletes the record a range read returned with `identity`; nothing when it is gone already.
  virtual void deleteRecord(const Value& identity) = 0;
  // One transaction on the cursor's database until the returned object ends, so that a
  // computation takes its locks (or its server round trips for BEGIN and COMMIT) once. What it
  // changed is committed at the end, on every way out. Inside a transaction already held it
  // does nothing.
  virtual std::unique_ptr<Hold> hold() = 0;
  // Everything seeks for first key `key1` can meet between `after` and `upTo` (texts compared
  // as the key does), read at once: the record "<=" (key1, after) lands on, every record of key1
  // with after < key2 <= upTo in the seeks' order (ties as the seeks meet them), the record
  // ">" (key1, upTo) lands on, and the record "=" (key1, pointKey) lands on. The records inside
  // carry the fields IndProdotto, IndData, IndValoreMon and IndValore; their identities are
  // whole numbers that deleteRecord takes. Nullopt when a record inside cannot be held so (a
  // date that is no ISO text, a value that is no number, carried over from old files): the
  // caller then seeks. Leaves no current record.
  virtual std::optional<SeriesSpan> readSeries(const std::string& key1, const std::string& after,
                                               const std::string& upTo,
                                               const std::string& pointKey) = 0;
  // True when every statement is a round trip to a server: a run then reads its product's
  // records once (readSeries) rather than seeking record by record. A local file answers its
  // few seeks faster than a range read is copied out of it.
  virtual bool remote() const { return false; }
};

}  // namespace platform
