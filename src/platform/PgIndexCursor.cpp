#include "platform/PgIndexCursor.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "platform/Strings.h"

namespace platform {

namespace {

const std::vector<std::string> kNames = {"IndProdotto", "IndData", "IndValoreMon", "IndValore"};

// The key as the file's index collates it: codes folded to lower case in ASCII only (the "C"
// collation leaves other letters alone, as the file does) and compared byte by byte.
#define STATIND_KEY R"(lower(indprodotto COLLATE "C"))"
#define STATIND_WANTED R"(lower($1::text COLLATE "C"))"
// Cast, so that a column changed on the server after the opening's check still reads as the
// binary forms below expect (a cast to the column's own type costs nothing).
#define STATIND_FIELDS \
  "ctid, indprodotto::text, inddata::date, indvaloremon::float8, indvalore::float8"

// What a seek `op` looks for, with the second key in parameter `date` ("$2"): its condition and
// its order, of which it takes the first record.
std::string seekClauses(SeekOp op, const std::string& date) {
  // Appended piece by piece: GCC 12 warns falsely on long chains of string additions.
  std::string text;
  const auto add = [&text](std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) text.append(piece);
  };
  const std::string day = date + "::date";
  switch (op) {
    case SeekOp::Equal:
      add({STATIND_KEY " = " STATIND_WANTED " AND inddata = ", day,
           " ORDER BY " STATIND_KEY ", inddata"});
      break;
    case SeekOp::LessEqual:
      add({"(" STATIND_KEY ", inddata) <= (" STATIND_WANTED ", ", day,
           ") ORDER BY " STATIND_KEY " DESC, inddata DESC"});
      break;
    case SeekOp::Greater:
      add({"(" STATIND_KEY ", inddata) > (" STATIND_WANTED ", ", day,
           ") ORDER BY " STATIND_KEY ", inddata"});
      break;
    case SeekOp::GreaterEqual:
      add({"(" STATIND_KEY ", inddata) >= (" STATIND_WANTED ", ", day,
           ") ORDER BY " STATIND_KEY ", inddata"});
      break;
  }
  return text;
}

const std::string& seekSql(SeekOp op) {
  static const std::array<std::string, 4> statements = [] {
    std::array<std::string, 4> texts;
    for (const SeekOp each :
         {SeekOp::Equal, SeekOp::LessEqual, SeekOp::Greater, SeekOp::GreaterEqual})
      texts[static_cast<std::size_t>(each)]
          .append("SELECT " STATIND_FIELDS " FROM indici WHERE ")
          .append(seekClauses(each, "$2"))
          .append(" LIMIT 1");
    return texts;
  }();
  return statements[static_cast<std::size_t>(op)];
}

// Several seeks of one key in one statement: each landing with its place among them.
std::string seeksSql(const std::vector<std::pair<SeekOp, Value>>& seeks) {
  std::string sql = "SELECT part, " STATIND_FIELDS " FROM (";
  for (std::size_t i = 0; i < seeks.size(); ++i) {
    if (i) sql.append(" UNION ALL ");
    sql.append("(SELECT ").append(std::to_string(i));
    sql.append(" AS part, " STATIND_FIELDS " FROM indici WHERE ");
    std::string place = "$";
    place.append(std::to_string(i + 2));
    sql.append(seekClauses(seeks[i].first, place)).append(" LIMIT 1)");
  }
  return sql.append(") AS landings");
}

// The parts of a range read: what the bounding seeks land on (0 and 2), the records between
// them (1) and the record of the point key (3). Ties of a key in physical order, as the index
// holds them.
#define STATIND_PART_0                                                    \
  "(SELECT 0 AS part, " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY \
  ", inddata) <= (" STATIND_WANTED ", $2::date) ORDER BY " STATIND_KEY    \
  " DESC, inddata DESC LIMIT 1)"
#define STATIND_INSIDE                                   \
  " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED \
  " AND inddata > $2::date AND inddata <= $3::date"
#define STATIND_PARTS_2_3                                                                         \
  "(SELECT 2, " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY ", inddata) > (" STATIND_WANTED \
  ", $3::date) ORDER BY " STATIND_KEY ", inddata LIMIT 1) UNION ALL (SELECT 3, " STATIND_FIELDS   \
  " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED                                          \
  " AND inddata = $4::date ORDER BY " STATIND_KEY ", inddata LIMIT 1)"

