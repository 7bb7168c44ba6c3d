#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>

#include "platform/SqlStatement.h"
#include "platform/Store.h"
#include "platform/Strings.h"
#include "platform/TextEncoding.h"

namespace platform {

namespace {

// A stored value as a lean record holds it; false for what it cannot hold (a text, a whole
// number no double carries exactly).
bool leanValue(const Value& value, double& number, bool& null) {
  null = isNull(value);
  if (null) return true;
  if (const auto* real = std::get_if<double>(&value)) {
    number = *real;
    return true;
  }
  const auto* whole = std::get_if<std::int64_t>(&value);
  if (!whole || *whole > (std::int64_t{1} << 53) || *whole < -(std::int64_t{1} << 53)) return false;
  number = static_cast<double>(*whole);
  return true;
}

std::string textAt(SqlStatement& statement, int column) {
  Value value;
  statement.read(column, value);
  return valueText(value);
}

}  // namespace

struct TableCursor::Impl {
  Database* owner = nullptr;
  sqlite3* db = nullptr;
  std::string table;
  std::string index;
  std::vector<std::string> keys;  // the seek columns as SQL, with the index's collation
  std::array<SqlStatement, 4> seeks;
  std::array<SqlStatement, 2> pasts;  // seekPast forward and backward
  SqlStatement spelled;               // is there a record of a first key?
  SqlStatement scan;                  // the records of one first key between two second keys
  SqlStatement remover;
  std::vector<std::string> names;
  std::vector<Value> current;
  std::int64_t rowid = 0;
  bool hasCurrent = false;

