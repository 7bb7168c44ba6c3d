#include "platform/SqlStatement.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>

#include "platform/Strings.h"
#include "platform/TextEncoding.h"

namespace platform {

namespace {

// The next word of `sql` from `pos` on: a name (quotes taken off) or a keyword.
std::string nextWord(std::string_view sql, std::size_t& pos) {
  while (pos < sql.size() && std::isspace(static_cast<unsigned char>(sql[pos]))) ++pos;
  if (pos == sql.size()) return "";
  const char open = sql[pos];
  if (open == '"' || open == '[' || open == '`') {
    const char close = open == '[' ? ']' : open;
    const std::size_t end = sql.find(close, pos + 1);
    const std::size_t stop = end == std::string_view::npos ? sql.size() : end;
    std::string word(sql.substr(pos + 1, stop - pos - 1));
    pos = stop == sql.size() ? stop : stop + 1;
    return word;
  }
  const std::size_t start = pos;
  while (pos < sql.size() &&
         (std::isalnum(static_cast<unsigned char>(sql[pos])) || sql[pos] == '_' || sql[pos] == '.'))
    ++pos;
  if (pos == start) ++pos;  // a sign: a word of its own
  return std::string(sql.substr(start, pos - start));
}

// What a statement was doing, as a failure names it: "lettura di Indici", "scrittura in
// WkStatInd", "conferma della transazione"...
std::string operationOf(std::string_view sql) {
  std::size_t pos = 0;
  const std::string verb = upperCase(nextWord(sql, pos));
  struct Kind {
    const char* verb;
    const char* what;
    const char* before;  // the word the table follows ("" when none is named)
    const char* preposition;
  };
  static const Kind kinds[] = {{"SELECT", "lettura", "FROM", " di "},
                               {"WITH", "lettura", "", ""},
                               {"INSERT", "scrittura", "INTO", " in "},
                               {"REPLACE", "scrittura", "INTO", " in "},
                               {"UPDATE", "modifica", "UPDATE", " di "},
                               {"DELETE", "cancellazione", "FROM", " in "},
                               {"BEGIN", "inizio della transazione", "", ""},
                               {"SAVEPOINT", "inizio della transazione", "", ""},
                               {"COMMIT", "conferma della transazione", "", ""},
                               {"END", "conferma della transazione", "", ""},
                               {"RELEASE", "conferma della transazione", "", ""},
                               {"ROLLBACK", "annullamento della transazione", "", ""},
                               {"ATTACH", "collegamento", "", ""},
                               {"DETACH", "collegamento", "", ""},
                               {"CREATE", "creazione", "", ""},
                               {"DROP", "eliminazione", "", ""},
                               {"PRAGMA", "impostazione", "", ""}};
  for (const Kind& kind : kinds) {
    if (verb != kind.verb) continue;
    std::string table;
    if (*kind.before) {
      std::size_t at = verb == kind.before ? pos : std::string_view::npos;
      for (std::size_t scan = pos; at == std::string_view::npos && scan < sql.size();)
        if (upperCase(nextWord(sql, scan)) == kind.before) at = scan;
      if (at != std::string_view::npos) table = nextWord(sql, at);
    }
    return table.empty() || table == "(" ? kind.what : kind.what + (kind.preposition + table);
  }
  return verb.empty() ? "istruzione vuota" : verb;
}

// The database file of connection `db` and what the statement `sql` was doing there, for a
// failure's message: ": FILE (OPERATION)".
std::string whereFailed(sqlite3* db, const char* sql) {
  const char* file = sqlite3_db_filename(db, "main");
  std::string where = ": ";
  where += file && *file ? file : "(database in memoria)";
  if (sql && *sql) where += " (" + operationOf(sql) + ")";
  return where;
}

}  // namespace

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql, bool persistent) : db_(db) {
  const unsigned flags = persistent ? SQLITE_PREPARE_PERSISTENT : 0;
  if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), flags, &stmt_, nullptr) !=
      SQLITE_OK)
    fail(db, std::string(sql));
}

