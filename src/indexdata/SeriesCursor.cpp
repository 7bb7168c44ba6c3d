#include "indexdata/SeriesCursor.h"

#include <algorithm>
#include <cmath>

#include "platform/Store.h"
#include "platform/Strings.h"

namespace indexdata {

namespace {

using platform::DayNumber;
using platform::SeekOp;
using platform::SeriesRecord;
using platform::SeriesSpan;
using platform::SpanRecord;
using platform::Value;

// The fields of a record inside the span, in SeriesCursor::fields_ order.
constexpr std::array<const char*, 4> kFields = {"IndProdotto", "IndData", "IndValoreMon",
                                                "IndValore"};

}  // namespace

SeriesCursor::SeriesCursor(platform::SeekCursor& store, const std::string& code,
                           const std::string& after, const std::string& upTo,
                           const std::string& pointKey)
    : store_(store), code_(code), after_(after), upTo_(upTo), pointKey_(pointKey) {
  auto span = store_.readSeries(code, after, upTo, pointKey);
  if (span)
    keep(std::move(*span));
  else
    stale_ = true;
}

void SeriesCursor::keep(SeriesSpan span) {
  names_ = std::move(span.names);
  codeColumn_ = dateColumn_ = names_.size();
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (platform::equalsNoCase(names_[i], "IndProdotto")) codeColumn_ = i;
    if (platform::equalsNoCase(names_[i], "IndData")) dateColumn_ = i;
  }
  if (codeColumn_ == names_.size() || dateColumn_ == names_.size())
    throw platform::StoreError("the index table has no IndProdotto or IndData", 0);
  if (span.before) lower_ = edgeOf(std::move(*span.before), Rank::Below);
  if (span.beyond) upper_ = edgeOf(std::move(*span.beyond), Rank::Above);
  codes_ = std::move(span.codes);
  inside_ = std::move(span.inside);
  point_ = std::move(span.point);
}

SeriesCursor::Edge SeriesCursor::edgeOf(SpanRecord record, Rank otherCode) const {
  Edge edge{otherCode, std::move(record)};
  const Value& code = edge.record.values.at(codeColumn_);
  const auto* text = std::get_if<std::string>(&code);
  if (!text || !platform::equalsNoCase(*text, code_)) return edge;
  const Value& date = edge.record.values.at(dateColumn_);
  if (std::holds_alternative<std::string>(date))
    edge.rank = Rank::Text;
  else if (!platform::isNull(date))
    edge.rank = Rank::Number;
  return edge;
}

