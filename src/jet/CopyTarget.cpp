#include "jet/CopyTarget.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "jet/JetError.h"
#include "jet/MirrorStamp.h"
#include "platform/SqlStatement.h"
#include "platform/Store.h"
#include "platform/Strings.h"

namespace jet {

namespace {

using platform::SqlStatement;

// Virtual machine steps between two calls of the progress handler during an index build.
constexpr int kStepsPerAlive = 1000000;

int onProgress(void* target) {
  (*static_cast<std::function<void()>*>(target))();
  return 0;
}

void flushToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

CopyTarget::CopyTarget(const std::string& path, std::function<void()> alive)
    : path_(path), alive_(std::move(alive)) {
  std::error_code error;
  if (std::filesystem::exists(path, error) || error)
    throw JetError(JetFailure::Target, path, "", "il file esiste già");
  try {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
      fail("");
    // A half-made copy is thrown away, never repaired: no journal, no waiting for the disk
    // until the end, a large cache for the index builds.
    run("PRAGMA journal_mode = OFF", "");
    run("PRAGMA synchronous = OFF", "");
    run("PRAGMA cache_size = -131072", "");
    run("BEGIN", "");
  } catch (...) {
    sqlite3_close(db_);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    throw;
  }
  if (alive_) sqlite3_progress_handler(db_, kStepsPerAlive, onProgress, &alive_);
}

CopyTarget::~CopyTarget() {
  sqlite3_finalize(insert_);
  sqlite3_close(db_);
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
}

void CopyTarget::fail(const std::string& table) const {
  throw JetError(JetFailure::Target, path_, table, db_ ? sqlite3_errmsg(db_) : "non creabile");
}

void CopyTarget::run(const std::string& sql, const std::string& table) {
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(table);
}

void CopyTarget::createTable(const std::string& table, const std::vector<JetTable::Column>& columns,
                             const ProgramSchema::Table* schema) {
  sqlite3_finalize(insert_);
  insert_ = nullptr;
  table_ = table;
  columns_.clear();
  std::string create = "CREATE TABLE " + SqlStatement::quote(table) + " (";
  std::string insert = "INSERT INTO " + SqlStatement::quote(table) + " VALUES (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const auto& column = columns[i];
    columns_.push_back(column.name);
    create += (i ? ", " : "") + SqlStatement::quote(column.name);
    if (!column.sqlType.empty()) create += " " + column.sqlType;
    const std::string collation = ProgramSchema::collationOf(schema, column.name);
    if (!collation.empty()) create += " COLLATE " + collation;
    insert += i ? ", ?" : "?";
  }
  run(create + ")", table);
  if (sqlite3_prepare_v2(db_, (insert + ")").c_str(), -1, &insert_, nullptr) != SQLITE_OK)
    fail(table);
}

void CopyTarget::insert(const std::vector<JetField>& row) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    const JetField& field = row[i];
    const int at = static_cast<int>(i) + 1;
    switch (field.kind) {
      case JetField::Kind::Null:
        sqlite3_bind_null(insert_, at);
        break;
      case JetField::Kind::Integer:
        sqlite3_bind_int64(insert_, at, field.integer);
        break;
      case JetField::Kind::Real:
        sqlite3_bind_double(insert_, at, field.real);
        break;
      case JetField::Kind::Text:
        sqlite3_bind_text(insert_, at, field.bytes.data(), static_cast<int>(field.bytes.size()),
                          SQLITE_STATIC);
        break;
      case JetField::Kind::Blob:
        sqlite3_bind_blob(insert_, at, field.bytes.data(), static_cast<int>(field.bytes.size()),
                          SQLITE_STATIC);
        break;
    }
  }
  if (sqlite3_step(insert_) != SQLITE_DONE) fail(table_);
  sqlite3_reset(insert_);
}

void CopyTarget::createIndexes(const ProgramSchema::Table* schema) {
  if (!schema) return;
  for (const auto& index : schema->indexes) {
    std::string columns;
    bool present = true;
    for (const auto& wanted : index.columns) {
      std::string found;
      for (const auto& column : columns_)
        if (platform::upperCase(column) == platform::upperCase(wanted)) found = column;
      present = present && !found.empty();
      columns += (columns.empty() ? "" : ", ") + SqlStatement::quote(found);
    }
    if (!present) continue;
    // Asked first: without a journal a failed CREATE UNIQUE could not be undone.
    const bool unique = index.unique && !hasDuplicates(columns);
    run(std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
            SqlStatement::quote(index.name) + " ON " + SqlStatement::quote(table_) + " (" +
            columns + ")",
        table_);
  }
}

bool CopyTarget::hasDuplicates(const std::string& columns) {
  std::string notNull;
  for (const auto& column : columns_)
    if (columns.find(SqlStatement::quote(column)) != std::string::npos)
      notNull +=
          (notNull.empty() ? " WHERE " : " AND ") + SqlStatement::quote(column) + " IS NOT NULL";
  const std::string sql = "SELECT 1 FROM " + SqlStatement::quote(table_) + notNull + " GROUP BY " +
                          columns + " HAVING count(*) > 1 LIMIT 1";
  sqlite3_stmt* query = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &query, nullptr) != SQLITE_OK) fail(table_);
  const int step = sqlite3_step(query);
  sqlite3_finalize(query);
  if (step != SQLITE_ROW && step != SQLITE_DONE) fail(table_);
  return step == SQLITE_ROW;
}

void CopyTarget::markMirror(const MirrorStamp& stamp) {
  try {
    stamp.writeInto(db_);
  } catch (const platform::StoreError& e) {
    throw JetError(JetFailure::Target, path_, "", e.what());
  }
}

void CopyTarget::commit() {
  sqlite3_finalize(insert_);
  insert_ = nullptr;
  sqlite3_progress_handler(db_, 0, nullptr, nullptr);
  run("COMMIT", "");
  if (sqlite3_close(db_) != SQLITE_OK) fail("");
  db_ = nullptr;
  flushToDisk(path_);
  committed_ = true;
}

}  // namespace jet