SqlStatement SqlStatement::next(sqlite3* db, std::string_view& sql) {
  SqlStatement statement;
  statement.db_ = db;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement.stmt_, &tail) !=
      SQLITE_OK)
    fail(db, std::string(sql));
  sql.remove_prefix(static_cast<std::size_t>(tail - sql.data()));
  return statement;
}

SqlStatement::~SqlStatement() {
  sqlite3_finalize(stmt_);
}

SqlStatement::SqlStatement(SqlStatement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

SqlStatement& SqlStatement::operator=(SqlStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    db_ = other.db_;
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

void SqlStatement::bindAll(const std::vector<Value>& params, bool copyTexts) {
  const int count = sqlite3_bind_parameter_count(stmt_);
  for (int i = 1; i <= count; ++i) {
    if (static_cast<std::size_t>(i) <= params.size())
      bind(i, params[i - 1], copyTexts);
    else
      sqlite3_bind_null(stmt_, i);
  }
}

void SqlStatement::bind(int index, const Value& value, bool copyText) {
  int rc = SQLITE_OK;
  if (const auto* text = std::get_if<std::string>(&value))
    rc = sqlite3_bind_text(stmt_, index, text->data(), static_cast<int>(text->size()),
                           copyText ? SQLITE_TRANSIENT : SQLITE_STATIC);
  else if (const auto* whole = std::get_if<std::int64_t>(&value))
    rc = sqlite3_bind_int64(stmt_, index, *whole);
  else if (const auto* real = std::get_if<double>(&value))
    rc = sqlite3_bind_double(stmt_, index, *real);
  else
    rc = sqlite3_bind_null(stmt_, index);
  if (rc != SQLITE_OK) fail(db_, sqlite3_sql(stmt_));
}

bool SqlStatement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  const std::string message = sqlite3_errmsg(db_) + whereFailed(db_, sqlite3_sql(stmt_));
  const int code = sqlite3_errcode(db_);
  sqlite3_reset(stmt_);
  throw StoreError(message, code);
}

void SqlStatement::reset() {
  sqlite3_reset(stmt_);
}

int SqlStatement::columnCount() const {
  return sqlite3_column_count(stmt_);
}

void SqlStatement::read(int column, Value& into) const {
  // One call into the engine per column: each takes and releases the connection's mutex, which
  // costs as much as the read itself on a range of thousands of rows. The value's own accessors
  // take none; a connection is only ever used from one thread.
  sqlite3_value* value = sqlite3_column_value(stmt_, column);
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      into = static_cast<std::int64_t>(sqlite3_value_int64(value));
      return;
    case SQLITE_FLOAT:
      into = sqlite3_value_double(value);
      return;
    case SQLITE_NULL:
      into = std::monostate{};
      return;
    default: {  // text, and blobs as their bytes
      const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
      const std::string_view raw(bytes ? bytes : "",
                                 static_cast<std::size_t>(sqlite3_value_bytes(value)));
      // Texts carried over from older files of the suite are Windows-1252: every caller gets
      // UTF-8, while the stored bytes stay as they are.
      if (!isValidUtf8(raw))
        into = cp1252ToUtf8(raw);
      else if (auto* text = std::get_if<std::string>(&into))
        text->assign(raw);
      else
        into.emplace<std::string>(raw);
    }
  }
}

std::int64_t SqlStatement::readInt(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::vector<std::string> SqlStatement::columnNames(int from) const {
  std::vector<std::string> names;
  for (int i = from; i < columnCount(); ++i) names.emplace_back(sqlite3_column_name(stmt_, i));
  return names;
}

void SqlStatement::fail(sqlite3* db, const std::string& sql) {
  throw StoreError(sqlite3_errmsg(db) + whereFailed(db, sql.c_str()), sqlite3_errcode(db));
}

std::string SqlStatement::quote(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace platform
