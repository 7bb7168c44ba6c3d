// The SQLite file a copy of a Jet file is written into: created new, filled in one transaction
// with settings for a quick bulk load, then made durable. Tables the program uses get its own
// collation and indexes (ProgramSchema); every other table its columns only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jet/JetField.h"
#include "jet/JetTable.h"
#include "jet/ProgramSchema.h"

struct sqlite3;
struct sqlite3_stmt;

namespace jet {

struct MirrorStamp;

class CopyTarget {
 public:
  // Creates the database file `path`, which must not exist, and begins the transaction.
  // `alive` is called now and then while a long step (an index build) runs. Throws JetError
  // (Target) with the engine's message.
  CopyTarget(const std::string& path, std::function<void()> alive);
  // Without commit() the file is closed and removed.
  ~CopyTarget();
  CopyTarget(const CopyTarget&) = delete;
  CopyTarget& operator=(const CopyTarget&) = delete;

  // Creates `table` with `columns` in their order (collations from `schema`, which may be
  // null) and makes it the table insert() fills.
  void createTable(const std::string& table, const std::vector<JetTable::Column>& columns,
                   const ProgramSchema::Table* schema);
  // One row of the current table, a field per column.
  void insert(const std::vector<JetField>& row);
  // The program's indexes of the current table whose columns it has. A unique index the rows
  // do not satisfy is made an ordinary one: the lookups need it either way.
  void createIndexes(const ProgramSchema::Table* schema);
  void markMirror(const MirrorStamp& stamp);
  // Commits, closes and flushes the file to the disk.
  void commit();

 private:
  [[noreturn]] void fail(const std::string& table) const;
  void run(const std::string& sql, const std::string& table);
  // Whether two rows of the current table agree on `columns` (a quoted list), Nulls aside.
  bool hasDuplicates(const std::string& columns);

  std::string path_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  std::string table_;
  std::vector<std::string> columns_;
  std::function<void()> alive_;
  bool committed_ = false;
};

}  // namespace jet