// The range read, unordered: the server's sort of thousands of records costs more
// than the client's check that they came in order (they almost always do). Prepared once per
// connection: planning it costs the server more than running it. (Sending the records as
// arrays, one row in all, spares the client's memory but costs the server twice the time.)
const char* const kSeriesSql = "SELECT part, " STATIND_FIELDS " FROM (" STATIND_PART_0
                               " UNION ALL (SELECT 1, " STATIND_FIELDS STATIND_INSIDE
                               ") UNION ALL " STATIND_PARTS_2_3 ") AS span";

const char* const kSeriesName = "statind_series";

// The columns of indici with their types (none when there is no such table).
const char* const kColumnsSql =
    "SELECT a.attname::text, format_type(a.atttypid, NULL) FROM pg_attribute a WHERE "
    "a.attrelid = to_regclass('indici') AND a.attnum > 0 AND NOT a.attisdropped";

// The neighbours of a record (key $1, date $2, address $3): the next record of the same key in
// physical order (as the index holds ties), else the nearest record of another key.
const std::array<const char*, 2> kPastSql = {
    "SELECT " STATIND_FIELDS " FROM ((SELECT 0 AS part, " STATIND_FIELDS
    " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED
    " AND inddata = $2::date AND ctid > $3::tid ORDER BY ctid LIMIT 1) UNION "
    "ALL (SELECT 1, " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY
    ", inddata) > (" STATIND_WANTED ", $2::date) ORDER BY " STATIND_KEY
    ", inddata LIMIT 1)) AS near ORDER BY part LIMIT 1",
    "SELECT " STATIND_FIELDS " FROM ((SELECT 0 AS part, " STATIND_FIELDS
    " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED
    " AND inddata = $2::date AND ctid < $3::tid ORDER BY ctid DESC LIMIT 1) "
    "UNION ALL (SELECT 1, " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY
    ", inddata) < (" STATIND_WANTED ", $2::date) ORDER BY " STATIND_KEY
    " DESC, inddata DESC LIMIT 1)) AS near ORDER BY part LIMIT 1"};

const char* const kDeleteSql =
    "DELETE FROM indici WHERE ctid = (SELECT ctid FROM indici WHERE ctid = $1::tid AND "
    "indvaloremon = 0 FOR UPDATE SKIP LOCKED)";

#undef STATIND_KEY
#undef STATIND_WANTED
#undef STATIND_FIELDS
#undef STATIND_PART_0
#undef STATIND_INSIDE
#undef STATIND_PARTS_2_3

// A row of the statements above from column `from` on: identity, then the four fields.
SpanRecord recordOf(const Row& row, std::size_t from) {
  SpanRecord record{row.at(from), {}};
  for (std::size_t i = from + 1; i < row.size(); ++i) record.values.push_back(row.at(i));
  return record;
}

// The server's binary forms: whole numbers in network byte order, dates as days from
// 2000-01-01, a record address (tid) as block and offset.
std::uint64_t bigEndian(std::string_view bytes) {
  std::uint64_t number = 0;
  for (const char byte : bytes) number = (number << 8) | static_cast<unsigned char>(byte);
  return number;
}

double binaryReal(std::string_view bytes) {
  const std::uint64_t bits = bigEndian(bytes);
  double real = 0;
  std::memcpy(&real, &bits, sizeof real);
  return real;
}

DayNumber binaryDay(std::string_view bytes) {
  static const DayNumber epoch = dayNumber(2000, 1, 1);
  return static_cast<DayNumber>(static_cast<std::int32_t>(bigEndian(bytes))) + epoch;
}

// A tid as one whole number (block above, offset in the low 16 bits) and back as the server's
// text.
std::int64_t binaryTid(std::string_view bytes) {
  return static_cast<std::int64_t>((bigEndian(bytes.substr(0, 4)) << 16) |
                                   bigEndian(bytes.substr(4, 2)));
}

// A record's identity as the server's text of its address: a seek gives that text already, a
// range read the whole number.
Value tidOf(const Value& identity) {
  const auto* whole = std::get_if<std::int64_t>(&identity);
  if (!whole) return identity;
  std::string text(1, '(');
  text += std::to_string(*whole >> 16);
  text += ',';
  text += std::to_string(*whole & 0xFFFF);
  text += ')';
  return text;
}

