// The suite's databases on SQLite. A Database opens an existing file only; queries take bound
// parameters; a TableCursor positions on a named index by seek; TableDefs keeps the links
// (attached tables) of a work database, persisted in the file and resolvable by name in the
// queries run on it. Every failure throws StoreError carrying the engine's message.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/LinkAttachments.h"
#include "platform/SeekCursor.h"

namespace SQLite {
class Database;
}

namespace platform {

class SqlStatement;

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // `code` is the engine's result code (0 when the failure was found by the store itself).
  StoreError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  // A write the store refused (for a store without result codes of its own, a server).
  static StoreError refusal(const std::string& message) {
    StoreError error(message, 0);
    error.refused_ = true;
    return error;
  }
  int code() const { return code_; }
  // True when the failure is a write refused for now or for good (another connection is
  // writing the file; the file, its folder or the connection is read-only), not a fault of the
  // file or of the statement.
  bool writeRefused() const;

 private:
  int code_ = 0;
  bool refused_ = false;
};

bool isNull(const Value& value);
// The value as text as VB would print it ("" for Null, numbers in plain C form).
std::string valueText(const Value& value);

class Row {
 public:
  Row(std::shared_ptr<const std::vector<std::string>> names, std::vector<Value> values);
  // Field by column name (case-insensitive); throws StoreError when there is no such column.
  const Value& operator[](std::string_view name) const;
  const Value& at(std::size_t index) const { return values_.at(index); }
  std::size_t size() const { return values_.size(); }
  const std::vector<std::string>& names() const { return *names_; }

 private:
  std::shared_ptr<const std::vector<std::string>> names_;
  std::vector<Value> values_;
};

class Database;

// A statement prepared once and run many times with new parameters.
class PreparedQuery {
 public:
  PreparedQuery(Database& db, const std::string& sql);
  ~PreparedQuery();
  PreparedQuery(const PreparedQuery&) = delete;
  PreparedQuery& operator=(const PreparedQuery&) = delete;
  // Runs with `params` bound to ?1, ?2... and returns every row (a snapshot).
  std::vector<Row> run(const std::vector<Value>& params = {});
  // Runs and returns the first row only, or nullopt.
  std::optional<Row> first(const std::vector<Value>& params = {});

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A table-type recordset: positioned by seek on its current index, read field by field.
class TableCursor : public SeekCursor {
 public:
  TableCursor(Database& db, const std::string& table);
  ~TableCursor() override;
  // Selects the index by name (as created in the file). Throws when the table has no such index.
  void setIndex(const std::string& indexName);
  // Seeks on the first two columns of the current index (texts compare as the index collates
  // them); see SeekCursor.
  bool seek(SeekOp op, const Value& key1, const Value& key2) override;
  bool noMatch() const override;
  const Value& field(std::string_view name) const override;
  // The identity is the record's rowid.
  Value identity() const override;
  bool seekPast(const Value& identity, bool backward) override;
  void deleteCurrent() override;
  void deleteRecord(const Value& identity) override;
  // A Database::ReadScope on the table's database.
  std::unique_ptr<Hold> hold() override;
  // Ties are in rowid order, as the index holds them.
  std::optional<SeriesSpan> readSeries(const std::string& key1, const std::string& after,
                                       const std::string& upTo,
                                       const std::string& pointKey) override;
  // The database the table belongs to.
  Database& database() const;
  // The first key as the table stores it and the seeks look for it: a code shown in UTF-8 that
  // the table holds only in Windows-1252, as the suite's older programs wrote it, in that form.
  Value storedKey(const std::string& key1);
  // The engine's query plan of the statement behind `op` (one line per step), so that a test
  // can tell that a seek is answered from the index.
  std::string seekPlan(SeekOp op);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// One table definition of a database: a local table, a system object, or a link.
struct TableDef {
  static constexpr std::int64_t kAttachedTable = 0x40000000;
  static constexpr std::int64_t kSystemObject = static_cast<std::int64_t>(0x80000002u);
  std::string name;
  std::int64_t attributes = 0;
  std::string connect;          // ";DATABASE=" + path for a link, "" otherwise
  std::string sourceTableName;  // the table's name in the linked file
};

// The TableDefs collection: local tables (attributes 0), the store's own bookkeeping (system
// objects) and the links. Links persist in the database file and become queryable under their
// name after append or refresh, and whenever the database is opened.
class TableDefs {
 public:
  explicit TableDefs(Database& db) : db_(db) {}
  int count();
  // 0-based, in the order of list(); throws when out of range. Each call lists the collection
  // anew: to go through it, take list() once.
  TableDef item(int position);
  // Every definition, ordered by name without regard to case (a link before a local table of the
  // same name).
  std::vector<TableDef> list();
  std::optional<TableDef> find(const std::string& name);
  // Deletes the definition (and for a local table, the table). Throws when there is none, and
  // for the store's own bookkeeping table.
  void remove(const std::string& name);
  // Adds a link. Throws when a definition of that name exists, when the connect string names no
  // openable database, or when that database has no table `sourceTableName`.
  void append(const TableDef& def);
  // Makes `def` the link of its name: a link of that name to the same file (the same connect
  // string) and table is kept as it is once its table is found there; any other definition of
  // that name is removed and `def` appended. Throws as append does.
  void relink(const TableDef& def);
  // Makes every persisted link queryable again (a link whose file is gone stays listed). Each
  // file is attached once; views already showing what their links name are left alone. On a
  // connection that has attached no file yet, that is done when a statement prepared through
  // the Database first needs it (one that reads or writes outside the work database's own file,
  // a pragma, or one that cannot be prepared without the links).
  void refresh();

