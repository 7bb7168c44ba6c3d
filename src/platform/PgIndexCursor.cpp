#include "platform/PgIndexCursor.h"

#include <array>

#include "platform/Strings.h"

namespace platform {

namespace {

const std::vector<std::string> kNames = {"IndProdotto", "IndData", "IndValoreMon", "IndValore"};

// The key as the file's index collates it: codes folded to lower case in ASCII only (the "C"
// collation leaves other letters alone, as the file does) and compared byte by byte.
#define STATIND_KEY R"(lower(indprodotto COLLATE "C"))"
#define STATIND_WANTED R"(lower($1::text COLLATE "C"))"
#define STATIND_FIELDS "ctid, indprodotto, inddata, indvaloremon, indvalore"

const std::array<const char*, 4> kSeekSql = {
    "SELECT " STATIND_FIELDS " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED
    " AND inddata = $2::date ORDER BY " STATIND_KEY ", inddata LIMIT 1",
    "SELECT " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY ", inddata) <= (" STATIND_WANTED
    ", $2::date) ORDER BY " STATIND_KEY " DESC, inddata DESC LIMIT 1",
    "SELECT " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY ", inddata) > (" STATIND_WANTED
    ", $2::date) ORDER BY " STATIND_KEY ", inddata LIMIT 1",
    "SELECT " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY ", inddata) >= (" STATIND_WANTED
    ", $2::date) ORDER BY " STATIND_KEY ", inddata LIMIT 1"};

// The four parts of a range read in one statement; ties of a key in physical order, as the
// index holds them.
const char* const kSpanSql =
    "SELECT part, " STATIND_FIELDS
    " FROM ("
    "(SELECT 0 AS part, " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY
    ", inddata) <= (" STATIND_WANTED ", $2::date) ORDER BY " STATIND_KEY
    " DESC, inddata DESC LIMIT 1) UNION ALL "
    "(SELECT 1, " STATIND_FIELDS " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED
    " AND inddata > $2::date AND inddata <= $3::date) UNION ALL "
    "(SELECT 2, " STATIND_FIELDS " FROM indici WHERE (" STATIND_KEY ", inddata) > (" STATIND_WANTED
    ", $3::date) ORDER BY " STATIND_KEY
    ", inddata LIMIT 1) UNION ALL "
    "(SELECT 3, " STATIND_FIELDS " FROM indici WHERE " STATIND_KEY " = " STATIND_WANTED
    " AND inddata = $4::date ORDER BY " STATIND_KEY
    ", inddata LIMIT 1)"
    ") AS span ORDER BY part, inddata, ctid";

const char* const kDeleteSql =
    "DELETE FROM indici WHERE ctid = (SELECT ctid FROM indici WHERE ctid = $1::tid AND "
    "indvaloremon = 0 FOR UPDATE SKIP LOCKED)";

#undef STATIND_KEY
#undef STATIND_WANTED
#undef STATIND_FIELDS

// A row of the statements above from column `from` on: identity, then the four fields.
SpanRecord recordOf(const Row& row, std::size_t from) {
  SpanRecord record{row.at(from), {}};
  for (std::size_t i = from + 1; i < row.size(); ++i) record.values.push_back(row.at(i));
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
  const auto found = db_.run("SELECT to_regclass('indici') IS NOT NULL");
  if (found.empty() || valueText(found.front().at(0)) != "t")
    throw StoreError("relation \"indici\" does not exist", 0);
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
  const auto rows = db_.run(kSeekSql[static_cast<std::size_t>(op)], {valueText(key1), key2});
  if (rows.empty()) return false;
  SpanRecord record = recordOf(rows.front(), 0);
  identity_ = std::move(record.identity);
  current_ = std::move(record.values);
  hasCurrent_ = true;
  return true;
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
  if (!db_.inTransaction()) {
    db_.run(kDeleteSql, {identity});
    return;
  }
  // A refused deletion must not end the run's transaction with it.
  db_.run("SAVEPOINT statind_delete");
  try {
    db_.run(kDeleteSql, {identity});
  } catch (const StoreError&) {
    db_.run("ROLLBACK TO SAVEPOINT statind_delete");
    throw;
  }
}

std::unique_ptr<SeekCursor::Hold> PgIndexCursor::hold() {
  return std::make_unique<ServerHold>(db_);
}

SpanRead PgIndexCursor::readSpan(const std::string& key1, const std::string& after,
                                 const std::string& upTo, const std::string& pointKey) {
  hasCurrent_ = false;
  SpanRead span;
  span.names = kNames;
  // Built straight from the server's result: the range of a long comparison holds thousands of
  // records, and each copy through generic rows costs allocations.
  db_.scan(kSpanSql, {key1, after, upTo, pointKey}, [&](const PgConnection::RawRow& row) {
    SpanRecord record{row.value(1), {}};
    record.values.reserve(kNames.size());
    for (int column = 2; column < 2 + static_cast<int>(kNames.size()); ++column)
      record.values.push_back(row.value(column));
    switch (std::get<std::int64_t>(row.value(0))) {
      case 0:
        span.before = std::move(record);
        break;
      case 1:
        span.inside.push_back(std::move(record));
        break;
      case 2:
        span.beyond = std::move(record);
        break;
      default:
        span.point = std::move(record);
    }
  });
  return span;
}

}  // namespace platform
