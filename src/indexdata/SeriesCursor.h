// One product's index records over the span a run can touch, read once, behind the same cursor
// the lookup seeks on. A seek whose answer lies in what was read is answered from memory, with
// the store's own order and ties; any other seek goes to the store. So every rule of the lookup
// runs unchanged and answers exactly as on the store, while a run costs one range read instead
// of a few statements per lookup. Deletions go to the store at once, inside the run's
// transaction, exactly where the lookup makes them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/SeekCursor.h"

namespace indexdata {

class SeriesCursor : public platform::SeekCursor {
 public:
  // Reads, through `store`, what seeks with first key `code` can meet for second keys after
  // `after` up to `upTo`, and the record of `pointKey` (ISO texts). When the store cannot hand
  // the records over (SeekCursor::readSeries), it answers every seek itself. Storage errors
  // throw.
  SeriesCursor(platform::SeekCursor& store, const std::string& code, const std::string& after,
               const std::string& upTo, const std::string& pointKey);

  bool seek(platform::SeekOp op, const platform::Value& key1, const platform::Value& key2) override;
  bool noMatch() const override { return current_ == Current::None; }
  // A record answered from inside the span has the fields IndProdotto, IndData, IndValoreMon
  // and IndValore.
  const platform::Value& field(std::string_view name) const override;
  platform::Value identity() const override;
  // From a record inside the span, answered from memory; from any other, by the store.
  bool seekPast(const platform::Value& identity, bool backward) override;
  void deleteCurrent() override;
  void deleteRecord(const platform::Value& identity) override;
  std::unique_ptr<Hold> hold() override { return store_.hold(); }
  std::optional<platform::SeriesSpan> readSeries(const std::string& key1, const std::string& after,
                                                 const std::string& upTo,
                                                 const std::string& pointKey) override {
    return store_.readSeries(key1, after, upTo, pointKey);
  }

  bool remote() const override { return store_.remote(); }
  // Seeks answered from memory and seeks passed on to the store, for tests and benchmarks.
  long long answered() const { return answered_; }
  long long passedOn() const { return passedOn_; }

 private:
  // Where an edge record sits in the seek order relative to keys of `code_`: before them
  // (another code), at a number date, at its text date (the record's IndData), or after them.
  enum class Rank { Below, Number, Text, Above };
  struct Edge {
    Rank rank = Rank::Text;
    platform::SpanRecord record;
    bool gone = false;  // deleted: only the store knows what lies there now
  };
  enum class Current { None, Inside, Lower, Upper, Point, Store };
  struct Answer {
    Current where = Current::None;
    std::size_t index = 0;
  };

  void keep(platform::SeriesSpan span);
  Edge edgeOf(platform::SpanRecord record, Rank otherCode) const;
  // <0, 0, >0 as `edge` sorts before, with or after the key (code_, key).
  int compare(const Edge& edge, const std::string& key) const;
  // The answer from memory, or nullopt when memory cannot tell.
  std::optional<Answer> answer(platform::SeekOp op, const std::string& key) const;
  bool passOn(platform::SeekOp op, const platform::Value& key1, const platform::Value& key2);
  // Makes the record inside_[index] the current one.
  void landInside(std::size_t index);
  const platform::SpanRecord& currentRecord() const;

  platform::SeekCursor& store_;
  std::string code_;
  std::string after_, upTo_;        // the span read
  std::vector<std::string> names_;  // of the edge and point records
  std::size_t codeColumn_ = 0, dateColumn_ = 0;
  std::vector<std::string> codes_;
  // Every record strictly between the edges (the records the bounding seeks landed on), in seek
  // order. A missing edge means no record at all on that side.
  std::vector<platform::SeriesRecord> inside_;
  std::optional<Edge> lower_, upper_;
  std::string pointKey_;
  std::optional<platform::SpanRecord> point_;
  bool pointGone_ = false;  // the record of pointKey_ was deleted
  bool stale_ = false;      // memory cannot answer: everything goes to the store
  Current current_ = Current::None;
  std::size_t currentIndex_ = 0;
  std::array<platform::Value, 4> fields_;  // of the current record inside the span
  long long answered_ = 0, passedOn_ = 0;
};

}  // namespace indexdata