// A record of the binary read in the generic form, as the text read would give it.
SpanRecord binaryRecord(const PgConnection::RawRow& row) {
  SpanRecord record{binaryTid(row.bytes(1)), {}};
  record.values.reserve(kNames.size());
  record.values.emplace_back(std::string(row.bytes(2)));
  const auto days = static_cast<std::int32_t>(bigEndian(row.bytes(3)));
  record.values.emplace_back(days == INT32_MAX   ? std::string("infinity")
                             : days == INT32_MIN ? std::string("-infinity")
                                                 : isoDate(binaryDay(row.bytes(3))));
  for (const int column : {4, 5}) {
    record.values.emplace_back();
    if (!row.isNull(column)) record.values.back() = binaryReal(row.bytes(column));
  }
  return record;
}

class ServerHold : public SeekCursor::Hold {
 public:
  explicit ServerHold(PgConnection& db) : transaction_(db) {}

 private:
  PgConnection::Transaction transaction_;
};

}  // namespace

PgIndexCursor::PgIndexCursor(PgConnection& connection) : db_(connection) {
  // The columns' check and the run's statement go to the server together.
  std::string prepareFailure;
  checkColumns(db_, db_.runAndPrepare(kColumnsSql, kSeriesName, kSeriesSql, prepareFailure), false);
  if (!prepareFailure.empty()) throw StoreError(prepareFailure, 0);
}

void PgIndexCursor::checkColumns(PgConnection& connection, bool forCopy) {
  checkColumns(connection, connection.run(kColumnsSql), forCopy);
}

void PgIndexCursor::checkColumns(PgConnection& connection, const std::vector<Row>& rows,
                                 bool forCopy) {
  struct Column {
    const char* name;
    std::vector<std::string> types;  // as format_type names them, without a length
    const char* needed;
  };
  const std::vector<std::string> values =
      forCopy
          ? std::vector<std::string>{"double precision"}
          : std::vector<std::string>{"double precision", "real", "integer", "smallint", "numeric"};
  const char* neededValues =
      forCopy ? "double precision" : "double precision, real, integer, smallint o numeric";
  const std::vector<Column> wanted = {{"indprodotto", {"text", "character varying"}, "text"},
                                      {"inddata", {"date"}, "date"},
                                      {"indvaloremon", values, neededValues},
                                      {"indvalore", values, neededValues}};
  if (rows.empty())
    throw StoreError("relation \"indici\" does not exist (" + connection.name() + ")", 0);
  std::string wrong;
  for (const Column& column : wanted) {
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const Row& row) {
      return valueText(row.at(0)) == column.name;
    });
    const std::string type = found == rows.end() ? "" : valueText(found->at(1));
    if (std::find(column.types.begin(), column.types.end(), type) != column.types.end()) continue;
    wrong += (wrong.empty() ? "" : ", ") + std::string(column.name) + " " +
             (type.empty() ? "mancante" : type) + " (serve " + column.needed + ")";
  }
  if (!wrong.empty())
    throw StoreError("la tabella indici di " + connection.name() +
                         " non può contenere esattamente gli indici: " + wrong,
                     0);
}

void PgIndexCursor::createSchema(PgConnection& connection) {
  connection.run(
      "CREATE TABLE IF NOT EXISTS indici (indprodotto text NOT NULL, inddata date NOT NULL, "
      "indvaloremon double precision, indvalore double precision)");
  connection.run(
      "CREATE INDEX IF NOT EXISTS indici_primaria ON indici (lower(indprodotto COLLATE \"C\"), "
      "inddata)");
}

bool PgIndexCursor::seek(SeekOp op, const Value& key1, const Value& key2) {
  hasCurrent_ = false;
  return land(db_.run(seekSql(op), {valueText(key1), key2}));
}

std::vector<std::optional<std::vector<Value>>> PgIndexCursor::seekEach(
    const Value& key1, const std::vector<std::pair<SeekOp, Value>>& seeks,
    const std::vector<std::string>& fields) {
  hasCurrent_ = false;
  std::vector<Value> params = {valueText(key1)};
  for (const auto& [op, key2] : seeks) params.push_back(key2);
  std::vector<std::optional<std::vector<Value>>> landings(seeks.size());
  for (const Row& row : db_.run(seeksSql(seeks), params)) {
    const SpanRecord record = recordOf(row, 1);
    auto& landing = landings.at(static_cast<std::size_t>(std::get<std::int64_t>(row.at(0))));
    landing.emplace();
    for (const std::string& name : fields) {
      const auto at = std::find_if(kNames.begin(), kNames.end(), [&](const std::string& known) {
        return equalsNoCase(known, name);
      });
      if (at == kNames.end()) throw StoreError("no such column: " + name, 0);
      landing->push_back(record.values[static_cast<std::size_t>(at - kNames.begin())]);
    }
  }
  return landings;
}

