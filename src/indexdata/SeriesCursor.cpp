#include "indexdata/SeriesCursor.h"

#include <algorithm>

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
  codeColumn_ = dateColumn_ = names_.size();
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (platform::equalsNoCase(names_[i], "IndProdotto")) codeColumn_ = i;
    if (platform::equalsNoCase(names_[i], "IndData")) dateColumn_ = i;
  }
  if (codeColumn_ == names_.size() || dateColumn_ == names_.size())
    throw platform::StoreError("the index table has no IndProdotto or IndData", 0);
  entries_.reserve(span.inside.size() + 2);
  if (span.before) {
    entries_.push_back(entryOf(std::move(*span.before), Rank::Below));
    lowerEdge_ = entries_.back();
  } else {
    lowerOpen_ = true;
  }
  for (auto& record : span.inside) entries_.push_back(entryOf(std::move(record), Rank::Above));
  if (span.beyond) {
    entries_.push_back(entryOf(std::move(*span.beyond), Rank::Above));
    upperEdge_ = entries_.back();
  } else {
    upperOpen_ = true;
  }
  point_ = std::move(span.point);
}

SeriesCursor::Entry SeriesCursor::entryOf(platform::SpanRecord record, Rank otherCode) const {
  Entry entry{otherCode, std::move(record)};
  const Value& code = entry.record.values.at(codeColumn_);
  const auto* text = std::get_if<std::string>(&code);
  if (!text || !platform::equalsNoCase(*text, code_)) return entry;
  const Value& date = entry.record.values.at(dateColumn_);
  if (std::holds_alternative<std::string>(date))
    entry.rank = Rank::Text;
  else if (!platform::isNull(date))
    entry.rank = Rank::Number;
  return entry;
}

int SeriesCursor::compare(const Entry& entry, const std::string& key) const {
  switch (entry.rank) {
    case Rank::Below:
    case Rank::Number:  // numbers sort before every text
      return -1;
    case Rank::Above:
      return 1;
    case Rank::Text:
      break;
  }
  const int order = std::get<std::string>(entry.record.values[dateColumn_]).compare(key);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::optional<long> SeriesCursor::answer(SeekOp op, const std::string& key) const {
  // Memory knows every record strictly between the two edges (or without an edge, to the end).
  if (lowerEdge_ && compare(*lowerEdge_, key) >= 0) return std::nullopt;
  if (upperEdge_ && compare(*upperEdge_, key) <= 0) return std::nullopt;
  // The entries are in seek order: each answer is found by halving.
  const auto firstAbove = [&](int least) {
    return static_cast<long>(
        std::partition_point(entries_.begin(), entries_.end(),
                             [&](const Entry& e) { return compare(e, key) < least; }) -
        entries_.begin());
  };
  const long count = static_cast<long>(entries_.size());
  switch (op) {
    case SeekOp::LessEqual: {
      // The last of equal keys, as a descending seek meets them.
      const long found = firstAbove(1) - 1;
      if (found >= 0) return found;
      return lowerOpen_ ? std::optional<long>(-1) : std::nullopt;
    }
    case SeekOp::Greater:
    case SeekOp::GreaterEqual: {
      const long found = firstAbove(op == SeekOp::Greater ? 1 : 0);
      if (found < count) return found;
      return upperOpen_ ? std::optional<long>(-1) : std::nullopt;
    }
    case SeekOp::Equal: {
      const long found = firstAbove(0);
      if (found < count && compare(entries_[static_cast<std::size_t>(found)], key) == 0)
        return found;
      return -1;
    }
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