  std::string seekSql(SeekOp op) const;
  std::string pastSql(bool backward) const;
  // Runs a seek statement and keeps the record it lands on as the current one.
  bool land(SqlStatement& statement);
  Value storedKey(const Value& key);
  // The current record, as a range read returns it.
  SpanRecord currentRecord() const { return {Value(rowid), current}; }
  // Seeks and returns what the seek landed on.
  std::optional<SpanRecord> landing(TableCursor& cursor, SeekOp op, const std::string& key1,
                                    const std::string& key2);
  SqlStatement& seekStatement(SeekOp op);
  void useIndex(const std::string& indexName);
};

// One statement per comparison, each a range on the index read in the index's own order, so
// that the engine answers it by one descent of the index b-tree. "<=" may land on a record of
// an earlier first key, exactly as a seek on a recordset does.
std::string TableCursor::Impl::seekSql(SeekOp op) const {
  const bool two = keys.size() == 2;
  const std::string left = two ? "(" + keys[0] + ", " + keys[1] + ")" : keys[0];
  const std::string right = two ? "(?1, ?2)" : "?1";
  const std::string up = two ? keys[0] + ", " + keys[1] : keys[0];
  const std::string down = two ? keys[0] + " DESC, " + keys[1] + " DESC" : keys[0] + " DESC";
  std::string where;
  std::string order = up;
  switch (op) {
    case SeekOp::Equal:
      where = two ? keys[0] + " = ?1 AND " + keys[1] + " = ?2" : keys[0] + " = ?1";
      break;
    case SeekOp::LessEqual:
      where = left + " <= " + right;
      order = down;
      break;
    case SeekOp::Greater:
      where = left + " > " + right;
      break;
    case SeekOp::GreaterEqual:
      where = left + " >= " + right;
      break;
  }
  return "SELECT rowid, * FROM " + SqlStatement::quote(table) + " INDEXED BY " +
         SqlStatement::quote(index) + " WHERE " + where + " ORDER BY " + order + " LIMIT 1";
}

// The index holds the records of one key in rowid order, so the index's order is that of the
// keys and then the rowid: the neighbour of a record is the nearest record in that order.
std::string TableCursor::Impl::pastSql(bool backward) const {
  std::string columns;
  std::string order;
  for (const std::string& key : keys) {
    columns += key + ", ";
    order += key + (backward ? " DESC, " : ", ");
  }
  return "SELECT rowid, * FROM " + SqlStatement::quote(table) + " INDEXED BY " +
         SqlStatement::quote(index) + " WHERE (" + columns + "rowid) " + (backward ? "<" : ">") +
         " (SELECT " + columns + "rowid FROM " + SqlStatement::quote(table) +
         " WHERE rowid = ?1) ORDER BY " + order + (backward ? "rowid DESC" : "rowid") + " LIMIT 1";
}

// The suite's older programs store codes in Windows-1252, while every text the program shows is
// UTF-8: a code that reads differently in the two is sought as the table stores it.
Value TableCursor::Impl::storedKey(const Value& key) {
  const auto* text = std::get_if<std::string>(&key);
  const auto ascii = [](const std::string& code) {
    return std::all_of(code.begin(), code.end(), [](char c) { return (c & 0x80) == 0; });
  };
  if (!text || ascii(*text) || !isValidUtf8(*text)) return key;
  std::string stored = utf8ToCp1252(*text);
  if (cp1252ToUtf8(stored) != *text) return key;  // a text the code page cannot hold
  if (spelled.empty())
    spelled =
        SqlStatement(db, "SELECT 1 FROM " + SqlStatement::quote(table) + " INDEXED BY " +
                             SqlStatement::quote(index) + " WHERE " + keys[0] + " = ?1 LIMIT 1");
  spelled.bind(1, key, false);
  const bool asGiven = spelled.step();
  spelled.reset();
  return asGiven ? key : Value(std::move(stored));
}

bool TableCursor::Impl::land(SqlStatement& statement) {
  hasCurrent = false;
  if (statement.step()) {
    if (names.empty()) {
      names = statement.columnNames(1);
      current.resize(names.size());
    }
    rowid = statement.readInt(0);
    for (std::size_t i = 0; i < current.size(); ++i)
      statement.read(static_cast<int>(i + 1), current[i]);
    hasCurrent = true;
  }
  // Reset at once: a statement left open would hold a read lock on the file.
  statement.reset();
  return hasCurrent;
}

SqlStatement& TableCursor::Impl::seekStatement(SeekOp op) {
  if (keys.empty()) throw StoreError("no current index on " + table, SQLITE_ERROR);
  SqlStatement& statement = seeks[static_cast<std::size_t>(op)];
  if (statement.empty()) statement = SqlStatement(db, seekSql(op), true);
  return statement;
}

void TableCursor::Impl::useIndex(const std::string& indexName) {
  SqlStatement find(db, "SELECT name FROM pragma_index_list(?1) WHERE name = ?2 COLLATE NOCASE");
  find.bindAll({table, indexName});
  if (!find.step()) throw StoreError("no such index: " + indexName + " on " + table, SQLITE_ERROR);
  const std::string found = textAt(find, 0);
  SqlStatement columns(
      db, "SELECT name, coll FROM pragma_index_xinfo(?1) WHERE key = 1 ORDER BY seqno");
  columns.bindAll({found});
  std::vector<std::string> chosen;
  while (chosen.size() < 2 && columns.step()) {
    const std::string column = textAt(columns, 0);
    const std::string collation = textAt(columns, 1);
    if (column.empty()) throw StoreError("index on an expression: " + found, SQLITE_ERROR);
    // Comparisons take the column's declared collation; name the index's only where they differ.
    const char* declared = nullptr;
    if (sqlite3_table_column_metadata(db, "main", table.c_str(), column.c_str(), nullptr, &declared,
                                      nullptr, nullptr, nullptr) != SQLITE_OK)
      SqlStatement::fail(db);
    std::string key = SqlStatement::quote(column);
    if (!equalsNoCase(declared ? declared : "BINARY", collation)) key += " COLLATE " + collation;
    chosen.push_back(key);
  }
  index = found;
  keys = std::move(chosen);
  for (auto& statement : seeks) statement = SqlStatement();
  for (auto& statement : pasts) statement = SqlStatement();
  spelled = SqlStatement();
  scan = SqlStatement();
  hasCurrent = false;
}

TableCursor::TableCursor(Database& db, const std::string& table) : impl_(std::make_unique<Impl>()) {
  impl_->owner = &db;
  impl_->db = db.engine().getHandle();
  SqlStatement find(impl_->db,
                    "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE "
                    "NOCASE");
  find.bindAll({table});
  if (!find.step()) throw StoreError("no such table: " + table, SQLITE_ERROR);
  impl_->table = textAt(find, 0);
}

TableCursor::~TableCursor() = default;

void TableCursor::setIndex(const std::string& indexName) {
  impl_->useIndex(indexName);
}

bool TableCursor::seek(SeekOp op, const Value& key1, const Value& key2) {
  Impl& d = *impl_;
  SqlStatement& statement = d.seekStatement(op);
  d.hasCurrent = false;
  const Value stored = d.storedKey(key1);
  // The keys outlive the step and the statement is reset before returning: no copies needed.
  statement.bind(1, stored, false);
  if (d.keys.size() == 2) statement.bind(2, key2, false);
  return d.land(statement);
}

Value TableCursor::identity() const {
  if (!impl_->hasCurrent) throw StoreError("no current record", SQLITE_ERROR);
  return impl_->rowid;
}

bool TableCursor::seekPast(const Value& identity, bool backward) {
  Impl& d = *impl_;
  if (d.keys.empty()) throw StoreError("no current index on " + d.table, SQLITE_ERROR);
  SqlStatement& statement = d.pasts[backward ? 1 : 0];
  if (statement.empty()) statement = SqlStatement(d.db, d.pastSql(backward));
  statement.bind(1, identity);
  return d.land(statement);
}

bool TableCursor::noMatch() const {
  return !impl_->hasCurrent;
}

const Value& TableCursor::field(std::string_view name) const {
  const Impl& d = *impl_;
  if (!d.hasCurrent) throw StoreError("no current record", SQLITE_ERROR);
  for (std::size_t i = 0; i < d.names.size(); ++i)
    if (equalsNoCase(d.names[i], name)) return d.current[i];
  throw StoreError("no such column: " + std::string(name), SQLITE_ERROR);
}

void TableCursor::deleteCurrent() {
  Impl& d = *impl_;
  if (!d.hasCurrent) throw StoreError("no current record", SQLITE_ERROR);
  if (d.remover.empty())
    d.remover =
        SqlStatement(d.db, "DELETE FROM " + SqlStatement::quote(d.table) + " WHERE rowid = ?1");
  d.remover.bind(1, Value(d.rowid));
  d.remover.step();
  d.remover.reset();
  d.hasCurrent = false;
}

std::optional<SpanRecord> TableCursor::Impl::landing(TableCursor& cursor, SeekOp op,
                                                     const std::string& key1,
                                                     const std::string& key2) {
  if (!cursor.seek(op, key1, key2)) return std::nullopt;
  return currentRecord();
}

void TableCursor::deleteRecord(const Value& identity) {
  Impl& d = *impl_;
  if (d.remover.empty())
    d.remover =
        SqlStatement(d.db, "DELETE FROM " + SqlStatement::quote(d.table) + " WHERE rowid = ?1");
  d.remover.bind(1, identity);
  d.remover.step();
  d.remover.reset();
  d.hasCurrent = false;
}

namespace {

class ReadHold : public SeekCursor::Hold {
 public:
  explicit ReadHold(Database& db) : scope_(db) {}

