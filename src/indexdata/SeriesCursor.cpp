#include "indexdata/SeriesCursor.h"

#include "platform/Store.h"
#include "platform/Strings.h"

namespace indexdata {

namespace {

using platform::SeekOp;
using platform::Value;

}  // namespace

SeriesCursor::SeriesCursor(platform::SeekCursor& store, const std::string& code,
                           const std::string& after, const std::string& upTo,
                           const std::string& pointKey)
    : store_(store), code_(code), pointKey_(pointKey) {
  platform::SpanRead span = store_.readSpan(code, after, upTo, pointKey);
  names_ = std::move(span.names);
  if (span.before) {
    lowerEdge_ = positionOf(*span.before, Position::Below);
    entries_.push_back({*lowerEdge_, std::move(*span.before)});
  } else {
    lowerOpen_ = true;
  }
  for (auto& record : span.inside) {
    Position position = positionOf(record, Position::Above);
    entries_.push_back({std::move(position), std::move(record)});
  }
  if (span.beyond) {
    upperEdge_ = positionOf(*span.beyond, Position::Above);
    entries_.push_back({*upperEdge_, std::move(*span.beyond)});
  } else {
    upperOpen_ = true;
  }
  point_ = std::move(span.point);
}

SeriesCursor::Position SeriesCursor::positionOf(const platform::SpanRecord& record,
                                                Position::Rank otherCode) const {
  Position position;
  position.rank = otherCode;
  const Value* code = nullptr;
  const Value* date = nullptr;
  for (std::size_t i = 0; i < names_.size() && i < record.values.size(); ++i) {
    if (platform::equalsNoCase(names_[i], "IndProdotto")) code = &record.values[i];
    if (platform::equalsNoCase(names_[i], "IndData")) date = &record.values[i];
  }
  const auto* text = code ? std::get_if<std::string>(code) : nullptr;
  if (!text || !platform::equalsNoCase(*text, code_) || !date) return position;
  if (const auto* dateText = std::get_if<std::string>(date)) {
    position.rank = Position::Text;
    position.text = *dateText;
  } else if (const auto* whole = std::get_if<std::int64_t>(date)) {
    position.rank = Position::Number;
    position.number = static_cast<double>(*whole);
  } else if (const auto* real = std::get_if<double>(date)) {
    position.rank = Position::Number;
    position.number = *real;
  }
  return position;
}

int SeriesCursor::compare(const Position& position, const std::string& key) {
  switch (position.rank) {
    case Position::Below:
    case Position::Number:  // numbers sort before every text
      return -1;
    case Position::Above:
      return 1;
    case Position::Text:
      break;
  }
  const int order = position.text.compare(key);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::optional<long> SeriesCursor::answer(SeekOp op, const std::string& key) const {
  // Memory knows every record strictly between the two edges (or without an edge, to the end).
  if (lowerEdge_ && compare(*lowerEdge_, key) >= 0) return std::nullopt;
  if (upperEdge_ && compare(*upperEdge_, key) <= 0) return std::nullopt;
  const long count = static_cast<long>(entries_.size());
  switch (op) {
    case SeekOp::LessEqual:
      // The last of equal keys, as a descending seek meets them.
      for (long i = count - 1; i >= 0; --i)
        if (compare(entries_[static_cast<std::size_t>(i)].position, key) <= 0) return i;
      return lowerOpen_ ? std::optional<long>(-1) : std::nullopt;
    case SeekOp::Greater:
    case SeekOp::GreaterEqual: {
      const int least = op == SeekOp::Greater ? 1 : 0;
      for (long i = 0; i < count; ++i)
        if (compare(entries_[static_cast<std::size_t>(i)].position, key) >= least) return i;
      return upperOpen_ ? std::optional<long>(-1) : std::nullopt;
    }
    case SeekOp::Equal:
      for (long i = 0; i < count; ++i)
        if (compare(entries_[static_cast<std::size_t>(i)].position, key) == 0) return i;
      return -1;
  }
  return std::nullopt;
}

bool SeriesCursor::seek(SeekOp op, const Value& key1, const Value& key2) {
  current_ = Current::None;
  const auto* code = std::get_if<std::string>(&key1);
  const auto* key = std::get_if<std::string>(&key2);
  if (stale_ || !code || !key || !platform::equalsNoCase(*code, code_))
    return passOn(op, key1, key2);
  if (const auto found = answer(op, *key)) {
    ++answered_;
    if (*found < 0) return false;
    current_ = Current::Memory;
    currentIndex_ = static_cast<std::size_t>(*found);
    return true;
  }
  if (op == SeekOp::Equal && *key == pointKey_ && !pointGone_) {
    ++answered_;
    if (!point_) return false;
    current_ = Current::Point;
    return true;
  }
  return passOn(op, key1, key2);
}

bool SeriesCursor::passOn(SeekOp op, const Value& key1, const Value& key2) {
  ++passedOn_;
  if (!store_.seek(op, key1, key2)) return false;
  current_ = Current::Store;
  return true;
}

const Value& SeriesCursor::field(std::string_view name) const {
  if (current_ == Current::Store) return store_.field(name);
  if (current_ == Current::None) throw platform::StoreError("no current record", 0);
  const platform::SpanRecord& record =
      current_ == Current::Point ? *point_ : entries_[currentIndex_].record;
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (platform::equalsNoCase(names_[i], name)) return record.values.at(i);
  throw platform::StoreError("no such column: " + std::string(name), 0);
}

void SeriesCursor::deleteCurrent() {
  switch (current_) {
    case Current::None:
      throw platform::StoreError("no current record", 0);
    case Current::Store:
      current_ = Current::None;
      store_.deleteCurrent();
      stale_ = true;
      return;
    case Current::Memory:
      deleteRecord(entries_[currentIndex_].record.identity);
      return;
    case Current::Point:
      deleteRecord(point_->identity);
      return;
  }
}

void SeriesCursor::deleteRecord(const Value& identity) {
  current_ = Current::None;
  store_.deleteRecord(identity);  // a refused deletion throws and memory keeps the record
  std::erase_if(entries_, [&](const Entry& entry) { return entry.record.identity == identity; });
  if (point_ && point_->identity == identity) {
    // Another record of the same key may follow it: only the store can tell now.
    point_.reset();
    pointGone_ = true;
  }
}

}  // namespace indexdata