int SeriesCursor::compare(const Edge& edge, const std::string& key) const {
  switch (edge.rank) {
    case Rank::Below:
    case Rank::Number:  // numbers sort before every text
      return -1;
    case Rank::Above:
      return 1;
    case Rank::Text:
      break;
  }
  const int order = std::get<std::string>(edge.record.values[dateColumn_]).compare(key);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::optional<SeriesCursor::Answer> SeriesCursor::answer(SeekOp op, const std::string& key) const {
  // The seeks compare texts, memory compares days: only keys whose text order is their date
  // order are answered here.
  const auto day = platform::parseExactIsoDate(key);
  if (!day) return std::nullopt;
  // Memory knows every record strictly between the two edges (or without an edge, to the end).
  if (lower_ && compare(*lower_, key) >= 0) return std::nullopt;
  if (upper_ && compare(*upper_, key) <= 0) return std::nullopt;
  const auto edge = [](const std::optional<Edge>& side, Current where) -> std::optional<Answer> {
    if (!side) return Answer{};  // no record at all on that side
    if (side->gone) return std::nullopt;
    return Answer{where};
  };
  const auto inside = [&](auto at) {
    return Answer{Current::Inside, static_cast<std::size_t>(at - inside_.begin())};
  };
  // In seek order, with ties as the store met them: the first and the one past the last record
  // of the key's day.
  const auto first = std::partition_point(inside_.begin(), inside_.end(),
                                          [&](const SeriesRecord& r) { return r.day < *day; });
  const auto past = std::partition_point(first, inside_.end(),
                                         [&](const SeriesRecord& r) { return r.day == *day; });
  switch (op) {
    case SeekOp::LessEqual:  // the last of equal keys, as a descending seek meets them
      return past != inside_.begin() ? inside(past - 1) : edge(lower_, Current::Lower);
    case SeekOp::Greater:
      return past != inside_.end() ? inside(past) : edge(upper_, Current::Upper);
    case SeekOp::GreaterEqual:
      return first != inside_.end() ? inside(first) : edge(upper_, Current::Upper);
    case SeekOp::Equal:
      return first != past ? inside(first) : Answer{};
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
    current_ = found->where;
    if (current_ == Current::Inside) landInside(found->index);
    return current_ != Current::None;
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

void SeriesCursor::landInside(std::size_t index) {
  current_ = Current::Inside;
  currentIndex_ = index;
  const SeriesRecord& record = inside_[index];
  fields_[0] = codes_.at(record.code);
  fields_[1] = platform::isoDate(record.day);
  fields_[2] = record.valueMonNull ? Value{} : Value{record.valueMon};
  fields_[3] = record.valueNull ? Value{} : Value{record.value};
}

Value SeriesCursor::identity() const {
  switch (current_) {
    case Current::Store:
      return store_.identity();
    case Current::Inside:
      return inside_[currentIndex_].identity;
    default:
      return currentRecord().identity;
  }
}

bool SeriesCursor::seekPast(const Value& identity, bool backward) {
  current_ = Current::None;
  const auto* whole = std::get_if<std::int64_t>(&identity);
  const auto at = std::find_if(inside_.begin(), inside_.end(), [&](const SeriesRecord& record) {
    return whole && record.identity == *whole;
  });
  if (stale_ || at == inside_.end()) {
    ++passedOn_;
    if (!store_.seekPast(identity, backward)) return false;
    current_ = Current::Store;
    return true;
  }
  // The neighbour inside the span, else the edge on that side, which only the store knows once
  // it has been deleted.
  const auto index = static_cast<std::size_t>(at - inside_.begin());
  if (backward ? index > 0 : index + 1 < inside_.size()) {
    ++answered_;
    landInside(backward ? index - 1 : index + 1);
    return true;
  }
  const std::optional<Edge>& edge = backward ? lower_ : upper_;
  if (edge && edge->gone)
    return passOn(backward ? SeekOp::LessEqual : SeekOp::Greater, code_, backward ? after_ : upTo_);
  ++answered_;
  if (!edge) return false;
  current_ = backward ? Current::Lower : Current::Upper;
  return true;
}

const SpanRecord& SeriesCursor::currentRecord() const {
  switch (current_) {
    case Current::Lower:
      return lower_->record;
    case Current::Upper:
      return upper_->record;
    case Current::Point:
      return *point_;
    default:
      throw platform::StoreError("no current record", 0);
  }
}

const Value& SeriesCursor::field(std::string_view name) const {
  if (current_ == Current::Store) return store_.field(name);
  if (current_ == Current::Inside) {
    for (std::size_t i = 0; i < kFields.size(); ++i)
      if (platform::equalsNoCase(kFields[i], name)) return fields_[i];
  } else {
    const SpanRecord& record = currentRecord();
    for (std::size_t i = 0; i < names_.size(); ++i)
      if (platform::equalsNoCase(names_[i], name)) return record.values.at(i);
  }
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
    case Current::Inside:
      deleteRecord(Value{inside_[currentIndex_].identity});
      return;
    default:
      deleteRecord(Value{currentRecord().identity});
  }
}

void SeriesCursor::deleteRecord(const Value& identity) {
  current_ = Current::None;
  store_.deleteRecord(identity);  // a refused deletion throws and memory keeps the record
  if (const auto* whole = std::get_if<std::int64_t>(&identity))
    std::erase_if(inside_, [&](const SeriesRecord& record) { return record.identity == *whole; });
  for (auto* edge : {&lower_, &upper_})
    if (*edge && (*edge)->record.identity == identity) (*edge)->gone = true;
  if (point_ && point_->identity == identity) {
    // Another record of the same key may follow it: only the store can tell now.
    point_.reset();
    pointGone_ = true;
  }
}

}  // namespace indexdata