 private:
  Database::ReadScope scope_;
};

}  // namespace

std::unique_ptr<SeekCursor::Hold> TableCursor::hold() {
  return std::make_unique<ReadHold>(*impl_->owner);
}

std::optional<SeriesSpan> TableCursor::readSeries(const std::string& key1, const std::string& after,
                                                  const std::string& upTo,
                                                  const std::string& pointKey) {
  Impl& d = *impl_;
  SeriesSpan span;
  span.before = d.landing(*this, SeekOp::LessEqual, key1, after);
  span.beyond = d.landing(*this, SeekOp::Greater, key1, upTo);
  span.point = d.landing(*this, SeekOp::Equal, key1, pointKey);
  if (d.keys.size() != 2) throw StoreError("a range read needs a two-column index", SQLITE_ERROR);
  if (d.scan.empty())
    d.scan = SqlStatement(d.db,
                          "SELECT rowid, IndProdotto, IndData, IndValoreMon, IndValore FROM " +
                              SqlStatement::quote(d.table) + " INDEXED BY " +
                              SqlStatement::quote(d.index) + " WHERE " + d.keys[0] + " = ?1 AND " +
                              d.keys[1] + " > ?2 AND " + d.keys[1] + " <= ?3 ORDER BY " +
                              d.keys[0] + ", " + d.keys[1] + ", rowid",
                          true);
  d.scan.bindAll({d.storedKey(key1), after, upTo});
  std::array<Value, 4> fields;
  bool lean = true;
  while (lean && d.scan.step()) {
    for (std::size_t i = 0; i < fields.size(); ++i) d.scan.read(static_cast<int>(i + 1), fields[i]);
    SeriesRecord record;
    record.identity = d.scan.readInt(0);
    const auto* code = std::get_if<std::string>(&fields[0]);
    const auto* date = std::get_if<std::string>(&fields[1]);
    const auto day = date ? parseExactIsoDate(*date) : std::nullopt;
    lean = code && day && leanValue(fields[2], record.valueMon, record.valueMonNull) &&
           leanValue(fields[3], record.value, record.valueNull);
    if (!lean) break;
    record.day = *day;
    const auto known = std::find(span.codes.begin(), span.codes.end(), *code);
    record.code = static_cast<std::uint32_t>(known - span.codes.begin());
    if (known == span.codes.end()) span.codes.push_back(*code);
    span.inside.push_back(record);
  }
  d.scan.reset();
  d.hasCurrent = false;
  if (!lean) return std::nullopt;
  if (d.names.empty()) {
    // Nothing was found anywhere: the field names still come from the table.
    SqlStatement names(d.db, "SELECT * FROM " + SqlStatement::quote(d.table) + " LIMIT 0");
    d.names = names.columnNames(0);
    d.current.resize(d.names.size());
  }
  span.names = d.names;
  return span;
}

std::string TableCursor::seekPlan(SeekOp op) {
  impl_->seekStatement(op);  // fails as a seek would when there is no index
  SqlStatement explain(impl_->db, "EXPLAIN QUERY PLAN " + impl_->seekSql(op));
  std::string plan;
  while (explain.step()) plan += textAt(explain, 3) + "\n";
  return plan;
}

Value TableCursor::storedKey(const std::string& key1) {
  if (impl_->keys.empty()) throw StoreError("no current index on " + impl_->table, SQLITE_ERROR);
  return impl_->storedKey(key1);
}

Database& TableCursor::database() const {
  return *impl_->owner;
}

}  // namespace platform