bool PgIndexCursor::land(const std::vector<Row>& rows) {
  hasCurrent_ = false;
  if (rows.empty()) return false;
  SpanRecord record = recordOf(rows.front(), 0);
  identity_ = std::move(record.identity);
  current_ = std::move(record.values);
  hasCurrent_ = true;
  return true;
}

Value PgIndexCursor::identity() const {
  if (!hasCurrent_) throw StoreError("no current record", 0);
  return identity_;
}

bool PgIndexCursor::seekPast(const Value& identity, bool backward) {
  hasCurrent_ = false;
  const Value tid = tidOf(identity);
  const auto here =
      db_.run("SELECT indprodotto::text, inddata::text FROM indici WHERE ctid = $1::tid", {tid});
  if (here.empty()) return false;
  return land(db_.run(kPastSql[backward ? 1 : 0], {here.front().at(0), here.front().at(1), tid}));
}

const Value& PgIndexCursor::field(std::string_view name) const {
  if (!hasCurrent_) throw StoreError("no current record", 0);
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (equalsNoCase(kNames[i], name)) return current_[i];
  throw StoreError("no such column: " + std::string(name), 0);
}

void PgIndexCursor::deleteCurrent() {
  if (!hasCurrent_) throw StoreError("no current record", 0);
  deleteRecord(identity_);
}

void PgIndexCursor::deleteRecord(const Value& identity) {
  hasCurrent_ = false;
  const Value tid = tidOf(identity);
  if (!db_.inTransaction()) {
    db_.run(kDeleteSql, {tid});
    return;
  }
  // A refused deletion must not end the run's transaction with it.
  db_.run("SAVEPOINT statind_delete");
  try {
    db_.run(kDeleteSql, {tid});
  } catch (const StoreError&) {
    db_.run("ROLLBACK TO SAVEPOINT statind_delete");
    throw;
  }
}

std::unique_ptr<SeekCursor::Hold> PgIndexCursor::hold() {
  return std::make_unique<ServerHold>(db_);
}

std::optional<SeriesSpan> PgIndexCursor::readSeries(const std::string& key1,
                                                    const std::string& after,
                                                    const std::string& upTo,
                                                    const std::string& pointKey) {
  hasCurrent_ = false;
  SeriesSpan span;
  span.names = kNames;
  // The records of a long comparison run to thousands: read in binary form, the records inside
  // cost no parsing and no allocation of their own.
  db_.scanPrepared(
      kSeriesName, {key1, after, upTo, pointKey},
      [&](const PgConnection::RawRow& row) {
        switch (bigEndian(row.bytes(0))) {
          case 0:
            span.before = binaryRecord(row);
            return;
          case 2:
            span.beyond = binaryRecord(row);
            return;
          case 3:
            span.point = binaryRecord(row);
            return;
          default:
            break;
        }
        if (span.inside.empty()) span.inside.reserve(static_cast<std::size_t>(row.rows()));
        SeriesRecord& record = span.inside.emplace_back();
        record.identity = binaryTid(row.bytes(1));
        const std::string_view code = row.bytes(2);
        if (span.codes.empty() || span.codes.back() != code) {
          const auto known = std::find(span.codes.begin(), span.codes.end(), code);
          record.code = static_cast<std::uint32_t>(known - span.codes.begin());
          if (known == span.codes.end()) span.codes.emplace_back(code);
        } else {
          record.code = static_cast<std::uint32_t>(span.codes.size() - 1);
        }
        record.day = binaryDay(row.bytes(3));
        record.valueMonNull = row.isNull(4);
        if (!record.valueMonNull) record.valueMon = binaryReal(row.bytes(4));
        record.valueNull = row.isNull(5);
        if (!record.valueNull) record.value = binaryReal(row.bytes(5));
      },
      true);
  const auto seekOrder = [](const SeriesRecord& a, const SeriesRecord& b) {
    return a.day != b.day ? a.day < b.day : a.identity < b.identity;
  };
  if (!std::is_sorted(span.inside.begin(), span.inside.end(), seekOrder))
    std::sort(span.inside.begin(), span.inside.end(), seekOrder);
  return span;
}

}  // namespace platform
