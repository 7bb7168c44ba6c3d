#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <string_view>

#include "platform/SqlStatement.h"
#include "platform/Store.h"
#include "platform/StoreFile.h"
#include "platform/TextEncoding.h"

namespace platform {

namespace {

constexpr int kBusyTimeoutMs = 5000;
// A log of about 60 pages: reading it costs a run a fraction of a millisecond.
constexpr std::uintmax_t kFoldLogBytes = 256 * 1024;

// Skips blanks at `pos` and then `word` (ignoring case); false when the text does not go on so.
bool skipWord(std::string_view text, std::size_t& pos, std::string_view word) {
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  if (text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[pos + i])) != word[i]) return false;
  pos += word.size();
  return true;
}

// Jet writes "Delete * From T" where SQL has "DELETE FROM T"; everything else passes unchanged.
std::string fromJetDialect(const std::string& sql) {
  std::size_t pos = 0;
  if (!skipWord(sql, pos, "DELETE")) return sql;
  std::size_t from = pos;
  if (!skipWord(sql, from, "*") || !skipWord(sql, from, "FROM")) return sql;
  return "DELETE FROM" + sql.substr(from);
}

// SQL function cp1252(TEXT): the text as the suite's older programs stored it, in Windows-1252,
// so that a code the program shows in UTF-8 finds its row either way ("Codice IN (?1,
// cp1252(?1))"). Anything it cannot be written in passes unchanged.
void cp1252Function(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) != SQLITE_TEXT) return sqlite3_result_value(context, args[0]);
  const std::string_view text(reinterpret_cast<const char*>(sqlite3_value_text(args[0])),
                              static_cast<std::size_t>(sqlite3_value_bytes(args[0])));
  const std::string stored = isValidUtf8(text) ? utf8ToCp1252(text) : std::string(text);
  if (cp1252ToUtf8(stored) != text) return sqlite3_result_value(context, args[0]);
  sqlite3_result_text(context, stored.data(), static_cast<int>(stored.size()), SQLITE_TRANSIENT);
}

}  // namespace

bool StoreError::writeRefused() const {
  if (refused_) return true;
  switch (code_ & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:  // the journal cannot be made beside the file
      return true;
    default:
      return false;
  }
}

Database::Database(std::string path, std::unique_ptr<SQLite::Database> engine)
    : path_(std::move(path)), engine_(std::move(engine)), tableDefs_(*this) {}

