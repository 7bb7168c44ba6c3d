// One prepared statement of the engine, owned for its lifetime: binds field values, steps,
// reads columns back into field values, and turns every engine failure into StoreError naming
// the database file and what the statement was doing (a full disk or a damaged page is
// otherwise anonymous on a desk with four databases open). The
// building block of snapshots, prepared queries and table cursors.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class SqlStatement {
 public:
  SqlStatement() = default;
  // Prepares the first statement of `sql`; `persistent` tells the engine it will be reused many
  // times. Throws StoreError with the engine's message when the text does not compile.
  SqlStatement(sqlite3* db, std::string_view sql, bool persistent = false);
  // Prepares the first statement of `sql` and removes its text from `sql`; the statement stays
  // empty when only blanks or comments were left.
  static SqlStatement next(sqlite3* db, std::string_view& sql);
  ~SqlStatement();
  SqlStatement(SqlStatement&& other) noexcept;
  SqlStatement& operator=(SqlStatement&& other) noexcept;
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  bool empty() const { return stmt_ == nullptr; }
  // Binds `params` to ?1, ?2... and Null to every further parameter. With `copyTexts` false the
  // engine reads texts in place, so they must outlive every step until the next binding.
  void bindAll(const std::vector<Value>& params, bool copyTexts = true);
  void bind(int index, const Value& value, bool copyText = true);
  // Steps once: true when a row is ready, false when the statement is done. On failure the
  // statement is reset and StoreError thrown.
  bool step();
  // Ready to run again (bindings are kept).
  void reset();
  int columnCount() const;
  // Column `column` of the current row into `into`, reusing its text buffer when it has one.
  void read(int column, Value& into) const;
  std::int64_t readInt(int column) const;
  std::vector<std::string> columnNames(int from = 0) const;

  // Throws StoreError with the engine's last message, the connection's database file and what
  // the statement `sql` (when given) was doing there.
  [[noreturn]] static void fail(sqlite3* db, const std::string& sql = "");
  // `name` as an SQL identifier in double quotes (embedded quotes doubled).
  static std::string quote(std::string_view name);

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace platform
