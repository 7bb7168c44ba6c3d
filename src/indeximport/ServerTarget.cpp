#include "indeximport/ServerTarget.h"

#include <algorithm>

#include "platform/PgIndexCursor.h"

namespace indeximport {

namespace {

// Records a statement: a few hundred keep each statement small and the round trips few.
constexpr std::size_t kBatch = 500;
constexpr std::size_t kFields = 3;

std::string insertSql(std::size_t rows) {
  std::string sql = "INSERT INTO indici (indprodotto, inddata, indvaloremon, indvalore) VALUES ";
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string first = std::to_string(i * kFields + 1);
    const std::string second = std::to_string(i * kFields + 2);
    const std::string third = std::to_string(i * kFields + 3);
    sql.append(i ? ",($" : "($").append(first).append(",$").append(second);
    sql.append("::date,$").append(third).append("::float8,$").append(third).append("::float8)");
  }
  return sql;
}

}  // namespace

void ServerTarget::begin(bool forWriting) {
  db_.run("BEGIN");
  open_ = true;
  if (forWriting) {
    // Other desks keep reading; their writes wait until this run ends (the lookups' deletions
    // of zero records give up after a second and count the record as gone).
    db_.run("LOCK TABLE indici IN SHARE ROW EXCLUSIVE MODE");
  } else {
    db_.run("SET TRANSACTION READ ONLY");
  }
}

void ServerTarget::commit() {
  if (!open_) return;
  try {
    flush();
    db_.run("COMMIT");
    open_ = false;
  } catch (...) {
    rollback();
    throw;
  }
}

void ServerTarget::rollback() noexcept {
  waiting_.clear();
  if (!open_) return;
  open_ = false;
  try {
    db_.run("ROLLBACK");
  } catch (...) {
    // The connection is gone: the server has dropped the transaction itself.
  }
}

std::vector<StoredRecord> ServerTarget::records(const std::string& code) {
  std::vector<StoredRecord> found;
  const auto rows = db_.run(
      "SELECT ctid::text, inddata::text, indvaloremon FROM indici WHERE lower(indprodotto "
      "COLLATE \"C\") = lower($1::text COLLATE \"C\")",
      {code});
  for (const auto& row : rows) {
    const std::string date = platform::valueText(row.at(1));
    // A date before Christ or an infinite one is written with more than "YYYY-MM-DD".
    const auto day = date.size() == 10 ? platform::parseIsoDate(date) : std::nullopt;
    if (!day) continue;
    StoredRecord record{row.at(0), *day, std::nullopt};
    if (const auto* real = std::get_if<double>(&row.at(2))) record.value = *real;
    found.push_back(std::move(record));
  }
  return found;
}

void ServerTarget::insert(const std::string& code, platform::DayNumber day, double value) {
  waiting_.emplace_back(std::in_place_type<std::string>, code);
  waiting_.emplace_back(std::in_place_type<std::string>, platform::isoDate(day));
  waiting_.emplace_back(std::in_place_type<double>, value);
  if (waiting_.size() == kBatch * kFields) flush();
}

void ServerTarget::update(const platform::Value& identity, double value) {
  db_.run(
      "UPDATE indici SET indvaloremon = $2::float8, indvalore = $2::float8 WHERE ctid = $1::tid",
      {identity, value});
}

void ServerTarget::flush() {
  if (waiting_.empty()) return;
  db_.run(insertSql(waiting_.size() / kFields), waiting_);
  waiting_.clear();
}

}  // namespace indeximport