Database::~Database() {
  if (!keepsLog_) return;
  // Every process reads the whole log once when it first opens the file, and a log folded in by
  // the engine's own checkpoints while it runs is not known as such by the next process, which
  // would fold it in again at each commit: so a long log is folded in and removed here, when
  // this is the last connection (the engine checks that).
  sqlite3* handle = engine_->getHandle();
  const char* log = sqlite3_filename_wal(sqlite3_db_filename(handle, "main"));
  std::error_code error;
  if (log && std::filesystem::file_size(log, error) >= kFoldLogBytes && !error)
    sqlite3_db_config(handle, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
}

std::unique_ptr<Database> Database::open(const std::string& path, const OpenOptions& options) {
  StoreFile::checkOpenable(path);
  std::unique_ptr<SQLite::Database> engine;
  try {
    // Read-write only: the engine must never create a missing database. URI names let links
    // attach their files with the same guarantee. A mirror of a Jet file is only ever read.
    const bool unchanging = options.shared && StoreFile::isUnchanging(path);
    const bool readOnly = unchanging || StoreFile::isMirrorFile(path);
    engine = std::make_unique<SQLite::Database>(
        StoreFile::uri(path, unchanging),
        (readOnly ? SQLite::OPEN_READONLY : SQLite::OPEN_READWRITE) | SQLITE_OPEN_URI,
        kBusyTimeoutMs);
    // The engine opens lazily; reading the schema now tells a database from any other file and
    // leaves the schema parsed for the first query.
    engine->exec("SELECT count(*) FROM sqlite_master");
    if (sqlite3_create_function_v2(engine->getHandle(), "cp1252", 1,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                   cp1252Function, nullptr, nullptr, nullptr) != SQLITE_OK)
      SqlStatement::fail(engine->getHandle());
    engine->exec("PRAGMA foreign_keys = ON");
    engine->exec("PRAGMA cache_size = -16384");
    // Pages read straight from the mapped file, without a copy and a system call each.
    engine->exec("PRAGMA mmap_size = 1073741824");
  } catch (const SQLite::Exception& e) {
    throw StoreError(std::string(e.what()) + ": " + path, e.getErrorCode());
  }
  std::unique_ptr<Database> db(new Database(path, std::move(engine)));
  if (options.links) db->tableDefs_.refresh();
  return db;
}

void Database::useWriteAheadLog() {
  try {
    // Named: a journal-mode pragma without a schema reaches every attached file as well, and
    // the linked files are shared ones that must keep their rollback journal.
    engine_->exec("PRAGMA main.journal_mode = WAL");
    engine_->exec("PRAGMA main.synchronous = NORMAL");
    // The log outlives the connection instead of being folded into the file at every close:
    // that would make each run wait for the disk twice, and the next run would make the log
    // again and wait for the disk and its folder once more. What the log holds is committed
    // whole all the same. It is folded in when a connection closes on a long one (~Database).
    if (sqlite3_db_config(engine_->getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr) !=
        SQLITE_OK)
      SqlStatement::fail(engine_->getHandle());
    keepsLog_ = true;
  } catch (const SQLite::Exception& e) {
    throw StoreError(std::string(e.what()) + ": " + path_, e.getErrorCode());
  }
}

bool Database::leaveWriteAheadLog(const std::string& path) {
  if (!StoreFile::isWriteAheadLogFile(path)) return true;
  sqlite3* handle = nullptr;
  // No busy wait: a file another program holds is simply left as it is for now.
  bool done = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
  if (done) {
    sqlite3_stmt* statement = nullptr;
    done = sqlite3_prepare_v2(handle, "PRAGMA main.journal_mode = DELETE", -1, &statement,
                              nullptr) == SQLITE_OK &&
           sqlite3_step(statement) == SQLITE_ROW;
    const auto* mode = done ? sqlite3_column_text(statement, 0) : nullptr;
    done = mode && std::string_view(reinterpret_cast<const char*>(mode)) == "delete";
    sqlite3_finalize(statement);
  }
  sqlite3_close(handle);
  return done;
}

SqlStatement Database::prepare(std::string_view sql, bool persistent) {
  return prepare([&] { return SqlStatement(engine_->getHandle(), sql, persistent); });
}

SqlStatement Database::prepare(const std::function<SqlStatement()>& make) {
  return tableDefs_.attachments_.prepare(make);
}

PreparedQuery& Database::kept(const std::string& sql) {
  auto& query = kept_[sql];
  if (!query) query = std::make_unique<PreparedQuery>(*this, sql);
  return *query;
}

std::vector<Row> Database::snapshot(const std::string& sql, const std::vector<Value>& params) {
  SqlStatement statement = prepare(sql);
  statement.bindAll(params, false);
  std::vector<Row> rows;
  std::shared_ptr<const std::vector<std::string>> names;
  while (statement.step()) {
    if (!names) names = std::make_shared<const std::vector<std::string>>(statement.columnNames());
    std::vector<Value> values(names->size());
    for (std::size_t i = 0; i < values.size(); ++i) statement.read(static_cast<int>(i), values[i]);
    rows.emplace_back(names, std::move(values));
  }
  return rows;
}

int Database::execute(const std::string& sql, const std::vector<Value>& params) {
  const std::string text = fromJetDialect(sql);
  std::string_view rest = text;
  sqlite3* handle = engine_->getHandle();
  int changed = 0;
  while (!rest.empty()) {
    const std::string_view from = rest;
    SqlStatement statement = prepare([&] {
      rest = from;
      return SqlStatement::next(handle, rest);
    });
    if (statement.empty()) break;
    statement.bindAll(params, false);
    while (statement.step()) {
    }
    changed += sqlite3_changes(handle);
  }
  return changed;
}

std::unique_ptr<TableCursor> Database::openTable(const std::string& table) {
  return std::make_unique<TableCursor>(*this, table);
}

Database::Transaction::Transaction(Database& db, bool writing) : db_(db) {
  sqlite3* handle = db_.engine().getHandle();
  nested_ = sqlite3_get_autocommit(handle) == 0;
  const char* sql = nested_ ? "SAVEPOINT statind_work" : writing ? "BEGIN IMMEDIATE" : "BEGIN";
  if (sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
    SqlStatement::fail(handle, sql);
}

Database::Transaction::~Transaction() {
  if (done_) return;
  const char* sql = nested_ ? "ROLLBACK TO statind_work; RELEASE statind_work" : "ROLLBACK";
  sqlite3_exec(db_.engine().getHandle(), sql, nullptr, nullptr, nullptr);
}

void Database::Transaction::commit() {
  sqlite3* handle = db_.engine().getHandle();
  const char* sql = nested_ ? "RELEASE statind_work" : "COMMIT";
  if (sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
    SqlStatement::fail(handle, sql);
  done_ = true;
}

Database::ReadScope::ReadScope(Database& db) : db_(db) {
  sqlite3* handle = db_.engine().getHandle();
  if (sqlite3_get_autocommit(handle) == 0) return;
  if (sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
    SqlStatement::fail(handle, "BEGIN");
  began_ = true;
}

Database::ReadScope::~ReadScope() {
  if (!began_) return;
  sqlite3* handle = db_.engine().getHandle();
  if (sqlite3_get_autocommit(handle) != 0) return;  // the engine already ended it
  if (sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
    sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace platform
