// One product's index records over the span a run can touch, read once, behind the same cursor
// the lookup seeks on. A seek whose answer lies in what was read is answered from memory, with
// the store's own order and ties; any other seek goes to the store. So every rule of the lookup
// runs unchanged and answers exactly as on the store, while a run costs one range read instead
// of a few statements per lookup. Deletions go to the store at once, inside the run's
// transaction, exactly where the lookup makes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/SeekCursor.h"

namespace indexdata {

class SeriesCursor : public platform::SeekCursor {
 public:
  // Reads, through `store`, what seeks with first key `code` can meet for second keys after
  // `after` up to `upTo`, and the record of `pointKey` (ISO texts). Storage errors throw.
  SeriesCursor(platform::SeekCursor& store, const std::string& code, const std::string& after,
               const std::string& upTo, const std::string& pointKey);

  bool seek(platform::SeekOp op, const platform::Value& key1, const platform::Value& key2) override;
  bool noMatch() const override { return current_ == Current::None; }
  const platform::Value& field(std::string_view name) const override;
  void deleteCurrent() override;
  void deleteRecord(const platform::Value& identity) override;
  std::unique_ptr<Hold> hold() override { return store_.hold(); }
  platform::SpanRead readSpan(const std::string& key1, const std::string& after,
                              const std::string& upTo, const std::string& pointKey) override {
    return store_.readSpan(key1, after, upTo, pointKey);
  }

  bool remote() const override { return store_.remote(); }
  // Seeks answered from memory and seeks passed on to the store, for tests and benchmarks.
  long long answered() const { return answered_; }
  long long passedOn() const { return passedOn_; }

 private:
  // Where a record sits in the seek order relative to keys of `code_`: before them (another
  // code), at a number date, at its text date (the record's IndData), or after them.
  enum class Rank { Below, Number, Text, Above };
  struct Entry {
    Rank rank = Rank::Text;
    platform::SpanRecord record;
  };
  enum class Current { None, Memory, Point, Store };

  Entry entryOf(platform::SpanRecord record, Rank otherCode) const;
  // <0, 0, >0 as `entry` sorts before, with or after the key (code_, key).
  int compare(const Entry& entry, const std::string& key) const;
  // The answer from memory: the entry index, -1 for "no record", nullopt when memory cannot
  // tell.
  std::optional<long> answer(platform::SeekOp op, const std::string& key) const;
  bool passOn(platform::SeekOp op, const platform::Value& key1, const platform::Value& key2);

  platform::SeekCursor& store_;
  std::string code_;
  std::vector<std::string> names_;
  std::size_t codeColumn_ = 0, dateColumn_ = 0;
  // Known records in seek order: what was read between the two edges, and the edges themselves
  // (the records the bounding seeks landed on). Every record strictly between the edges is here.
  std::vector<Entry> entries_;
  bool lowerOpen_ = false;  // no record at all before the span: nothing to find below
  bool upperOpen_ = false;  // no record at all after the span
  std::optional<Entry> lowerEdge_, upperEdge_;  // their ranks and keys
  std::string pointKey_;
  std::optional<platform::SpanRecord> point_;
  bool pointGone_ = false;  // the record of pointKey_ was deleted
  bool stale_ = false;      // the store deleted a record memory may hold: everything goes there
  Current current_ = Current::None;
  std::size_t currentIndex_ = 0;
  long long answered_ = 0, passedOn_ = 0;
};

}  // namespace indexdata