 private:
  friend class Database;  // prepares its statements through attachments_
  // refresh() done now.
  void show();
  // True when a link has the name of a local table or view (its view would hide that one).
  bool shadowsLocalTable();
  bool hasLinksTable();
  std::vector<TableDef> links();
  void removeLink(const std::string& name);
  void detachUnused();

  Database& db_;
  LinkAttachments attachments_{db_};
};

// How Database::open opens a file.
struct OpenOptions {
  // Make the persisted links queryable at once. Without, TableDefs::refresh() does it later:
  // reading a linked file waits for its lock, which is better done once that file has opened
  // (a locked file would otherwise be waited for twice).
  bool links = true;
  // A file the suite's programs share: one that can only be read as it stands
  // (StoreFile::isUnchanging) is opened read-only, as an unchanging file.
  bool shared = false;
};

class Database {
 public:
  // Opens an existing SQLite file read-write (never creating one; a mirror of a Jet file
  // read-only, so that writing it fails as on a read-only file), waits up to a few seconds
  // for a lock another program holds, and makes its persisted links queryable (those that
  // cannot be resolved are skipped). Throws StoreError when the file does not exist, when it is
  // a Jet/ACE file ("format not supported", naming the file), or when it is not a database.
  static std::unique_ptr<Database> open(const std::string& path, const OpenOptions& options = {});
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& path() const { return path_; }
  // Switches this file (never the files its links attach) to a write-ahead log with normal
  // syncing, so that a commit no longer waits for the disk twice. A power cut may then lose the
  // last transactions, never the file's integrity. The log (with its index) stays beside the
  // file after the connection closes, so the file alone is not the whole database. Meant for a
  // database on the operator's own disk whose content can be rebuilt (the work database): the
  // log does not work on network shares. Throws StoreError on failure.
  void useWriteAheadLog();
  // Puts the file at `path` back to the rollback journal when it is in write-ahead log mode,
  // which a shared file must not be. Only when that can be done at once: a file that is
  // missing, read-only or held by another connection is left as it is (it still reads). True
  // when the file is now in rollback journal mode. Never throws; call it before any connection
  // of this program has the file open.
  static bool leaveWriteAheadLog(const std::string& path);
  // A read-only snapshot of a query's rows, `params` bound to ?1, ?2...
  std::vector<Row> snapshot(const std::string& sql, const std::vector<Value>& params = {});
  // Runs an action query and returns the number of rows changed. Jet's "Delete * From" is
  // accepted.
  int execute(const std::string& sql, const std::vector<Value>& params = {});
  std::unique_ptr<TableCursor> openTable(const std::string& table);
  TableDefs& tableDefs() { return tableDefs_; }

  // All-or-nothing work: commit() makes it permanent; destruction without commit rolls back.
  // Inside a transaction already open it is a savepoint: its work becomes part of the outer one.
  // `writing`: the write lock is taken at once (waited for as any lock), so that what the work
  // reads first stays true until it commits; otherwise at the first write.
  class Transaction {
   public:
    explicit Transaction(Database& db, bool writing = false);
    ~Transaction();
    void commit();

   private:
    Database& db_;
    bool done_ = false;
    bool nested_ = false;  // a savepoint inside a transaction already open
  };

  // Holds one transaction for the length of a computation, so that the engine takes the file
  // locks once instead of at every statement. Inside an open transaction it does nothing. What
  // the computation changed is committed when the scope ends, on every way out (the changes
  // are complete statements); a failed commit is rolled back. Keep it short: other programs
  // cannot write the file while it is held.
  class ReadScope {
   public:
    explicit ReadScope(Database& db);
    ~ReadScope();
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

   private:
    Database& db_;
    bool began_ = false;
  };

  SQLite::Database& engine() { return *engine_; }
  // The first statement of `sql` prepared on this database (`persistent`: run many times), with
  // the links made queryable first when it needs them (TableDefs::refresh). Throws StoreError
  // when it does not compile.
  SqlStatement prepare(std::string_view sql, bool persistent = false);
  // The statement `make` prepares on this database's connection, likewise.
  SqlStatement prepare(const std::function<SqlStatement()>& make);
  // `sql` prepared once on this connection and kept while it is open: for the statements every
  // run makes, which a window makes again at each step of the user.
  PreparedQuery& kept(const std::string& sql);

 private:
  Database(std::string path, std::unique_ptr<SQLite::Database> engine);
  std::string path_;
  std::unique_ptr<SQLite::Database> engine_;
  TableDefs tableDefs_;
  // After the engine: finalized before it closes.
  std::map<std::string, std::unique_ptr<PreparedQuery>, std::less<>> kept_;
  bool keepsLog_ = false;  // useWriteAheadLog: the log stays beside the file between runs
};

}  // namespace platform
