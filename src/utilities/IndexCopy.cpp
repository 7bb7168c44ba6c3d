#include "utilities/IndexCopy.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/Format.h"
#include "platform/PgIndexCursor.h"
#include "platform/SqlStatement.h"
#include "platform/TextEncoding.h"

namespace utilities {

namespace {

using platform::Value;

// A stored value as the server's double column holds it: numbers as they are, anything else
// Null (`blanked` counts the texts so lost).
Value asNumber(const Value& value, long long& blanked) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  if (std::holds_alternative<double>(value) || platform::isNull(value)) return value;
  ++blanked;
  return {};
}

// The refusal of a target that already holds records, named `where`.
std::runtime_error heldRecords(const std::string& where, long long present) {
  return std::runtime_error(where + " contiene già " + std::to_string(present) +
                            " indici (--replace per sostituirli)");
}

// A stored date as the file stores it and the server reads it ("YYYY-MM-DD"), or nothing when
// it is missing or no valid date.
std::optional<std::string> isoText(const Value& date) {
  const auto day = platform::parseIsoDate(platform::valueText(date));
  if (!day) return std::nullopt;
  return platform::isoDate(*day);
}

// The file's write lock for the object's lifetime, taken at once so that nothing another desk
// writes comes between the check of the file and the copy; rolled back unless committed.
class FileWrite {
 public:
  explicit FileWrite(platform::Database& db) : handle_(db.engine().getHandle()) {
    if (sqlite3_exec(handle_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
      platform::SqlStatement::fail(handle_, "BEGIN IMMEDIATE");
  }
  ~FileWrite() {
    if (!done_) sqlite3_exec(handle_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  FileWrite(const FileWrite&) = delete;
  FileWrite& operator=(const FileWrite&) = delete;
  void commit() {
    if (sqlite3_exec(handle_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
      platform::SqlStatement::fail(handle_, "COMMIT");
    done_ = true;
  }

 private:
  sqlite3* handle_;
  bool done_ = false;
};

std::string insertSql(std::size_t rows) {
  std::string sql = "INSERT INTO indici (indprodotto, inddata, indvaloremon, indvalore) VALUES ";
  for (std::size_t i = 0; i < rows; ++i) {
    sql += (i ? ",($" : "($") + std::to_string(i * 4 + 1) + ",$" + std::to_string(i * 4 + 2) +
           "::date,$" + std::to_string(i * 4 + 3) + "::float8,$" + std::to_string(i * 4 + 4) +
           "::float8)";
  }
  return sql;
}

}  // namespace

IndexCopyResult copyIndexToServer(platform::Database& source, platform::PgConnection& target,
                                  const IndexCopyParams& params) {
  IndexCopyResult result;
  platform::PgIndexCursor::createSchema(target);
  // A table an office made itself may round or cut what it is given, and every figure read
  // from it afterwards would be wrong without a word.
  platform::PgIndexCursor::checkColumns(target, true);
  platform::PgConnection::Transaction transaction(target);
  const auto held = target.run("SELECT count(*) FROM indici");
  const auto present = std::get<std::int64_t>(held.front().at(0));
  if (present > 0) {
    if (!params.replace) {
      transaction.abandon();
      throw heldRecords("il database " + target.name(), present);
    }
    target.run("DELETE FROM indici");
  }

  platform::Database::ReadScope reading(source);
  sqlite3* file = source.engine().getHandle();
  platform::SqlStatement count(file, "SELECT count(*) FROM Indici");
  count.step();
  const long long total = count.readInt(0);
  platform::SqlStatement rows(
      file, "SELECT IndProdotto, IndData, IndValoreMon, IndValore FROM Indici ORDER BY rowid");
  const std::size_t batch = static_cast<std::size_t>(std::max(1, params.batch));
  const std::string fullBatch = insertSql(batch);
  std::vector<Value> values;
  long long done = 0;
  const auto flush = [&] {
    if (values.empty()) return;
    const std::size_t records = values.size() / 4;
    target.run(records == batch ? fullBatch : insertSql(records), values);
    result.copied += static_cast<long long>(records);
    values.clear();
    if (params.progress) params.progress(done, total);
  };
  Value code, date, value, valueMon;
  while (rows.step()) {
    ++done;
    rows.read(0, code);
    rows.read(1, date);
    rows.read(2, valueMon);
    rows.read(3, value);
    auto day = isoText(date);
    if (platform::isNull(code) || !day) {
      ++result.skipped;
      continue;
    }
    std::string text = platform::valueText(code);
    if (!platform::isValidUtf8(text)) text = platform::cp1252ToUtf8(text);
    values.push_back(std::move(text));
    values.push_back(std::move(*day));
    values.push_back(asNumber(valueMon, result.blanked));
    values.push_back(asNumber(value, result.blanked));
    if (values.size() == batch * 4) flush();
  }
  flush();
  // The planner's figures for the new rows, so that the very first lookups use the index.
  target.run("ANALYZE indici");
  return result;
}

IndexCopyResult copyIndexFromServer(platform::PgConnection& source, platform::Database& target,
                                    const IndexCopyParams& params) {
  IndexCopyResult result;
  platform::PgIndexCursor::checkColumns(source, false);
  const bool ownSnapshot = !source.inTransaction();
  platform::PgConnection::Transaction reading(source);
  // The count and every batch from one view of the server, whatever a desk writes meanwhile.
  if (ownSnapshot) source.run("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
  const long long total =
      std::get<std::int64_t>(source.run("SELECT count(*) FROM indici").front().at(0));

  FileWrite writing(target);
  sqlite3* file = target.engine().getHandle();
  const long long present = [&] {
    platform::SqlStatement count(file, "SELECT count(*) FROM Indici");
    count.step();
    return count.readInt(0);
  }();
  if (present > 0) {
    if (!params.replace) throw heldRecords("il file " + target.path(), present);
    platform::SqlStatement(file, "DELETE FROM Indici").step();
  }

  platform::SqlStatement insert(
      file, "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon, IndValore) VALUES (?,?,?,?)",
      true);
  // Physical order: ties of a code and date as the server's lookups meet them.
  source.run(
      "DECLARE indici_copia NO SCROLL CURSOR FOR SELECT indprodotto::text, inddata::date, "
      "indvaloremon::float8, indvalore::float8 FROM indici ORDER BY ctid");
  const std::string fetch =
      "FETCH FORWARD " + std::to_string(std::max(1, params.batch)) + " FROM indici_copia";
  long long done = 0;
  for (long long fetched = -1; fetched != 0;) {
    fetched = 0;
    source.scan(fetch, {}, [&](const platform::PgConnection::RawRow& row) {
      ++fetched;
      const Value code = row.value(0);
      const Value date = row.value(1);
      // The server writes a date before Christ or an infinite one with more than "YYYY-MM-DD".
      auto day = platform::valueText(date).size() == 10 ? isoText(date) : std::nullopt;
      if (platform::isNull(code) || !day) {
        ++result.skipped;
        return;
      }
      insert.bindAll({code, std::move(*day), asNumber(row.value(2), result.blanked),
                      asNumber(row.value(3), result.blanked)});
      insert.step();
      insert.reset();
      ++result.copied;
    });
    done += fetched;
    if (fetched > 0 && params.progress) params.progress(done, total);
  }
  source.run("CLOSE indici_copia");
  writing.commit();
  return result;
}

}  // namespace utilities
