#include "indeximport/FileTarget.h"

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include <limits>

namespace indeximport {

FileTarget::FileTarget(platform::Database& db) : db_(db) {
  sqlite3* handle = db_.engine().getHandle();
  select_ = platform::SqlStatement(
      handle, "SELECT rowid, IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1", true);
  insert_ = platform::SqlStatement(
      handle,
      "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon, IndValore) VALUES (?1, ?2, ?3, ?3)",
      true);
  update_ = platform::SqlStatement(
      handle, "UPDATE Indici SET IndValoreMon = ?2, IndValore = ?2 WHERE rowid = ?1", true);
}

FileTarget::~FileTarget() {
  rollback();
}

void FileTarget::begin(bool forWriting) {
  transaction_ = std::make_unique<platform::Database::Transaction>(db_, forWriting);
}

void FileTarget::commit() {
  if (!transaction_) return;
  auto transaction = std::move(transaction_);
  transaction->commit();
}

void FileTarget::rollback() noexcept {
  transaction_.reset();
}

std::vector<StoredRecord> FileTarget::records(const std::string& code) {
  std::vector<StoredRecord> found;
  select_.bindAll({code});
  platform::Value rowid, date, value;
  while (select_.step()) {
    select_.read(0, rowid);
    select_.read(1, date);
    select_.read(2, value);
    const auto day = platform::parseIsoDate(platform::valueText(date));
    if (!day) continue;
    StoredRecord record{rowid, *day, std::nullopt};
    if (const auto* real = std::get_if<double>(&value)) record.value = *real;
    if (const auto* whole = std::get_if<std::int64_t>(&value))
      record.value = static_cast<double>(*whole);
    // Text carried over from old files is a value someone wrote: never taken for an empty
    // record, it conflicts with whatever the file holds.
    if (std::holds_alternative<std::string>(value))
      record.value = std::numeric_limits<double>::quiet_NaN();
    found.push_back(std::move(record));
  }
  select_.reset();
  return found;
}

void FileTarget::insert(const std::string& code, platform::DayNumber day, double value) {
  insert_.bind(1, code);
  insert_.bind(2, platform::isoDate(day));
  insert_.bind(3, value);
  insert_.step();
  insert_.reset();
}

void FileTarget::update(const platform::Value& identity, double value) {
  update_.bindAll({identity, value});
  update_.step();
  update_.reset();
}

}  // namespace indeximport
